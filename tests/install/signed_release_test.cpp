#include "core/ProvjeraIzdanja.h"
#include "distribution/Distribucija.h"
#include "install/DownloadAndUpdate.h"
#include "install/PripremaVerzije.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"
#include "support/TestPotpis.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

using Answer = Dialogs::Answer;

// Another valid 7-Zip archive of Program.exe with exactly `veličina` bytes, so that every size check
// passes: stored without compression, its size follows the content's length.
QByteArray ArhivaIsteVeličine(const QString& radnaMapa, qint64 veličina)
{
    auto spakiraj = [&](qint64 duljina) {
        QDir radna(radnaMapa);
        radna.removeRecursively();
        QDir().mkpath(radnaMapa);
        QFile f(radna.filePath(QStringLiteral("Program.exe")));
        if (!f.open(QIODevice::WriteOnly))
            return QByteArray();
        f.write(QByteArray(duljina, 'X'));
        f.close();
        QProcess p;
        p.setWorkingDirectory(radnaMapa);
        p.start(QStringLiteral("7za"),
                {QStringLiteral("a"), QStringLiteral("-t7z"), QStringLiteral("-mx0"), QStringLiteral("-y"),
                 QStringLiteral("a.7z"), QStringLiteral("Program.exe")});
        p.waitForFinished(60000);
        QFile a(radna.filePath(QStringLiteral("a.7z")));
        return a.open(QIODevice::ReadOnly) ? a.readAll() : QByteArray();
    };
    qint64 duljina = veličina - (spakiraj(1000).size() - 1000);
    for (int pokušaj = 0; pokušaj < 8 && duljina > 0; ++pokušaj) {
        const QByteArray arhiva = spakiraj(duljina);
        if (arhiva.size() == veličina)
            return arhiva;
        duljina += veličina - arhiva.size();
    }
    return {};
}

// A release published with the publishing tool and signed by the vendor with the real minisign tool,
// served by a local download server from the same folder that serves as the network folder; the
// program folder trusts the key and holds older versions of Program.exe and Pomoc.chm.
class SignedRelease : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        ključ = new TestKljuč;
        ASSERT_TRUE(
            ključ->napravi(QDir::tempPath() +
                           QStringLiteral("/lumivex-izdanje-%1").arg(QCoreApplication::applicationPid())));
    }
    static void TearDownTestSuite()
    {
        QDir(QFileInfo(ključ->javni).path()).removeRecursively();
        delete ključ;
    }

    SignedRelease()
    {
        datoteke = ObjaviStarijojInstalaciji(t, izvor());
        EXPECT_FALSE(datoteke.isEmpty());
        potpiši(1796000000);
        t.write(QStringLiteral("Verzije.pub"), ključ->datotekaJavnog());
        t.write(QStringLiteral("Program.exe"), "stari program");
        t.stanje.PrimarniServer = server.baseUrl();
        t.stanje.SekundarniServer = HttpServer::unreachableBaseUrl();
        t.model.postaviTxtLokacija(0, izvor() + u'/');
    }

    QString izvor() const { return t.root(QStringLiteral("izvor")); }
    QString naIzvoru(const QString& ime) const { return izvor() + u'/' + ime; }
    void potpiši(qint64 vrijeme)
    {
        ASSERT_TRUE(PotpišiMinisignom(*ključ, naIzvoru(QStringLiteral("Verzije.txt")),
                                      QStringLiteral("timestamp:%1\tfile:Verzije.txt").arg(vrijeme)));
    }
    void zamijeniArhivu(const QString& mapa)
    {
        const QString putanja = mapa + QStringLiteral("Program.7z");
        const QByteArray podmetnuta =
            ArhivaIsteVeličine(t.root(QStringLiteral("podmetanje")), t.read(putanja).size());
        ASSERT_FALSE(podmetnuta.isEmpty());
        ASSERT_NE(podmetnuta, t.read(putanja));
        t.write(putanja, podmetnuta);
    }
    QStringList grid() const
    {
        QStringList imena;
        for (const RedMreže& r : t.model.redovi()) imena << r.polja[0];
        return imena;
    }
    QString zadnjaPoruka() const
    {
        return t.dijalozi.boxes().empty() ? QString() : t.dijalozi.boxes().back().text;
    }
    bool ništaInstalirano() const
    {
        return t.read(QStringLiteral("Program.exe")) == "stari program" &&
               !t.exists(t.stanje.PutanjaHelp + QStringLiteral("Pomoc.chm")) && !t.exists(ImePotpisa);
    }

    static inline TestKljuč* ključ = nullptr;
    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("izvor"))};
    QMap<QString, QByteArray> datoteke;
};

