#include "transfer/Dohvat.h"

#include "install/PripremaVerzije.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QFileInfo>

namespace {

using Icon = Dialogs::Icon;

const QString kPrefiks = QStringLiteral("SnimitiSaInterneta - ");
const QString kRanije = QStringLiteral("poruke prošlog pokretanja");
const QByteArray kKontrolna = "A.exe;20;2;0;1;1;\r\n";  // what the check downloaded before the run

// Items published on a local download server, each a real archive of known bytes.
class InternetFetch : public ::testing::Test {
public:
    InternetFetch()
    {
        t.stanje.PrimarniServer = server.baseUrl();
        t.stanje.SekundarniServer = HttpServer::unreachableBaseUrl();
        t.model.postaviOptLokacija(0);
        t.model.postaviTxtPor(kRanije);
        t.model.postaviTxtPorGr(kRanije);
        t.write(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"), kKontrolna);
    }

    Zapis& zapis(int red) { return t.stanje.NoveVerzije[red]; }
    QString u(QString tekst) const { return tekst.replace(QStringLiteral("{U}"), t.stanje.PutanjaUpdate); }
    QStringList dohvatLog() const { return t.logAfter(kPrefiks); }
    std::vector<int> slike() const { return t.gridPictures(); }
    static QString ok(const QString& ime, const QString& polje)
    {
        return QStringLiteral(
                   "Veličina presnimljene datoteke %1 je %2, a veličina originalne datoteke je %2. OK.")
            .arg(ime, polje);
    }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("server"))};
    TestIzdanje izdanje{t, t.root(QStringLiteral("server/"))};
    const QByteArray sadržajA = Sadržaj(4321, 'a');
    const QByteArray sadržajB = Sadržaj(3000, 'b');
};

// An archive of the same name left in the Update folder by an earlier run, deleted or not.
struct OldArchiveCase {
    const char* naziv;
    bool brisanjeNeUspijeva;
};

class OldArchive : public InternetFetch, public ::testing::WithParamInterface<OldArchiveCase> {};

TEST_P(OldArchive, IsDeletedBeforeTheDownload)
{
    izdanje.dodaj(QStringLiteral("A.exe"), sadržajA);
    izdanje.objavi();
    t.write(t.stanje.PutanjaUpdate + QStringLiteral("A.7z"), "arhiva prošlog pokretanja");
    if (GetParam().brisanjeNeUspijeva)
        t.fs.failPath(t.stanje.PutanjaUpdate + QStringLiteral("A.7z"),
                      QStringLiteral("Datoteku koristi drugi program."), {QStringLiteral("removeFile")});

    ASSERT_TRUE(SnimitiSaInterneta(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();

    QStringList očekivano{QStringLiteral("Početak"), QStringLiteral("Provjera postojanja fajla A.7z"),
                          u(QStringLiteral("Nađena 7z datoteka: {U}A.7z pa je treba obrisati!"))};
    // A failed deletion is only logged: the download replaces the file.
    if (GetParam().brisanjeNeUspijeva)
        očekivano << u(
            QStringLiteral("Nije uspješno izbrisana 7z datoteka: {U}A.7z pa je to problem: Datoteku "
                           "koristi drugi program."));
    očekivano << QStringLiteral("Početak skidanja A.7z") << ok(QStringLiteral("A.7z"), zapis(0).polja[4]);
    EXPECT_EQ(dohvatLog().mid(0, očekivano.size()), očekivano);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("A.7z")),
              t.read(izdanje.mapa() + QStringLiteral("A.7z")));
    EXPECT_EQ(t.stanje.PorukeGrešaka, QString());
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, OldArchive,
                         ::testing::Values(OldArchiveCase{"Deleted", false},
                                           OldArchiveCase{"DeletionFails", true}),
                         [](const auto& info) { return std::string(info.param.naziv); });

