#include "shell/QtDialogs.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <vector>

namespace {

// Plays the user on whatever modal dialog is open: each step answers one dialog, in order.
class Korisnik {
public:
    using Korak = std::function<void(QWidget*)>;

    explicit Korisnik(std::vector<Korak> koraci) : koraci_(std::move(koraci))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dijalog = QApplication::activeModalWidget();
            // A dialog nobody expected is closed, so a failing test ends instead of waiting.
            if (dijalog && sljedeći_ >= koraci_.size()) {
                ++neočekivani_;
                QMetaObject::invokeMethod(dijalog, "reject");
                return;
            }
            if (!dijalog || dijalog == zadnji_)
                return;
            zadnji_ = dijalog;
            koraci_[sljedeći_++](dijalog);
        });
        timer_.start(10);
    }
    size_t odigrano() const { return sljedeći_; }
    int neočekivani() const { return neočekivani_; }
    // A dialog answered stays the same object when it is shown again; let it be answered again.
    void zaboravi() { zadnji_ = nullptr; }

private:
    std::vector<Korak> koraci_;
    size_t sljedeći_ = 0;
    int neočekivani_ = 0;
    QWidget* zadnji_ = nullptr;
    QTimer timer_;
};

// Types a path into the dialog's file name box, as the user would.
void upiši(QFileDialog* dijalog, const QString& putanja)
{
    auto* polje = dijalog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(polje, nullptr);
    polje->setText(putanja);
}

// The folder browse lets any file name be typed, as long as its folder exists: a path to a folder
// that is not there is refused with a warning and the dialog is shown again.
TEST(FileDialog, FolderOfTheChosenFileMustExist)
{
    QTemporaryDir mapa;
    ASSERT_TRUE(mapa.isValid());
    QtDialogs dijalozi;
    Dialogs::FileRequest zahtjev;
    zahtjev.title = QStringLiteral("Izaberite uređaj i direktoriju gdje se nalaze novi Lumivex programi");
    zahtjev.filter = QStringLiteral("Verzije (*.txt)");
    zahtjev.defaultSuffix = QStringLiteral("txt");
    zahtjev.fileName = QStringLiteral("Verzije.txt");
    zahtjev.initialFolder = mapa.path();
    zahtjev.mustExist = false;

    QString upozorenje;
    Korisnik* korisnik = nullptr;
    Korisnik k({
        [&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            upiši(d, mapa.path() + QStringLiteral("/nema/Verzije.txt"));
            QMetaObject::invokeMethod(d, "accept");
        },
        [&](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(b, nullptr);
            upozorenje = b->text();
            korisnik->zaboravi();
            b->accept();
        },
        [&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            upiši(d, mapa.path() + QStringLiteral("/Novo.txt"));
            QMetaObject::invokeMethod(d, "accept");
        },
    });
    korisnik = &k;

    const QString izabrano = dijalozi.chooseFile(zahtjev);

    EXPECT_EQ(k.odigrano(), 3u);
    EXPECT_EQ(k.neočekivani(), 0);
    EXPECT_EQ(upozorenje,
              QStringLiteral("Putanja ") + mapa.path() +
                  QStringLiteral("/nema ne postoji.\nProvjerite je li putanja ispravno upisana."));
    EXPECT_EQ(izabrano, mapa.path() + QStringLiteral("/Novo.txt"));
}

}  // namespace
