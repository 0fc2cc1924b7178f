// Takes the README's pictures: opens the real window on a prepared demo installation, shows each tab,
// presses the two long commands' buttons as a user would, answers every question with its first
// button, and saves each tab and each message box as a PNG. Run by scripts/screenshots under Xvfb.
//   lumivex-snimke OUTPUT_FOLDER      (started from the demo installation's folder)

#include "shell/Aplikacija.h"
#include "shell/MainWindow.h"
#include "shell/Pokretanje.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

void počekaj(int ms)
{
    QEventLoop petlja;
    QTimer::singleShot(ms, &petlja, &QEventLoop::quit);
    petlja.exec();
}

bool snimi(QWidget* w, const QString& putanja)
{
    const bool ok = w->grab().save(putanja);
    std::printf("%s %s\n", ok ? "snimljeno" : "NIJE snimljeno", qPrintable(putanja));
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Upotreba: lumivex-snimke IZLAZNA_DIREKTORIJA\n");
        return 2;
    }
    const QString izlaz = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    QDir().mkpath(izlaz);

    QTranslator prijevod;
    if (prijevod.load(QLocale(QLocale::Croatian, QLocale::Croatia), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&prijevod);

    Aplikacija aplikacija;
    MainWindow prozor(aplikacija.okruzenje(), [] { QApplication::quit(); });
    aplikacija.dijalozi().setParent(&prozor);
    UčitajProzor(aplikacija.okruzenje());
    prozor.show();
    počekaj(500);

    auto* kartice = prozor.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    auto* instaliraj = prozor.findChild<QPushButton*>(QStringLiteral("cmdDownloadAndUpdate"));
    auto* distribuiraj = prozor.findChild<QPushButton*>(QStringLiteral("cmdDownlNaLokaciju"));
    if (!kartice || !instaliraj || !distribuiraj) {
        std::fprintf(stderr, "Prozor nema očekivane kontrole.\n");
        return 1;
    }

    bool sveSnimljeno = snimi(&prozor, izlaz + QStringLiteral("1-prije-azuriranja.png"));

    // Every message box is saved once, then answered with its first button (Da, or OK).
    int kutija = 0;
    QTimer odgovarač;
    QObject::connect(&odgovarač, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        počekaj(200);
        sveSnimljeno &= snimi(box, izlaz + QStringLiteral("poruka-%1.png").arg(++kutija));
        const QList<QAbstractButton*> gumbi = box->buttons();
        QAbstractButton* prvi =
            box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes) : gumbi.value(0);
        if (prvi)
            prvi->click();
    });
    odgovarač.start(300);

    instaliraj->click();
    počekaj(500);
    const char* imena[4] = {"2-potrebna-azuriranja.png", "3-poruke-o-akcijama.png", "4-poruke-o-greskama.png",
                            "5-kopiranje-na-lokaciju.png"};
    for (int i = 0; i < 3; ++i) {
        kartice->setCurrentIndex(i);
        počekaj(300);
        sveSnimljeno &= snimi(&prozor, izlaz + QString::fromLatin1(imena[i]));
    }

    kartice->setCurrentIndex(3);
    počekaj(300);
    distribuiraj->click();
    počekaj(500);
    sveSnimljeno &= snimi(&prozor, izlaz + QString::fromLatin1(imena[3]));
    return sveSnimljeno ? 0 : 1;
}
