#include "install/DownloadAndUpdate.h"

#include "shell/Naredbe.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QSettings>

namespace {

using Icon = Dialogs::Icon;
using Answer = Dialogs::Answer;

const QString kPitanje = QStringLiteral(
    "Svi novi programi su spremni za ažuriranje.\r\nDa bi instalirali nove programe morate zatvoriti sve "
    "otvorene "
    "Lumivex programe!\r\nŽelite li izvršiti ažuriranje/instaliranje novih programa?");
const QString kUspjeh = QStringLiteral("Uspješno instalirani novi programi!");
const QString kNeuspjeh = QStringLiteral(
    "Programi nisu uspješno instalirani. Kontaktirajte Lumi-vex i prenesite im ove informacije!");
const QString kKraj = QStringLiteral("********************* KRAJ UPDATE");
const QString kKljuč = QStringLiteral("Software/Seagate Software/Crystal Reports Designer Component/Export/");

// A program folder with an older A.exe and Pomoc.chm installed, and a newer release of both published
// in one folder that serves as the network folder and as the download servers' folder.
class Command : public ::testing::Test {
public:
    Command()
    {
        t.write(QStringLiteral("Verzije.txt"), "A.exe;20;1;0;10;10;\r\nPomoc.chm;20;1;0;10;10;\r\n");
        t.write(QStringLiteral("A.exe"), staroA);
        t.write(t.stanje.PutanjaHelp + QStringLiteral("Pomoc.chm"), staroH);
        izdanje.dodaj(QStringLiteral("A.exe"), novoA);
        izdanje.dodaj(QStringLiteral("Pomoc.chm"), novoH);
        izdanje.objavi();
        // The check has already brought the control file into the Update folder.
        t.write(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"),
                t.read(izdanje.mapa() + "Verzije.txt"));
        t.model.postaviTxtLokacija(0, izdanje.mapa());
        t.model.postaviOptLokacija(1);
        t.stanje.PrimarniServer = HttpServer::unreachableBaseUrl();
        t.stanje.SekundarniServer = HttpServer::unreachableBaseUrl();
    }

    QString registar() const { return t.root(QStringLiteral("config/Lumivex/registry.ini")); }
    QVariant vrijednost(const QString& ime) const
    {
        return QSettings(registar(), QSettings::IniFormat).value(kKljuč + ime);
    }
    QStringList zadnjeDvije() const { return t.log().mid(t.log().size() - 2); }
    bool pitano() const
    {
        for (const auto& b : t.dijalozi.boxes())
            if (b.buttons == Dialogs::Buttons::YesNo)
                return true;
        return false;
    }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("izvor"))};
    TestIzdanje izdanje{t, t.root(QStringLiteral("izvor/"))};
    const QByteArray staroA = Sadržaj(2000, 'a');
    const QByteArray novoA = Sadržaj(2100, 'A');
    const QByteArray staroH = Sadržaj(500, 'h');
    const QByteArray novoH = Sadržaj(520, 'H');
};

struct IzvorCase {
    const char* naziv;
    int opcija;
    bool primarni;    // the primary server serves the release
    bool sekundarni;  // the secondary one does
};

void PrintTo(const IzvorCase& c, std::ostream* os)
{
    *os << c.naziv;
}

class CommandSource : public Command, public ::testing::WithParamInterface<IzvorCase> {};