TEST_F(InternetFetch, FailingDownloadStopsWithOnlyTheTransfersMessage)
{
    izdanje.dodaj(QStringLiteral("A.exe"), sadržajA);
    izdanje.dodaj(QStringLiteral("B.dll"), sadržajB);
    izdanje.dodaj(QStringLiteral("C.dll"), Sadržaj(2000, 'c'));
    izdanje.objavi();
    server.replyBroken(QStringLiteral("B.7z"), "pola", 8);

    EXPECT_FALSE(SnimitiSaInterneta(t.o));

    const QString greška = QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa.");
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].text, QStringLiteral("Greška: ") + greška);
    EXPECT_EQ(t.log().last(), QStringLiteral("Greška: Download: B.7z ") + greška);
    EXPECT_EQ(dohvatLog().last(), QStringLiteral("Početak skidanja B.7z"));
    EXPECT_EQ(t.stanje.PorukeGrešaka, QString());
    EXPECT_EQ(t.model.txtPorGr(), kRanije);
    EXPECT_EQ(t.model.txtPor(), kRanije);
    EXPECT_EQ(slike(), (std::vector<int>{2, 1, 6}));
    EXPECT_EQ(server.requests(), (QStringList{QStringLiteral("/download/Verzija20/A.7z"),
                                              QStringLiteral("/download/Verzija20/B.7z")}));
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("B.7z")));
}

// An archive may be no bigger than its record says: one byte more ends the download at once.
TEST_F(InternetFetch, ArchiveOverItsRecordsSizeStopsWithTheTransfersMessage)
{
    izdanje.dodaj(QStringLiteral("A.exe"), sadržajA);
    izdanje.objavi();
    const QByteArray arhiva = t.read(server.folder() + QStringLiteral("/A.7z"));
    server.reply(QStringLiteral("A.7z"), 200, arhiva + 'x');

    EXPECT_FALSE(SnimitiSaInterneta(t.o));

    EXPECT_EQ(t.dijalozi.texts(),
              QStringList{
                  QStringLiteral("Greška: Poslužitelj šalje više podataka nego što je očekivano (najviše ") +
                  QString::number(arhiva.size()) + QStringLiteral(" bajtova).")});
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("A.7z")));
}

// One way the run stops after a download; the setup changes a one-item release before it is listed.
struct FailureCase {
    const char* naziv;
    void (*priprema)(InternetFetch&);
    QString tekst;           // in the error transcript and the log
    bool kutija;             // also shown in a box
    std::vector<int> slike;  // 1 downloaded, 2 unpacked
    qint64 čekanjeMs;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.naziv;
}

class InternetFailure : public InternetFetch, public ::testing::WithParamInterface<FailureCase> {};

const QString kRazlika = QStringLiteral(
    " i one nisu iste. Moguća greška u prijenosu datoteke. Ponovite postupak. Prekida se ažuriranje!");

