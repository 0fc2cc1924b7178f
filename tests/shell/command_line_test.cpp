#include "shell/PrioritetLoga.h"
#include "platform/HeadlessDialogs.h"
#include "platform/LockFileInstanceLock.h"
#include "platform/X11WindowFinder.h"
#include "shell/NaredbeniRedak.h"
#include "shell/Pokretanje.h"
#include "support/DemoPosluzitelj.h"
#include "support/HttpProxy.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"
#include "support/X11Prozori.h"
#include "support/Xvfb.h"
#include "support/MissingTool.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTextStream>

#include <csignal>

namespace {

const QString Program = QStringLiteral(LUMIVEX_PROGRAM_DIR "/LumivexLiveUpdate20");

struct Izlaz {
    int status = -1;
    QString stdout_;
    QString stderr_;
};

// Runs the program with `arguments` as a script or a systemd unit would: no display unless one is
// given, the settings of the demo in `config` (when given).
Izlaz Pokreni(const QString& program, const QStringList& arguments, const QString& config = QString(),
              const QString& display = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    if (!config.isEmpty())
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    Izlaz izlaz;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "the program did not end: " << arguments.join(u' ').toStdString();
        return izlaz;
    }
    izlaz.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    izlaz.stdout_ = QString::fromUtf8(p.readAllStandardOutput());
    izlaz.stderr_ = QString::fromUtf8(p.readAllStandardError());
    return izlaz;
}