struct SourceCase {
    const char* name;
    int opcija;
    QString izvor;  // how the messages name the control file; {S} the server, {M} the network folder
};

class SignedSource : public SignedRelease, public ::testing::WithParamInterface<SourceCase> {
public:
    SignedSource() { t.model.postaviOptLokacija(GetParam().opcija); }
    QString kontrolna() const
    {
        return QString(GetParam().izvor)
            .replace(QStringLiteral("{S}"), server.baseUrl())
            .replace(QStringLiteral("{M}"), izvor() + u'/');
    }
};

const SourceCase kSources[] = {{"Internet", 0, QStringLiteral("{S}Verzije.txt")},
                               {"NetworkFolder", 1, QStringLiteral("{M}Verzije.txt")}};

TEST_P(SignedSource, InstallsAndKeepsTheSignatureBesideTheControlFile)
{
    ASSERT_TRUE(PripremiVerzijaTXT(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(grid(), QStringList({QStringLiteral("Program.exe"), QStringLiteral("Pomoc.chm")}));
    t.dijalozi.answer({Answer::Yes});

    cmdDownloadAndUpdate_Click(t.o);

    EXPECT_EQ(zadnjaPoruka(), QStringLiteral("Uspješno instalirani novi programi!"))
        << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(t.read(QStringLiteral("Program.exe")), datoteke[QStringLiteral("Program.exe")]);
    EXPECT_EQ(t.read(QStringLiteral("Verzije.txt")), t.read(naIzvoru(QStringLiteral("Verzije.txt"))));
    EXPECT_EQ(t.read(ImePotpisa), t.read(naIzvoru(ImePotpisa)));
    EXPECT_TRUE(grid().isEmpty());
    EXPECT_TRUE(t.log().contains(
        QStringLiteral("Provjera izdanja - SHA-256 sažetak arhive Program.7z je ispravan.")));
}

TEST_P(SignedSource, SwappedArchiveOfTheSameSizeIsRefusedAndRemoved)
{
    ASSERT_TRUE(PripremiVerzijaTXT(t.o));
    zamijeniArhivu(izvor() + u'/');

    // The swapped archive is refused before the question comes.
    cmdDownloadAndUpdate_Click(t.o);

    const QString poruka = QStringLiteral("SHA-256 sažetak arhive ") + t.stanje.PutanjaUpdate +
                           QStringLiteral(
                               "Program.7z nije onaj iz potpisane datoteke Verzije.txt: arhiva nije ona "
                               "koju je izdavač objavio. Arhiva je obrisana. Prekida se ažuriranje!");
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(zadnjaPoruka(), poruka);
    EXPECT_TRUE(t.stanje.PorukeGrešaka.contains(poruka));
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Program.7z")));
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Program.exe")));
    EXPECT_TRUE(ništaInstalirano());
}

// The network folder is writable by every office computer: a control file changed there after the
// listing is checked again when the fetch copies it, and nothing is installed.
TEST_F(SignedRelease, ControlFileChangedInTheNetworkFolderAfterTheListingIsRefused)
{
    t.model.postaviOptLokacija(1);
    ASSERT_TRUE(PripremiVerzijaTXT(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();
    QByteArray b = t.read(naIzvoru(QStringLiteral("Verzije.txt")));
    t.write(naIzvoru(QStringLiteral("Verzije.txt")), b.replace("Program.exe;20;2;0", "Program.exe;20;9;0"));

    // Nothing is scripted: the refusal comes before the question whether to install.
    cmdDownloadAndUpdate_Click(t.o);

    const QString poruka = QStringLiteral("Potpis datoteke ") + naIzvoru(QStringLiteral("Verzije.txt")) +
                           QStringLiteral(
                               " nije ispravan: sadržaj datoteke promijenjen je nakon "
                               "potpisivanja. Prekida se ažuriranje!");
    EXPECT_TRUE(t.stanje.PorukeGrešaka.contains(poruka)) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(t.dijalozi.boxes().size(), 1u) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt")));
    EXPECT_TRUE(ništaInstalirano());
    EXPECT_EQ(t.read(QStringLiteral("Verzije.txt")).contains("Program.exe;20;9;0"), false);
}

struct RefusalCase {
    const char* name;
    std::function<void(SignedRelease&)> change;
    QString razlog;  // the reason after "Potpis datoteke X nije ispravan: " or "Izdanje X se odbija: "
    bool potpis;     // a fault of the signature rather than of the release
    // The reason from a server, when it differs: a server answers a missing file with an error page,
    // which arrives as the file's content.
    QString razlogServera = QString();
};

const QString kStranicaGreške = QStringLiteral(
    "datoteka potpisa Verzije.txt.minisig nije u obliku minisign potpisa (očekuju se četiri reda, a ima ih "
    "1).");

const RefusalCase kRefusals[] = {
    {"ChangedControlFile",
     [](SignedRelease& f) {
         QByteArray b = f.t.read(f.naIzvoru(QStringLiteral("Verzije.txt")));
         f.t.write(f.naIzvoru(QStringLiteral("Verzije.txt")),
                   b.replace("Program.exe;20;2;0", "Program.exe;20;9;0"));
     },
     QStringLiteral("sadržaj datoteke promijenjen je nakon potpisivanja."), true},
    {"MissingSignature", [](SignedRelease& f) { QFile::remove(f.naIzvoru(ImePotpisa)); },
     QStringLiteral("ne postoji datoteka potpisa Verzije.txt.minisig."), true, kStranicaGreške},
    {"OlderRelease",
     [](SignedRelease& f) {
         // The installed release was signed an hour after the one now offered.
         f.potpiši(1796003600);
         f.t.write(ImePotpisa, f.t.read(f.naIzvoru(ImePotpisa)));
         f.potpiši(1796000000);
     },
     QStringLiteral(
         "potpisano je %1, prije izdanja potpisanog %2 koje je već ovdje. Starije izdanje se ne instalira.")
         .arg(QDateTime::fromSecsSinceEpoch(1796000000).toString(QStringLiteral("dd.MM.yyyy. HH:mm:ss")),
              QDateTime::fromSecsSinceEpoch(1796003600).toString(QStringLiteral("dd.MM.yyyy. HH:mm:ss"))),
     false},
};

struct RefusalParam {
    SourceCase source;
    RefusalCase refusal;
};

class SignedRefusal : public SignedRelease, public ::testing::WithParamInterface<RefusalParam> {};

// A release that does not verify never reaches the grid: the check tells why, lists nothing and
// leaves the Update folder without it.
TEST_P(SignedRefusal, IsToldAndListsNothing)
{
    const auto& [source, refusal] = GetParam();
    t.model.postaviOptLokacija(source.opcija);
    refusal.change(*this);
    const QByteArray instaliranPotpis = t.read(ImePotpisa);

    EXPECT_FALSE(PripremiVerzijaTXT(t.o));

    const QString kontrolna = QString(source.izvor)
                                  .replace(QStringLiteral("{S}"), server.baseUrl())
                                  .replace(QStringLiteral("{M}"), izvor() + u'/');
    const QString poruka =
        (refusal.potpis ? QStringLiteral("Potpis datoteke ") + kontrolna + QStringLiteral(" nije ispravan: ")
                        : QStringLiteral("Izdanje ") + kontrolna + QStringLiteral(" se odbija: ")) +
        (source.opcija == 0 && !refusal.razlogServera.isEmpty() ? refusal.razlogServera : refusal.razlog) +
        QStringLiteral(" Prekida se ažuriranje!");
    EXPECT_EQ(zadnjaPoruka(), poruka) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_TRUE(t.log().contains(QStringLiteral("PripremiVerzijaTXT- ") + poruka));
    EXPECT_TRUE(grid().isEmpty());
    EXPECT_FALSE(t.model.cmdDownloadAndUpdateOmogućen());
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt")));
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + ImePotpisa));
    EXPECT_EQ(t.read(ImePotpisa), instaliranPotpis);
    EXPECT_EQ(t.read(QStringLiteral("Program.exe")), "stari program");
}

std::vector<RefusalParam> refusals()
{
    std::vector<RefusalParam> v;
    for (const SourceCase& s : kSources)
        for (const RefusalCase& r : kRefusals) v.push_back({s, r});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Sources, SignedSource, ::testing::ValuesIn(kSources),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Table, SignedRefusal, ::testing::ValuesIn(refusals()), [](const auto& info) {
    return std::string(info.param.source.name) + info.param.refusal.name;
});

// The office's copy: the distribution folder gets the signature with the control file, a computer
// that reads from it verifies both, and an archive swapped in it is refused there.
class SignedDistribution : public SignedRelease {
public:
    SignedDistribution()
    {
        t.model.postaviOptLokacija(0);
        t.model.postaviTxtLokacija(1, cilj);
        t.mkdir(cilj);
    }
    QString cilj = t.root(QStringLiteral("dijeljeno/"));
};

TEST_F(SignedDistribution, CarriesTheSignatureAndAReaderRefusesAnArchiveSwappedInIt)
{
    t.dijalozi.answer({Answer::Yes});  // the empty target is filled completely
    ASSERT_TRUE(DownloadNaLokaciju(t.o, true)) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(t.read(cilj + QStringLiteral("Verzije.txt")), t.read(naIzvoru(QStringLiteral("Verzije.txt"))));
    EXPECT_EQ(t.read(cilj + ImePotpisa), t.read(naIzvoru(ImePotpisa)));
    for (const QString& a :
         {QStringLiteral("Program.7z"), QStringLiteral("Lib.7z"), QStringLiteral("Pomoc.7z")})
        EXPECT_EQ(t.read(cilj + a), t.read(naIzvoru(a))) << a.toStdString();

    // Another computer of the office reads the shared folder; one of its neighbours swapped an archive.
    zamijeniArhivu(cilj);
    t.dijalozi.clear();
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, cilj);
    ASSERT_TRUE(PripremiVerzijaTXT(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();
    // The swapped archive is refused before the question comes.
    cmdDownloadAndUpdate_Click(t.o);

    EXPECT_EQ(zadnjaPoruka(),
              QStringLiteral("SHA-256 sažetak arhive ") + t.stanje.PutanjaUpdate +
                  QStringLiteral("Program.7z nije onaj iz potpisane datoteke Verzije.txt: arhiva nije "
                                 "ona koju je izdavač objavio. Arhiva je obrisana. Prekida se "
                                 "ažuriranje!"));
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Program.7z")));
    EXPECT_TRUE(ništaInstalirano());

    // The next copy finds the swapped archive by its hash and puts the published one back.
    t.model.postaviOptLokacija(0);
    ASSERT_TRUE(DownloadNaLokaciju(t.o, false));
    EXPECT_EQ(t.read(cilj + QStringLiteral("Program.7z")), t.read(naIzvoru(QStringLiteral("Program.7z"))));
}

TEST_F(SignedDistribution, SwappedArchiveOnTheServerIsNotCopied)
{
    zamijeniArhivu(izvor() + u'/');
    t.dijalozi.answer({Answer::Yes});

    EXPECT_FALSE(DownloadNaLokaciju(t.o, true));

    EXPECT_EQ(zadnjaPoruka(),
              QStringLiteral("SHA-256 sažetak arhive ") + cilj +
                  QStringLiteral("Update/Program.7z nije onaj iz potpisane datoteke Verzije.txt: "
                                 "arhiva nije ona koju je izdavač objavio. Arhiva je obrisana. "
                                 "Prekida se prijenos!"));
    EXPECT_FALSE(t.exists(cilj + QStringLiteral("Program.7z")));
    EXPECT_FALSE(t.exists(cilj + QStringLiteral("Update/Program.7z")));
    EXPECT_FALSE(t.exists(cilj + QStringLiteral("Verzije.txt")));
    EXPECT_FALSE(t.exists(cilj + ImePotpisa));
}

TEST_F(SignedDistribution, ReleaseThatDoesNotVerifyIsNotCopiedAtAll)
{
    QFile::remove(naIzvoru(ImePotpisa));

    EXPECT_FALSE(DownloadNaLokaciju(t.o, true));

    EXPECT_EQ(zadnjaPoruka(), QStringLiteral("Potpis datoteke ") + server.baseUrl() +
                                  QStringLiteral("Verzije.txt nije ispravan: ") + kStranicaGreške +
                                  QStringLiteral(" Prekida se prijenos!"));
    EXPECT_EQ(QDir(cilj).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(cilj + QStringLiteral("Update")).entryList(QDir::Files), QStringList());
}

}  // namespace