// Each source option fetches through its own road; a Yes installs and writes the report settings.
TEST_P(CommandSource, FetchesAsksWritesTheSettingsAndInstalls)
{
    const IzvorCase& c = GetParam();
    t.model.postaviOptLokacija(c.opcija);
    if (c.primarni)
        t.stanje.PrimarniServer = server.baseUrl();
    if (c.sekundarni)
        t.stanje.SekundarniServer = server.baseUrl();
    t.dijalozi.answer({Answer::Yes});

    cmdDownloadAndUpdate_Click(t.o);

    const bool sInterneta = c.opcija != 1;
    EXPECT_EQ(server.requests().contains(QStringLiteral("/download/Verzija20/A.7z")), sInterneta);
    EXPECT_EQ(t.log().filter(QStringLiteral("SnimitiSaMrežneLokacije")).isEmpty(), sInterneta);

    ASSERT_EQ(t.dijalozi.boxes().size(), 2u) << t.dijalozi.texts().join(u'\n').toStdString();
    EXPECT_EQ(t.dijalozi.boxes()[0].text, kPitanje);
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Question);
    EXPECT_EQ(t.dijalozi.boxes()[1].text, kUspjeh);
    EXPECT_EQ(t.dijalozi.boxes()[1].icon, Icon::Exclamation);
    EXPECT_EQ(t.dijalozi.boxes()[1].caption, NaslovPrograma);

    EXPECT_EQ(t.read(QStringLiteral("A.exe")), novoA);
    EXPECT_EQ(t.read(t.stanje.PutanjaHelp + QStringLiteral("Pomoc.chm")), novoH);
    EXPECT_EQ(vrijednost(QStringLiteral("BitMapMagnifDenominator")), QVariant(1));
    EXPECT_EQ(vrijednost(QStringLiteral("BitMapMagnifNumerator")), QVariant(12));
    EXPECT_EQ(zadnjeDvije(), QStringList({QStringLiteral("cmdDownloadAndUpdate_Click ") + kUspjeh, kKraj}));
    EXPECT_FALSE(t.model.progBarVidljiv());
}

INSTANTIATE_TEST_SUITE_P(Options, CommandSource,
                         ::testing::Values(IzvorCase{"PrimaryServer", 0, true, false},
                                           IzvorCase{"NetworkFolder", 1, false, false},
                                           IzvorCase{"SecondaryServer", 2, false, true}),
                         [](const auto& info) { return std::string(info.param.naziv); });

// Ways the command ends without a successful installation, all from the network folder.
struct IshodCase {
    const char* naziv;
    void (*priprema)(Command&);
    std::vector<Answer> odgovori;
    QStringList zadnjiLog;  // the log's last lines; empty: the command logs nothing of its own
    QString kutija;         // the last box; empty: no box after the question
    bool upisano;           // the report settings were written
    bool instaliranjePočelo;
};

void PrintTo(const IshodCase& c, std::ostream* os)
{
    *os << c.naziv;
}

class CommandOutcome : public Command, public ::testing::WithParamInterface<IshodCase> {};

const IshodCase kIshodi[] = {
    {"FetchFails",
     [](Command& f) { QFile::remove(f.izdanje.mapa() + QStringLiteral("A.7z")); },
     {},
     {QStringLiteral("cmdDownloadAndUpdate_Click Nije uspio snimiti sa interneta/mrežne lokacije"), kKraj},
     QString(),
     false,
     false},
    {"UserDeclines", [](Command&) {}, {Answer::No}, {}, QString(), false, false},
    {"UserGivesUpInsideTheInstallation",
     [](Command& f) { f.t.prozori.open(QStringLiteral("Lumivex Knjigovodstvo 20")); },
     {Answer::Yes, Answer::No, Answer::Yes},
     {QStringLiteral("UpdatePrograma- Korisnik odustaje"),
      QStringLiteral("cmdDownloadAndUpdate_Click ") + kNeuspjeh, kKraj},
     kNeuspjeh,
     true,
     true},
    // A folder where the registry file should be: the settings cannot be written, so nothing is installed.
    {"ReportSettingsCannotBeWritten",
     [](Command& f) { f.t.mkdir(f.registar()); },
     {Answer::Yes},
     {QStringLiteral(
          "cmdDownloadAndUpdate_Click Nije moguće upisati postavke izvještaja u registar: Nije moguće "
          "upisati u {R}"),
      kKraj},
     QStringLiteral("Nije moguće upisati postavke izvještaja u registar: Nije moguće upisati u {R}"),
     false,
     false},
};

