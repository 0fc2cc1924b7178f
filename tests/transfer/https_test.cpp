#include "install/PripremaVerzije.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestCertificates.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"
#include "transfer/Dohvat.h"
#include "transfer/DownInet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QSslCertificate>
#include <QSslConfiguration>

namespace {

// The Update folder's files, hidden ones included so that a left-over partial file shows.
QStringList filesOtherThanTheLog(const TestOkruzenje& t)
{
    QStringList files = QDir(t.stanje.PutanjaUpdate).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    files.removeAll(QStringLiteral("Update.log"));
    return files;
}

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The test's certificate authority joins the system's trusted ones for as long as the object lives.
class TrustedAuthority {
public:
    explicit TrustedAuthority(const QByteArray& certificate)
        : saved_(QSslConfiguration::defaultConfiguration())
    {
        QSslConfiguration trusting = saved_;
        trusting.addCaCertificates(QSslCertificate::fromData(certificate, QSsl::Pem));
        QSslConfiguration::setDefaultConfiguration(trusting);
    }
    ~TrustedAuthority() { QSslConfiguration::setDefaultConfiguration(saved_); }

private:
    QSslConfiguration saved_;
};

class Https : public ::testing::Test {
protected:
    TestCertificates certificates;
    TrustedAuthority trusted{certificates.authority()};
    TestOkruzenje t;
};

// From a program folder whose check finds updates on an https server to every needed file unpacked
// and verified in the Update folder.
TEST_F(Https, ServerWithATrustedCertificateWorksFromCheckToFetch)
{
    HttpServer server(t.root(QStringLiteral("server")), certificates.signedFor(QStringLiteral("127.0.0.1")));
    const QMap<QString, QByteArray> izdanje = ObjaviStarijojInstalaciji(t, server.folder());
    ASSERT_FALSE(izdanje.isEmpty());
    t.stanje.PrimarniServer = server.baseUrl();
    ASSERT_TRUE(t.stanje.PrimarniServer.startsWith(QStringLiteral("https://127.0.0.1:")));

    ASSERT_TRUE(PripremiVerzijaTXT(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();
    ASSERT_EQ(t.model.redovi().size(), 2);
    ASSERT_TRUE(SnimitiSaInterneta(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_THAT(t.dijalozi.texts(), IsEmpty());
    EXPECT_EQ(t.read(QStringLiteral("Update/Program.exe")), izdanje[QStringLiteral("Program.exe")]);
    EXPECT_EQ(t.read(QStringLiteral("Update/Pomoc.chm")), izdanje[QStringLiteral("Pomoc.chm")]);
}

struct RefusedCase {
    const char* name;
    std::function<TlsIdentity(const TestCertificates&)> identity;
    QString reason;
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RefusedCertificate : public Https, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedCertificate, IsToldInCroatianAndNothingIsWritten)
{
    const RefusedCase& c = GetParam();
    HttpServer server(t.root(QStringLiteral("server")), c.identity(certificates));
    t.write(server.folder() + QStringLiteral("/Verzije.txt"), "A.exe;20;2;0;1;1;\r\n");
    t.stanje.PrimarniServer = server.baseUrl();
    const QString cilj = t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt");
    t.write(cilj, "stara");

    const bool dohvaćeno = DownInet(t.o, QStringLiteral("Verzije.txt"), t.stanje.PutanjaUpdate,
                                    HttpTransfer::Limits(NajvećaKontrolnaDatoteka))
                               .uspjeh;

    const QString razlog =
        QStringLiteral("Sigurna veza s poslužiteljem nije uspostavljena: ") + c.reason + u'.';
    EXPECT_FALSE(dohvaćeno);
    EXPECT_THAT(t.dijalozi.texts(), ElementsAre(QStringLiteral("Greška: ") + razlog));
    EXPECT_EQ(t.read(cilj), QByteArray("stara"));
    EXPECT_THAT(filesOtherThanTheLog(t), ElementsAre(QStringLiteral("Verzije.txt")));
    EXPECT_THAT(server.requests(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    , RefusedCertificate,
    ::testing::Values(
        RefusedCase{"self_signed",
                    [](const TestCertificates& c) { return c.selfSigned(QStringLiteral("127.0.0.1")); },
                    QStringLiteral("certifikat poslužitelja je samopotpisan i nije pouzdan")},
        RefusedCase{
            "for_another_host",
            [](const TestCertificates& c) { return c.signedFor(QStringLiteral("drugi.posluzitelj.test")); },
            QStringLiteral("certifikat ne glasi na ime poslužitelja")},
        RefusedCase{"expired",
                    [](const TestCertificates& c) { return c.signedFor(QStringLiteral("127.0.0.1"), -1); },
                    QStringLiteral("certifikat poslužitelja je istekao")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Https, RedirectFromHttpsToHttpIsRefused)
{
    HttpServer plain;
    plain.reply(QStringLiteral("Verzije.txt"), 200, "nesigurno");
    HttpServer server(QString(), certificates.signedFor(QStringLiteral("127.0.0.1")));
    server.redirect(QStringLiteral("Verzije.txt"), plain.baseUrl() + QStringLiteral("Verzije.txt"));
    t.stanje.PrimarniServer = server.baseUrl();

    EXPECT_FALSE(DownInet(t.o, QStringLiteral("Verzije.txt"), t.stanje.PutanjaUpdate,
                          HttpTransfer::Limits(NajvećaKontrolnaDatoteka)));

    EXPECT_THAT(t.dijalozi.texts(),
                ElementsAre(QStringLiteral("Greška: Preusmjeravanje sa https na http nije dopušteno.")));
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt")));
    EXPECT_THAT(plain.requests(), IsEmpty());
}

}  // namespace