// Every line on standard error carries a journald priority.
void OčekujPrioritete(const QString& stderr_)
{
    for (const QString& redak : stderr_.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(redak.startsWith(u"<3>") || redak.startsWith(u"<4>") || redak.startsWith(u"<6>"))
            << redak.toStdString();
}

// ---------------------------------------------------------------------------------------------------
// Wrong arguments and the usage, without any installation.

struct UpotrebaCase {
    const char* name;
    QStringList arguments;
    int status;
    const char* stderrHas;
};

class WrongUsage : public ::testing::TestWithParam<UpotrebaCase> {};

TEST_P(WrongUsage, EndsWithStatusTwoAndTheReason)
{
    const UpotrebaCase& c = GetParam();
    const Izlaz izlaz = Pokreni(Program, c.arguments);
    EXPECT_EQ(izlaz.status, c.status);
    EXPECT_TRUE(izlaz.stderr_.contains(QString::fromUtf8(c.stderrHas))) << izlaz.stderr_.toStdString();
    EXPECT_TRUE(izlaz.stderr_.contains(QStringLiteral("Upotreba: LumivexLiveUpdate20")))
        << izlaz.stderr_.toStdString();
    EXPECT_TRUE(izlaz.stdout_.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, WrongUsage,
    ::testing::Values(
        UpotrebaCase{"unknown", {"--nepoznato"}, 2, "Nepoznata opcija: nepoznato"},
        UpotrebaCase{"two modes", {"--provjera", "--instalacija"}, 2, "Odaberite samo jedan način rada."},
        UpotrebaCase{"positional", {"--provjera", "višak"}, 2, "Neočekivani argument: višak"},
        UpotrebaCase{"a mode with a value", {"--distribucija=/tmp"}, 2, "Pogrešni argumenti."}),
    [](const auto& info) {
        std::string n = info.param.name;
        std::replace(n.begin(), n.end(), ' ', '_');
        return n;
    });

TEST(CommandLine, HelpShowsTheModesAndTheExitStatuses)
{
    for (const char* opcija : {"--pomoc", "-h", "--help"}) {
        const Izlaz izlaz = Pokreni(Program, {QString::fromUtf8(opcija)});
        EXPECT_EQ(izlaz.status, 0) << opcija;
        for (const char* dio : {"--distribucija", "--provjera", "--instalacija", "--pomoc",
                                "Izlazni status:", "  10  postoje nove verzije (--provjera)",
                                "   3  drugi program za ažuriranje već radi na ovoj instalaciji"})
            EXPECT_TRUE(izlaz.stdout_.contains(QString::fromUtf8(dio))) << opcija << ": " << dio;
    }
}

struct ParseCase {
    const char* name;
    QStringList arguments;
    Način način;
    bool wrong;
};

class ParseArguments : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseArguments, ChoosesTheMode)
{
    const ParseCase& c = GetParam();
    QStringList arguments{QStringLiteral("LumivexLiveUpdate20")};
    arguments << c.arguments;
    const OdabraniNačin odabrano = PročitajNaredbeniRedak(arguments);
    EXPECT_EQ(odabrano.način, c.način);
    EXPECT_EQ(!odabrano.greška.isEmpty(), c.wrong) << odabrano.greška.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ParseArguments,
    ::testing::Values(ParseCase{"none", {}, Način::Prozor, false},
                      ParseCase{"distribution", {"--distribucija"}, Način::Distribucija, false},
                      ParseCase{"check", {"--provjera"}, Način::Provjera, false},
                      ParseCase{"single dash", {"-provjera"}, Način::Provjera, false},
                      ParseCase{"install", {"--instalacija"}, Način::Instalacija, false},
                      ParseCase{"help", {"--pomoc"}, Način::Pomoć, false},
                      ParseCase{"same mode twice", {"--provjera", "--provjera"}, Način::Provjera, false},
                      ParseCase{"empty argument", {""}, Način::Prozor, true}),
    [](const auto& info) {
        std::string n = info.param.name;
        std::replace(n.begin(), n.end(), ' ', '_');
        return n;
    });

// ---------------------------------------------------------------------------------------------------
// What a run without a window writes to standard error.

struct PriorityCase {
    const char* line;
    JournalPriority priority;
};

class LogLinePriority : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(LogLinePriority, ReadFromTheLinesWords)
{
    EXPECT_EQ(PrioritetRetkaLoga(QString::fromUtf8(GetParam().line)), GetParam().priority) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, LogLinePriority,
    ::testing::Values(
        PriorityCase{"Download na lokaciju- Nije moguće učitati kontrolnu datoteku sa interneta!",
                     JournalPriority::Error},
        PriorityCase{"Unzipaj- Greška Arhiva.7z", JournalPriority::Error},
        PriorityCase{"UpdatePrograma - Nastala je greška u kopiranju novog programa: A.exe",
                     JournalPriority::Error},
        PriorityCase{"cmdDownloadAndUpdate_Click Programi nisu uspješno instalirani. Kontaktirajte Lumi-vex",
                     JournalPriority::Error},
        PriorityCase{"cmdDownloadAndUpdate_Click Nije uspio snimiti sa interneta/mrežne lokacije",
                     JournalPriority::Error},
        PriorityCase{"GREŠKA U UPISU", JournalPriority::Error},
        PriorityCase{"UpdatePrograma- Korisnik odustaje", JournalPriority::Warning},
        PriorityCase{"UpdatePrograma- Postoje startovani programi Lumivex Kasa (POS) 20",
                     JournalPriority::Warning},
        PriorityCase{"tmrUpdate - Automatski prijenos na lokaciju u 14:00 nije pokrenut jer je u tijeku "
                     "druga operacija.",
                     JournalPriority::Warning},
        PriorityCase{
            "NapraviRsŠtoTrebaAžurirati - Nije pronađen zapis o starim verzija za :A.exe pa se mora kopirati",
            JournalPriority::Warning},
        PriorityCase{"NapraviRsŠtoTrebaAžurirati - Treba instalirati: A.exe", JournalPriority::Info},
        PriorityCase{"cmdDownloadAndUpdate_Click Uspješno instalirani novi programi!", JournalPriority::Info},
        PriorityCase{"Uspješan download: A.7z", JournalPriority::Info}));

TEST(HeadlessDialogs, WritesEveryBoxWithItsPriorityAndAnswersAsNobodyAtTheDesk)
{
    QByteArray izlaz;
    HeadlessDialogs dijalozi([&](const QByteArray& b) { izlaz += b; });
    EXPECT_EQ(dijalozi.show(Dialogs::Icon::Critical, QStringLiteral("N"), QStringLiteral("prvi\r\ndrugi"),
                            Dialogs::Buttons::Ok),
              Dialogs::Answer::Ok);
    EXPECT_EQ(izlaz, QByteArray("<3>N: prvi\n<3>drugi\n"));
    izlaz.clear();
    dijalozi.show(Dialogs::Icon::Exclamation, QStringLiteral("N"), QStringLiteral("u"), Dialogs::Buttons::Ok);
    dijalozi.show(Dialogs::Icon::None, QStringLiteral("N"), QStringLiteral("b"), Dialogs::Buttons::Ok);
    dijalozi.show(Dialogs::Icon::Information, QStringLiteral("N"), QStringLiteral("i"), Dialogs::Buttons::Ok);
    EXPECT_EQ(izlaz, QByteArray("<4>N: u\n<4>N: b\n<6>N: i\n"));
    EXPECT_EQ(dijalozi.reports(), 4);

    // A question is answered Yes once; asked again it gets No, so a wait for a person cannot loop.
    izlaz.clear();
    dijalozi.resetReports();
    EXPECT_EQ(dijalozi.show(Dialogs::Icon::Question, QStringLiteral("N"), QStringLiteral("Nastaviti?"),
                            Dialogs::Buttons::YesNo),
              Dialogs::Answer::Yes);
    EXPECT_EQ(dijalozi.show(Dialogs::Icon::Question, QStringLiteral("N"), QStringLiteral("Drugo?"),
                            Dialogs::Buttons::YesNo),
              Dialogs::Answer::Yes);
    EXPECT_EQ(dijalozi.show(Dialogs::Icon::Question, QStringLiteral("N"), QStringLiteral("Nastaviti?"),
                            Dialogs::Buttons::YesNo),
              Dialogs::Answer::No);
    EXPECT_EQ(izlaz, QByteArray("<6>N: Nastaviti?\n<6>Odgovor: Da\n<6>N: Drugo?\n<6>Odgovor: Da\n"
                                "<6>N: Nastaviti?\n<6>Odgovor: Ne\n"));
    EXPECT_EQ(dijalozi.reports(), 0);
    EXPECT_TRUE(dijalozi.chooseFile({}).isEmpty());
}

// ---------------------------------------------------------------------------------------------------
// The modes on the README's demo: a release on a local server and an older installation.

class CommandLineDemo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.dir.isValid());
        demo = t.dir.path();
        ASSERT_TRUE(poslužitelj.pripremi(demo));
        // The demo's release is signed at the real time, which may lie days after the virtual clock's
        // day: a release signed ahead of the clock is refused.
        t.sat.set(QDateTime::currentDateTime());
        program = demo + QStringLiteral("/program/LumivexLiveUpdate20");
        config = demo + QStringLiteral("/config");
    }

    Izlaz pokreni(const QStringList& arguments, const QString& display = QString()) const
    {
        return Pokreni(program, arguments, config, display);
    }

    QByteArray read(const QString& relative) const { return t.read(t.root(relative)); }

    // Every file below the program folder with its hash, except the log, which every run writes.
    QMap<QString, QByteArray> snimka() const
    {
        QMap<QString, QByteArray> datoteke;
        QDirIterator it(t.program(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(u"/Update/Update.log") || path.endsWith(u".lock"))
                continue;
            datoteke.insert(path, QCryptographicHash::hash(t.read(path), QCryptographicHash::Sha256));
        }
        return datoteke;
    }

    // The archives the server sent, from its request log.
    QStringList poslaneArhive() const
    {
        QStringList arhive;
        for (const QString& redak : QString::fromUtf8(read(QStringLiteral("posluzitelj.log"))).split(u'\n'))
            if (redak.contains(u"GET ") && !redak.contains(u"Verzije.txt"))
                arhive << redak.section(u'"', 1, 1);
        return arhive;
    }

    TestOkruzenje t;
    DemoPosluzitelj poslužitelj;
    QString demo;
    QString program;
    QString config;
};

