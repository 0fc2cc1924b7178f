#include "shell/QtDialogs.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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

// The proxy login: the user types a name and a password and confirms, or cancels; the second question
// says the first answer was refused.
TEST(ProxyLoginDialog, TypedAnswerIsReturnedAndCancelGivesNothing)
{
    QtDialogs dijalozi;
    QString pitanje;
    QString drugoPitanje;
    QString naslov;
    Korisnik* igrač = nullptr;
    Korisnik k({
        [&](QWidget* w) {
            naslov = w->windowTitle();
            pitanje = w->findChild<QLabel*>()->text();
            auto* korisnik = w->findChild<QLineEdit*>(QStringLiteral("korisnik"));
            auto* lozinka = w->findChild<QLineEdit*>(QStringLiteral("lozinka"));
            ASSERT_NE(korisnik, nullptr);
            ASSERT_NE(lozinka, nullptr);
            EXPECT_EQ(lozinka->echoMode(), QLineEdit::Password);
            korisnik->setText(QStringLiteral("ured"));
            lozinka->setText(QStringLiteral("tajna šifra"));
            auto* gumbi = w->findChild<QDialogButtonBox*>();
            EXPECT_EQ(gumbi->button(QDialogButtonBox::Ok)->text(), QStringLiteral("U redu"));
            // the second dialog may be made at the same address
            igrač->zaboravi();
            gumbi->button(QDialogButtonBox::Ok)->click();
        },
        [&](QWidget* w) {
            drugoPitanje = w->findChild<QLabel*>()->text();
            w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        },
    });
    igrač = &k;

    const std::optional<Dialogs::Credentials> prvi =
        dijalozi.askProxyCredentials(QStringLiteral("proxy.ured:3128"), false);
    const std::optional<Dialogs::Credentials> drugi =
        dijalozi.askProxyCredentials(QStringLiteral("proxy.ured:3128"), true);

    ASSERT_TRUE(prvi.has_value());
    EXPECT_EQ(prvi->user, QStringLiteral("ured"));
    EXPECT_EQ(prvi->password, QStringLiteral("tajna šifra"));
    EXPECT_FALSE(drugi.has_value());
    EXPECT_EQ(naslov, QStringLiteral("Prijava na proxy poslužitelj"));
    EXPECT_EQ(pitanje, QStringLiteral("Proxy poslužitelj proxy.ured:3128 traži korisničko ime i lozinku."));
    EXPECT_EQ(drugoPitanje,
              QStringLiteral("Proxy poslužitelj proxy.ured:3128 nije prihvatio korisničko ime i "
                             "lozinku. Upišite ih ponovno."));
    EXPECT_EQ(k.odigrano(), 2u);
    EXPECT_EQ(k.neočekivani(), 0);
}

}  // namespace