const FailureCase kFailures[] = {
    // The server's error page is stored like any body; its size gives it away.
    {"ErrorPageInsteadOfTheArchive",
     [](InternetFetch& f) {
         f.zapis(0).polja[4] = QStringLiteral("1048576");
         f.server.reply(QStringLiteral("A.7z"), 404, QByteArray(300, 'x'));
     },
     QStringLiteral("Veličina presnimljene datoteke A.7z je 300, a veličina originalne datoteke je 1048576") +
         kRazlika,
     true,
     {1},
     0},
    {"ArchiveNotFoundAfterTheDownload",
     [](InternetFetch& f) {
         f.t.fs.failPath(f.t.stanje.PutanjaUpdate + QStringLiteral("A.7z"), QStringLiteral("Ne postoji."),
                         {QStringLiteral("fileExists")});
     },
     QStringLiteral("Nije nađena 7z datoteka: {U}A.7z pa je nije moguće instalirati. Prekida se ažuriranje!"),
     false,
     {1},
     0},
    // An empty file is compared at once: only the wait between the passes passes.
    {"UnpackedFileIsEmpty",
     [](InternetFetch& f) {
         f.t.write(f.izdanje.mapa() + QStringLiteral("A.7z"),
                   Spakiraj7z(f.t.root(QStringLiteral("pakiranje")), QStringLiteral("A.exe"), QByteArray()));
         f.zapis(0).polja[4] = QString::number(QFileInfo(f.izdanje.mapa() + QStringLiteral("A.7z")).size());
     },
     QStringLiteral("Veličina presnimljene datoteke A.exe je 0, a veličina originalne datoteke je 4321") +
         kRazlika,
     true,
     {2},
     5000},
    {"UnpackedFileMissing",
     [](InternetFetch& f) {
         f.t.write(f.izdanje.mapa() + QStringLiteral("A.7z"),
                   Spakiraj7z(f.t.root(QStringLiteral("pakiranje")), QStringLiteral("X.exe"), f.sadržajA));
         f.zapis(0).polja[4] = QString::number(QFileInfo(f.izdanje.mapa() + QStringLiteral("A.7z")).size());
     },
     QStringLiteral("Nije nađena datoteka: {U}A.exe, a trebala bi postojati. Prekida se ažuriranje!"),
     false,
     {2},
     15000},
};

TEST_P(InternetFailure, StopsAndTellsTheUser)
{
    const FailureCase& c = GetParam();
    izdanje.dodaj(QStringLiteral("A.exe"), sadržajA);
    c.priprema(*this);
    izdanje.objavi();

    EXPECT_FALSE(SnimitiSaInterneta(t.o));

    const QString tekst = u(c.tekst);
    EXPECT_EQ(t.dijalozi.texts(), c.kutija ? QStringList{tekst} : QStringList());
    if (c.kutija) {
        EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Exclamation);
    }
    EXPECT_EQ(t.stanje.PorukeGrešaka, QStringLiteral("\r\n") + tekst);
    EXPECT_EQ(t.log().last(), kPrefiks + tekst);
    EXPECT_EQ(t.model.txtPor(), kRanije);
    EXPECT_EQ(t.model.txtPorGr(), c.kutija ? kRanije : t.stanje.PorukeGrešaka);
    EXPECT_EQ(slike(), c.slike);
    EXPECT_EQ(t.sat.paused(), c.čekanjeMs);
}

INSTANTIATE_TEST_SUITE_P(Table, InternetFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.naziv); });