TEST_P(CommandOutcome, TellsTheUserAndLeavesTheProgramsAsTheyWere)
{
    const IshodCase& c = GetParam();
    c.priprema(*this);
    for (Answer a : c.odgovori) t.dijalozi.answer({a});
    auto u = [&](QString s) { return s.replace(QStringLiteral("{R}"), registar()); };

    cmdDownloadAndUpdate_Click(t.o);

    const QStringList log = t.log();
    if (c.zadnjiLog.isEmpty()) {
        EXPECT_TRUE(log.filter(QStringLiteral("cmdDownloadAndUpdate_Click")).isEmpty());
        EXPECT_FALSE(log.contains(kKraj));
    } else {
        QStringList očekivano;
        for (const QString& l : c.zadnjiLog) očekivano << u(l);
        EXPECT_EQ(log.mid(log.size() - očekivano.size()), očekivano);
    }
    EXPECT_EQ(pitano(), !c.odgovori.empty());
    if (!c.kutija.isEmpty()) {
        ASSERT_FALSE(t.dijalozi.boxes().empty());
        EXPECT_EQ(t.dijalozi.boxes().back().text, u(c.kutija));
        EXPECT_EQ(t.dijalozi.boxes().back().icon, Icon::Exclamation);
    } else if (!c.odgovori.empty()) {
        EXPECT_EQ(t.dijalozi.texts(), QStringList{kPitanje});
    }
    if (c.upisano) {
        EXPECT_EQ(vrijednost(QStringLiteral("BitMapMagnifDenominator")), QVariant(1));
        EXPECT_EQ(vrijednost(QStringLiteral("BitMapMagnifNumerator")), QVariant(12));
    } else {
        EXPECT_FALSE(QFile::exists(registar()) &&
                     vrijednost(QStringLiteral("BitMapMagnifNumerator")).isValid());
    }
    EXPECT_EQ(log.contains(QStringLiteral("UpdatePrograma- početak")), c.instaliranjePočelo);
    EXPECT_EQ(t.read(QStringLiteral("A.exe")), staroA);
    EXPECT_EQ(t.read(t.stanje.PutanjaHelp + QStringLiteral("Pomoc.chm")), staroH);
    EXPECT_FALSE(t.model.progBarVidljiv());
    EXPECT_EQ(t.model.panel1(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, CommandOutcome, ::testing::ValuesIn(kIshodi),
                         [](const auto& info) { return std::string(info.param.naziv); });

TEST_F(Command, DeclinedFetchKeepsTheFetchedFilesForTheNextAttempt)
{
    t.dijalozi.answer({Answer::No});
    cmdDownloadAndUpdate_Click(t.o);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("A.exe")), novoA);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Pomoc.chm")), novoH);
}

// The button's handler runs the command behind the busy guard: while the question is open the long
// commands are disabled, and a second click then starts nothing.
TEST_F(Command, ButtonRunsTheCommandOnceWhileItIsBusy)
{
    bool omogućeneTijekom = true;
    t.dijalozi.onShow = [&](const ScriptedDialogs::Box& b) {
        if (b.text != kPitanje)
            return;
        omogućeneTijekom = t.model.dugeNaredbeOmogućene();
        cmdDownloadAndUpdate_KlikUzZaštitu(t.o);
    };
    t.dijalozi.answer({Answer::Yes});

    cmdDownloadAndUpdate_KlikUzZaštitu(t.o);

    EXPECT_FALSE(omogućeneTijekom);
    EXPECT_TRUE(t.model.dugeNaredbeOmogućene());
    EXPECT_EQ(t.dijalozi.texts(), QStringList({kPitanje, kUspjeh}));
    EXPECT_EQ(t.log().filter(QStringLiteral("UpdatePrograma- početak")).size(), 1);
    EXPECT_EQ(t.read(QStringLiteral("A.exe")), novoA);
}

}  // namespace