TEST_F(CommandLineDemo, DistributionFillsAnEmptyFolderAndASecondRunFetchesNothing)
{
    ASSERT_TRUE(poslužitelj.posluži());
    const Izlaz prvi = pokreni({QStringLiteral("--distribucija")});
    EXPECT_EQ(prvi.status, 0) << prvi.stderr_.toStdString();
    OčekujPrioritete(prvi.stderr_);
    for (const char* arhiva : {"LumivexLiveUpdate20.7z", "LumiKnjigovodstvo20.7z", "LumiMaloprodaja20.7z",
                               "LumiFakturiranje20.7z", "LumiIzvjestaji20.7z", "LumiIzmjBaza20.7z",
                               "Izmjena_2026_12.7z", "LumivexPomoc.7z", "Verzije.txt"}) {
        const QString ime = QString::fromUtf8(arhiva);
        const QByteArray poslano = read(QStringLiteral("posluzitelj/download/Verzija20/") + ime);
        EXPECT_FALSE(poslano.isEmpty()) << arhiva;
        EXPECT_EQ(read(QStringLiteral("dijeljeno/") + ime), poslano) << arhiva;
    }
    const QStringList prvePoslane = poslaneArhive();
    EXPECT_EQ(prvePoslane.size(), 8) << prvePoslane.join(u'\n').toStdString();
    // The log got the lines that standard error showed.
    EXPECT_TRUE(t.log().filter(QStringLiteral("Download")).size() > 0);

    const Izlaz drugi = pokreni({QStringLiteral("--distribucija")});
    EXPECT_EQ(drugi.status, 0) << drugi.stderr_.toStdString();
    EXPECT_EQ(poslaneArhive(), prvePoslane);
}