TEST_F(InternetFetch, NoMarkedRowAsksTheServerNothing)
{
    izdanje.dodaj(QStringLiteral("A.exe"), sadržajA).zastavica = 0;
    izdanje.objavi();

    EXPECT_FALSE(SnimitiSaInterneta(t.o));
    EXPECT_EQ(t.dijalozi.texts(), QStringList{QStringLiteral("Nema novih verzija progama!")});
    EXPECT_TRUE(t.log().isEmpty());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(InternetFetch, SuccessfulRunShowsWhatWasUnpacked)
{
    const QByteArray program = Sadržaj(300000, 'p');
    const QByteArray pomoć = Sadržaj(2500, 'h');
    izdanje.dodaj(QStringLiteral("Program.exe"), program);
    izdanje.dodaj(QStringLiteral("Lib.dll"), sadržajB);
    izdanje.dodaj(QStringLiteral("Pomoc.chm"), pomoć);
    izdanje.objavi();
    const qint64 ukupno = izdanje.ukupno();
    const QDateTime početak = t.sat.now();
    // What the window shows while the program waits between the passes.
    QString panelUČekanju;
    bool trakaUČekanju = false;
    t.sat.onPause = [&] {
        if (panelUČekanju.isNull()) {
            panelUČekanju = t.model.panel1();
            trakaUČekanju = t.model.progBarVidljiv();
        }
    };

    ASSERT_TRUE(SnimitiSaInterneta(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_EQ(t.model.txtPor(), u(QStringLiteral("\r\nUNZIP: {U}Program.7z\r\nUNZIP: {U}Lib.7z")));
    EXPECT_EQ(t.model.txtPorGr(), QString());
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt")), kKontrolna);
    EXPECT_EQ(server.requests(), (QStringList{QStringLiteral("/download/Verzija20/Program.7z"),
                                              QStringLiteral("/download/Verzija20/Lib.7z"),
                                              QStringLiteral("/download/Verzija20/Pomoc.7z")}));
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Program.exe")), program);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Lib.dll")), sadržajB);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Pomoc.chm")), pomoć);
    EXPECT_EQ(slike(), (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(t.model.progBarMax(), ukupno);
    EXPECT_EQ(t.model.progBarVrijednost(), ukupno);
    EXPECT_FALSE(t.model.progBarVidljiv());
    EXPECT_EQ(t.model.panel1(), QString());
    EXPECT_EQ(panelUČekanju, QStringLiteral("Čekanje da se sve raspakira ..."));
    EXPECT_TRUE(trakaUČekanju);
    // The only wait is the one between the passes, and the transfer clock starts after it.
    EXPECT_EQ(t.sat.paused(), 5000);
    EXPECT_EQ(t.stanje.PočetakPrijenosa, početak.addSecs(5));

    const Matrica& m = t.stanje.NoveVerzije;
    EXPECT_EQ(dohvatLog(), (QStringList{
                               QStringLiteral("Početak"),
                               QStringLiteral("Provjera postojanja fajla Program.7z"),
                               QStringLiteral("Početak skidanja Program.7z"),
                               ok(QStringLiteral("Program.7z"), m[0].polja[4]),
                               QStringLiteral("Provjera postojanja fajla Lib.7z"),
                               QStringLiteral("Početak skidanja Lib.7z"),
                               ok(QStringLiteral("Lib.7z"), m[1].polja[4]),
                               QStringLiteral("Provjera postojanja fajla Pomoc.7z"),
                               QStringLiteral("Početak skidanja Pomoc.7z"),
                               ok(QStringLiteral("Pomoc.7z"), m[2].polja[4]),
                               QStringLiteral("Početak provjere veličine datoteka"),
                               ok(QStringLiteral("Program.exe"), QStringLiteral("300000")),
                               ok(QStringLiteral("Lib.dll"), QStringLiteral("3000")),
                               ok(QStringLiteral("Pomoc.chm"), QStringLiteral("2500")),
                           }));
}

// From a program folder whose check found updates on the download server to every needed file
// unpacked and verified in the Update folder.
TEST(InternetFetchEndToEnd, CheckThenFetchBringsEveryNeededFile)
{
    TestOkruzenje t;
    HttpServer server(t.root(QStringLiteral("server")));
    const QMap<QString, QByteArray> izdanje = ObjaviStarijojInstalaciji(t, server.folder());
    ASSERT_FALSE(izdanje.isEmpty());
    t.stanje.PrimarniServer = server.baseUrl();

    ASSERT_TRUE(PripremiVerzijaTXT(t.o));
    ASSERT_EQ(t.model.redovi().size(), 2);
    ASSERT_TRUE(SnimitiSaInterneta(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(t.read(QStringLiteral("Update/Program.exe")), izdanje[QStringLiteral("Program.exe")]);
    EXPECT_EQ(t.read(QStringLiteral("Update/Pomoc.chm")), izdanje[QStringLiteral("Pomoc.chm")]);
    EXPECT_FALSE(server.requests().contains(QStringLiteral("/download/Verzija20/Lib.7z")));
    for (const RedMreže& r : t.model.redovi()) EXPECT_EQ(r.slika, 2) << r.polja[0].toStdString();
    EXPECT_EQ(t.model.progBarVrijednost(), t.stanje.UkupnoZaPrijenos);
    EXPECT_EQ(t.model.txtPorGr(), QString());
}

}  // namespace