TEST_F(CommandLineDemo, DistributionWithTheServerDownFailsWithItsLogLine)
{
    const Izlaz izlaz = pokreni({QStringLiteral("--distribucija")});
    EXPECT_EQ(izlaz.status, 1);
    const QString redak = QStringLiteral(
        "Download na lokaciju- Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu sa "
        "internetom i "
        "pokušajte ponovno! Prekida se ažuriranje!");
    EXPECT_TRUE(izlaz.stderr_.contains(QStringLiteral("<3>") + redak)) << izlaz.stderr_.toStdString();
    EXPECT_TRUE(t.log().contains(redak)) << t.log().join(u'\n').toStdString();
    OčekujPrioritete(izlaz.stderr_);
    EXPECT_FALSE(QFile::exists(demo + QStringLiteral("/dijeljeno/Verzije.txt")));
}

TEST_F(CommandLineDemo, CheckWithTheServerDownFails)
{
    const Izlaz izlaz = pokreni({QStringLiteral("--provjera")});
    EXPECT_EQ(izlaz.status, 1) << izlaz.stderr_.toStdString();
    EXPECT_TRUE(izlaz.stdout_.isEmpty());
    EXPECT_TRUE(izlaz.stderr_.contains(
        QStringLiteral("<4>LumivexLiveUpdate20: Nije moguće učitati kontrolnu datoteku")))
        << izlaz.stderr_.toStdString();
}

// A run without a window goes through the proxy of the settings, as the window does, but has no one
// to give the proxy its login: the check fails with the proxy's message instead of opening a login
// dialog that a run without a display cannot show.
TEST_F(CommandLineDemo, CheckThroughAProxyThatWantsALoginFailsWithoutAsking)
{
    ASSERT_TRUE(poslužitelj.posluži());
    HttpProxy proxy;
    proxy.requireLogin(QStringLiteral("ured"), QStringLiteral("tajna"));
    {
        QSettings ini(config + QStringLiteral("/Lumivex.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Settings/Proxy"), proxy.address());
        // A name only the proxy knows, since nothing asks a proxy the way to 127.0.0.1.
        const QString server = ini.value(QStringLiteral("Settings/PrimarniServer")).toString();
        ini.setValue(QStringLiteral("Settings/PrimarniServer"),
                     QString(server).replace(QStringLiteral("127.0.0.1"), QStringLiteral("posluzitelj.ured")));
    }
    const Izlaz izlaz = pokreni({QStringLiteral("--provjera")});
    EXPECT_EQ(izlaz.status, 1) << izlaz.stderr_.toStdString();
    EXPECT_GE(proxy.challenges(), 1) << izlaz.stderr_.toStdString();
    EXPECT_TRUE(izlaz.stderr_.contains(QStringLiteral("Nije moguće učitati kontrolnu datoteku")))
        << izlaz.stderr_.toStdString();
}

// --provjera lists what is waiting; an installation without questions (the same start-up, run
// in-process on the virtual clock so its waits cost nothing) puts it in place; then nothing is new.
TEST_F(CommandLineDemo, CheckListsTheUpdatesAndAfterTheInstallationNothingIsNew)
{
    ASSERT_TRUE(poslužitelj.posluži());
    const Izlaz prije = pokreni({QStringLiteral("--provjera")});
    EXPECT_EQ(prije.status, 10) << prije.stderr_.toStdString();
    const QString knjigovodstvo =
        QString::fromUtf8(read(QStringLiteral("posluzitelj/download/Verzija20/Verzije.txt")))
            .split(QStringLiteral("\r\n"))
            .filter(QStringLiteral("LumiKnjigovodstvo20.exe;"))
            .value(0);
    const QStringList redci = prije.stdout_.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(redci.size(), 6) << prije.stdout_.toStdString();
    EXPECT_TRUE(redci[0].startsWith(QStringLiteral("LumiKnjigovodstvo20.exe;20;2;3;")))
        << redci[0].toStdString();
    EXPECT_TRUE(knjigovodstvo.startsWith(redci[0]))
        << knjigovodstvo.toStdString() << " / " << redci[0].toStdString();
    QStringList imena;
    for (const QString& r : redci) imena << r.section(u';', 0, 0);
    EXPECT_EQ(imena, (QStringList{"LumiKnjigovodstvo20.exe", "LumiMaloprodaja20.exe", "LumiIzvjestaji20.dll",
                                  "LumiIzmjBaza20.dll", "Izmjena_2026_12.enc", "LumivexPomoc.chm"}));
    OčekujPrioritete(prije.stderr_);

    QByteArray kutije;
    HeadlessDialogs dijalozi([&](const QByteArray& b) { kutije += b; });
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, dijalozi, t.procesi,
                t.http, t.prozori,  t.registar, t.model,    t.stanje};
    LockFileInstanceLock brava;
    QString ništa;
    QTextStream izlaz(&ništa);
    EXPECT_EQ(PokreniBezProzora(o, dijalozi, brava, Način::Instalacija, izlaz), 0) << kutije.toStdString();
    EXPECT_TRUE(kutije.contains("<6>LumivexLiveUpdate20: Svi novi programi su spremni za ažuriranje.\n"));
    EXPECT_TRUE(kutije.contains("<6>Odgovor: Da\n"));
    EXPECT_TRUE(kutije.contains("<4>LumivexLiveUpdate20: Uspješno instalirani novi programi!\n"))
        << kutije.toStdString();
    EXPECT_EQ(read(QStringLiteral("program/LumiKnjigovodstvo20.exe")),
              read(QStringLiteral("izdanje/LumiKnjigovodstvo20.exe")));
    EXPECT_EQ(read(QStringLiteral("program/Verzije.txt")),
              read(QStringLiteral("posluzitelj/download/Verzija20/Verzije.txt")));
    brava.release();

    const Izlaz poslije = pokreni({QStringLiteral("--provjera")});
    EXPECT_EQ(poslije.status, 0) << poslije.stderr_.toStdString();
    EXPECT_TRUE(poslije.stdout_.isEmpty()) << poslije.stdout_.toStdString();
}

TEST_F(CommandLineDemo, InstallationWhileASuiteProgramRunsChangesNothing)
{
    Xvfb xvfb;
    if (!xvfb.running())
        SKIP_FOR_MISSING_TOOL() << xvfb.why().toStdString();
    ASSERT_TRUE(poslužitelj.posluži());
    ProzorNaZaslonu knjigovodstvo(QStringLiteral("Lumivex Knjigovodstvo 20"));
    ASSERT_TRUE(knjigovodstvo.otvoren());
    const QMap<QString, QByteArray> prije = snimka();

    const Izlaz izlaz = pokreni({QStringLiteral("--instalacija")}, xvfb.display());
    EXPECT_EQ(izlaz.status, 4) << izlaz.stderr_.toStdString();
    EXPECT_TRUE(izlaz.stderr_.contains(
        QStringLiteral("<4>Instalacija nije pokrenuta jer rade programi: Lumivex Knjigovodstvo 20")))
        << izlaz.stderr_.toStdString();
    EXPECT_EQ(snimka(), prije);
    EXPECT_TRUE(poslaneArhive().isEmpty());
}

// ---------------------------------------------------------------------------------------------------
// One updater at a time.

// Waits until `found` says that the window of `program` is there, however long a loaded machine takes
// to show it; false as soon as the program has ended without it.
bool PričekajProzorPrograma(QProcess& program, const std::function<bool()>& found)
{
    while (!found())
        if (program.state() == QProcess::NotRunning || program.waitForFinished(50))
            return false;
    return true;
}

TEST_F(CommandLineDemo, ASecondUpdaterOnTheSameInstallationDoesNotStart)
{
    // Every look for a window is a client that connects and leaves; a display that resets when its
    // last client leaves refuses a program that connects meanwhile, and the updater's window then
    // never comes.
    Xvfb xvfb(true);
    if (!xvfb.running())
        SKIP_FOR_MISSING_TOOL() << xvfb.why().toStdString();
    ASSERT_TRUE(poslužitelj.posluži());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), xvfb.display());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QProcess prvi;
    prvi.setProcessEnvironment(env);
    prvi.start(program, {});
    ASSERT_TRUE(prvi.waitForStarted());
    ASSERT_TRUE(PričekajProzorPrograma(prvi, [] {
        return X11WindowFinder().findByTitle(NaslovProzora()) != 0;
    })) << prvi.readAllStandardError().toStdString();
    const QMap<QString, QByteArray> prije = snimka();
    const QStringList logPrije = t.log();

    // A script's run ends at once with its own status.
    const Izlaz skripta = pokreni({QStringLiteral("--provjera")});
    EXPECT_EQ(skripta.status, 3) << skripta.stderr_.toStdString();
    EXPECT_TRUE(skripta.stderr_.contains(
        QStringLiteral(
            "<6>LumivexLiveUpdate20: Program za ažuriranje Lumi-vex programa već je pokrenut na ovoj "
            "instalaciji (") +
        t.program() + QStringLiteral(").")))
        << skripta.stderr_.toStdString();
    EXPECT_TRUE(skripta.stdout_.isEmpty());

    // A second window's start tells the user and brings the first window forward.
    {
        LockFileInstanceLock brava;
        t.prozori.open(NaslovProzora());
        EXPECT_FALSE(ZauzmiInstalaciju(t.o, brava, true));
        ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
        EXPECT_EQ(t.dijalozi.boxes()[0].icon, Dialogs::Icon::Information);
        EXPECT_EQ(
            t.dijalozi.boxes()[0].text,
            QStringLiteral("Program za ažuriranje Lumi-vex programa već je pokrenut na ovoj instalaciji (") +
                t.program() + QStringLiteral(").\r\nDrugi se ne pokreće."));
        EXPECT_TRUE(t.prozori.windows[0].active);
    }

    // The real second start shows its box, ends when the box is closed, and leaves the first alone.
    QProcess drugi;
    drugi.setProcessEnvironment(env);
    drugi.start(program, {});
    ASSERT_TRUE(PričekajProzorPrograma(drugi, [] {
        return VidljivProzor(QStringLiteral("LumivexLiveUpdate20"));
    })) << drugi.readAllStandardError().toStdString();
    EXPECT_TRUE(ZatvoriProzorNaZaslonu(QStringLiteral("LumivexLiveUpdate20")));
    ASSERT_TRUE(drugi.waitForFinished(30000));
    EXPECT_EQ(drugi.exitCode(), 0) << drugi.readAllStandardError().toStdString();
    EXPECT_EQ(prvi.state(), QProcess::Running);
    EXPECT_TRUE(X11WindowFinder().findByTitle(NaslovProzora()));
    EXPECT_EQ(snimka(), prije);
    EXPECT_EQ(t.log(), logPrije);

    // A killed window leaves its lock behind; the next start takes it.
    ::kill(static_cast<pid_t>(prvi.processId()), SIGKILL);
    ASSERT_TRUE(prvi.waitForFinished(30000));
    EXPECT_TRUE(QFile::exists(t.program() + QStringLiteral("LumivexLiveUpdate20.lock")));
    const Izlaz poslije = pokreni({QStringLiteral("--provjera")});
    EXPECT_EQ(poslije.status, 10) << poslije.stderr_.toStdString();
}

}  // namespace
