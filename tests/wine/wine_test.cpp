// The suite under Wine, for real: a component and a window program built with mingw-w64 and run by
// Wine in a private prefix on a private X display, both made once for the whole run.
#include "install/DownloadAndUpdate.h"
#include "install/Instalacija.h"
#include "install/PripremaVerzije.h"
#include "install/ProvjeraPrograma.h"
#include "install/Registracija.h"
#include "platform/IniSettingsStore.h"
#include "platform/X11WindowFinder.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"
#include "support/Xvfb.h"
#include "support/MissingTool.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <iostream>
#include <memory>

// Xlib's macros (None, True, Status) clash with Qt's headers, so it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

const QString kProgrami = QStringLiteral(LUMIVEX_WINE_PROGRAMS);
const QString kKljuč = QStringLiteral("HKCU\\Software\\Lumivex\\TestKomponenta");

// Runs a program to its end with the test's environment plus `env`; its merged output.
QString Pokreni(const QString& program, const QStringList& argumenti, int& status,
                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, argumenti);
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        status = -1;
    } else {
        status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    return QString::fromLocal8Bit(p.readAll());
}

// The prefix and the display every test of the run shares, or why the tests cannot run here.
struct WineOkolina {
    QString razlog;
    bool kvar = false;  // Wine is there but could not make the prefix: a failure, not a skip
    QTemporaryDir mapa;
    QString prefiks;
    std::unique_ptr<Xvfb> xvfb;
};
WineOkolina* wine = nullptr;

class WineEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        wine = new WineOkolina;
        for (const char* alat : {"wine", "wineboot", "wineserver"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(alat)).isEmpty()) {
                wine->razlog = QStringLiteral("Wine is not installed (Debian packages wine and wine64)");
                return;
            }
        for (const char* datoteka : {"Stara.dll", "Nova.dll", "Prazna.dll", "Prozor.exe"})
            if (!QFileInfo::exists(kProgrami + u'/' + QString::fromLatin1(datoteka))) {
                wine->razlog = QStringLiteral(
                    "the Windows test programs were not built: mingw-w64 (Debian "
                    "package g++-mingw-w64-x86-64) is missing");
                return;
            }
        wine->xvfb = std::make_unique<Xvfb>(true);
        if (!wine->xvfb->running()) {
            wine->razlog = wine->xvfb->why();
            return;
        }
        wine->prefiks = wine->mapa.path() + QStringLiteral("/prefiks");
        qputenv("WINEPREFIX", wine->prefiks.toUtf8());
        qputenv("WINEDEBUG", "-all");
        // Wine would offer to install its Mono and Gecko add-ons, which no test needs.
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
        QElapsedTimer sat;
        sat.start();
        int status = 0;
        const QString ispis = Pokreni(QStringLiteral("wineboot"), {QStringLiteral("-i")}, status);
        if (status != 0 || !QFileInfo::exists(wine->prefiks + QStringLiteral("/drive_c/windows"))) {
            wine->razlog = QStringLiteral("wineboot -i failed (%1): %2").arg(status).arg(ispis);
            wine->kvar = true;
            return;
        }
        std::cout << "[ figures  ] wineboot -i: " << sat.elapsed() << " ms" << std::endl;
    }

    void TearDown() override
    {
        if (!wine->prefiks.isEmpty()) {
            int status = 0;
            Pokreni(QStringLiteral("wineserver"), {QStringLiteral("-k")}, status);
        }
        delete wine;
        wine = nullptr;
    }
};

const auto* const kOkolina = ::testing::AddGlobalTestEnvironment(new WineEnvironment);

// The Windows path Wine gives a Linux path: drive Z: is the root.
QString WindowsPutanja(const QString& putanja)
{
    return QStringLiteral("Z:") + QString(putanja).replace(u'/', u'\\');
}

// The variants whose registration is in the prefix's registry, each with the path it was
// registered from. The key is exported to a file, which Wine writes in UTF-16, since what `reg query`
// prints is converted to the ANSI code page and loses letters outside it.
QMap<QString, QString> Registrirane()
{
    const QString datoteka = wine->mapa.path() + QStringLiteral("/izvoz.reg");
    QFile::remove(datoteka);
    int status = 0;
    Pokreni(QStringLiteral("wine"),
            {QStringLiteral("reg"), QStringLiteral("export"), kKljuč, WindowsPutanja(datoteka),
             QStringLiteral("/y")},
            status);
    QFile f(datoteka);
    QMap<QString, QString> r;
    if (status != 0 || !f.open(QIODevice::ReadOnly))
        return r;
    const QByteArray bajtovi = f.readAll();
    const QString tekst =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bajtovi.constData()), bajtovi.size() / 2);
    const QString početak = QStringLiteral("[HKEY_CURRENT_USER\\Software\\Lumivex\\TestKomponenta\\");
    const QString putanja = QStringLiteral("\"Putanja\"=\"");
    QString varijanta;
    for (QString red : tekst.split(u'\n')) {
        red = red.trimmed();
        if (red.startsWith(početak) && red.endsWith(u']')) {
            varijanta = red.mid(početak.size(), red.size() - početak.size() - 1);
            r.insert(varijanta, QString());
        } else if (!varijanta.isEmpty() && red.startsWith(putanja) && red.endsWith(u'"')) {
            r[varijanta] = red.mid(putanja.size(), red.size() - putanja.size() - 1)
                               .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        }
    }
    return r;
}

void ObrišiRegistracije()
{
    int status = 0;
    Pokreni(QStringLiteral("wine"),
            {QStringLiteral("reg"), QStringLiteral("delete"), kKljuč, QStringLiteral("/f")}, status);
}

// A program folder with the old component installed and registered and the new one fetched into
// the Update folder, listed for installation; the shipped stand-in lies beside the program.
void PripremiZamjenu(TestOkruzenje& t, Okruzenje& o, const QString& ime)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMIVEX_PROGRAM_DIR "/RegSvr32.exe"),
                            t.program() + QStringLiteral("RegSvr32.exe")) ||
                QFileInfo::exists(t.program() + QStringLiteral("RegSvr32.exe")));
    ASSERT_TRUE(QFile::copy(kProgrami + QStringLiteral("/Stara.dll"), t.program() + ime));
    ASSERT_TRUE(QFile::copy(kProgrami + QStringLiteral("/Nova.dll"), t.stanje.PutanjaUpdate + ime));
    ASSERT_TRUE(RegistrirajDLL(o, t.program(), ime)) << t.log().join(u'\n').toStdString();
    Zapis& z = t.stanje.NoveVerzije[0];
    const QByteArray veličina = QByteArray::number(QFileInfo(t.stanje.PutanjaUpdate + ime).size());
    z.polja = {ime,
               QStringLiteral("20"),
               QStringLiteral("2"),
               QStringLiteral("0"),
               QString::fromLatin1(veličina),
               QString::fromLatin1(veličina)};
    z.zastavica = 1;
    t.write(QStringLiteral("Verzije.txt"), ime.toUtf8() + ";20;1;0;1;1;\r\n");
    const QByteArray nove = ime.toUtf8() + ";20;2;0;" + veličina + ';' + veličina + ";\r\n";
    t.write(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"), nove);
    // The control file is prepared again from a network folder once the installation is done.
    t.write(t.root(QStringLiteral("mreža/Verzije.txt")), nove);
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, t.root(QStringLiteral("mreža/")));
    t.mkdir(t.stanje.PutanjaSkripti);
    t.mkdir(t.stanje.PutanjaHelp);
}

class Wine : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (wine->kvar)
            FAIL() << wine->razlog.toStdString();
        if (!wine->razlog.isEmpty())
            SKIP_FOR_MISSING_TOOL() << wine->razlog.toStdString();
        // The shipped stand-in lies beside the program, as the package installs it.
        ASSERT_TRUE(QFile::copy(QStringLiteral(LUMIVEX_PROGRAM_DIR "/RegSvr32.exe"),
                                t.program() + QStringLiteral("RegSvr32.exe")));
        ObrišiRegistracije();
    }

    void TearDown() override
    {
        for (auto& p : prozori) {
            p->kill();
            p->waitForFinished();
        }
    }

    // Copies one of the built test programs to `cilj`.
    void Kopiraj(const QString& program, const QString& cilj)
    {
        QDir().mkpath(QFileInfo(cilj).absolutePath());
        QFile::remove(cilj);
        ASSERT_TRUE(QFile::copy(kProgrami + u'/' + program, cilj)) << cilj.toStdString();
    }

    // Starts a window program under Wine and waits until the desktop shows a window captioned
    // `naslov`, so that a test looks at a desktop that has settled.
    QProcess* Otvori(const QString& exe, const QStringList& argumenti, const QString& naslov,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        prozori.push_back(std::make_unique<QProcess>());
        QProcess* p = prozori.back().get();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start(QStringLiteral("wine"), QStringList{exe} + argumenti);
        const QDeadlineTimer rok(120000);
        while (!rok.hasExpired() && p->state() != QProcess::NotRunning && x11.findByTitle(naslov) == 0)
            QThread::msleep(20);
        return p;
    }

    // Waits until no window is captioned `naslov`.
    void ČekajDaNestane(const QString& naslov)
    {
        const QDeadlineTimer rok(60000);
        while (x11.findByTitle(naslov) != 0 && !rok.hasExpired()) QThread::msleep(20);
    }

    // Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW).
    void Zatvori(WindowFinder::Window prozor)
    {
        Display* d = XOpenDisplay(nullptr);
        ASSERT_NE(d, nullptr);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = ::Window(prozor);
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, ::Window(prozor), False, NoEventMask, &e);
        XSync(d, False);
        XCloseDisplay(d);
    }

    TestOkruzenje t;
    X11WindowFinder x11;
    // The procedures' ports with the real windows of the test's display.
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, t.procesi,
                t.http, x11,        t.registar, t.model,    t.stanje};
    std::vector<std::unique_ptr<QProcess>> prozori;
};

TEST_F(Wine, RegistrationWritesTheKeyAndUnregistrationRemovesIt)
{
    const QString mapa = t.root(QStringLiteral("Lumivex program čćžšđ/Moje komponente/"));
    const QString ime = QStringLiteral("LumiTest20.dll");
    Kopiraj(QStringLiteral("Stara.dll"), mapa + ime);

    ASSERT_TRUE(RegistrirajDLL(o, mapa, ime)) << t.log().join(u'\n').toStdString();
    EXPECT_EQ(Registrirane(),
              (QMap<QString, QString>{{QStringLiteral("stara"), WindowsPutanja(mapa + ime)}}));

    ASSERT_TRUE(DeregistrirajDLL(o, mapa, ime)) << t.log().join(u'\n').toStdString();
    EXPECT_TRUE(Registrirane().isEmpty());

    const QString naredba = QStringLiteral("RegSvr32.exe \"") + mapa + ime + u'"';
    EXPECT_EQ(t.log(),
              QStringList({naredba + QStringLiteral(" /s"), naredba + QStringLiteral(" /s Uspješno"),
                           naredba + QStringLiteral(" /u /s"), naredba + QStringLiteral(" /u /s Uspješno")}));
}

// Unregistering the old file and moving it away used to race: Wine's regsvr32 then loaded whatever
// file lay there, often the new one. However often the swap runs, exactly the new file is registered.
TEST_F(Wine, ComponentSwapLeavesExactlyTheNewRegistrationEveryTime)
{
    const int puta = qEnvironmentVariableIsSet("LUMIVEX_WINE_SWAPS")
                         ? qEnvironmentVariableIntValue("LUMIVEX_WINE_SWAPS")
                         : 8;
    const QString ime = QStringLiteral("LumiIzmjBaza20.dll");
    QElapsedTimer sat;
    sat.start();
    for (int i = 0; i < puta; ++i) {
        SCOPED_TRACE(i);
        TestOkruzenje t;
        Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, t.procesi,
                    t.http, x11,        t.registar, t.model,    t.stanje};
        ObrišiRegistracije();
        PripremiZamjenu(t, o, ime);

        ASSERT_TRUE(UpdatePrograma(o)) << t.log().join(u'\n').toStdString();
        EXPECT_EQ(Registrirane(),
                  (QMap<QString, QString>{{QStringLiteral("nova"), WindowsPutanja(t.program() + ime)}}));
        EXPECT_EQ(t.read(ime), t.read(kProgrami + QStringLiteral("/Nova.dll")));
        EXPECT_TRUE(t.dijalozi.boxes().empty()) << t.dijalozi.texts().join(u'\n').toStdString();
    }
    std::cout << "[ figures  ] component swap under Wine: " << puta << " runs in " << sat.elapsed() << " ms"
              << std::endl;
}

struct NeuspjehCase {
    const char* name;
    QString program;  // the built file copied in as the component; empty for none
    bool tridesetdva = false;
    QString razlog;  // what the second log line says after the command line
};

void PrintTo(const NeuspjehCase& c, std::ostream* os)
{
    *os << c.name;
}

class WineFailure : public Wine, public ::testing::WithParamInterface<NeuspjehCase> {};

TEST_P(WineFailure, RegistrationFailsAndTheLogSaysWhy)
{
    const NeuspjehCase& c = GetParam();
    const QString mapa = t.root(QStringLiteral("Moje komponente/"));
    const QString ime = QStringLiteral("LumiTest20.dll");
    QDir().mkpath(mapa);
    if (!c.program.isEmpty())
        Kopiraj(c.program, mapa + ime);
    if (c.tridesetdva) {
        if (QFileInfo(QStringLiteral("/usr/lib/wine/wine")).isExecutable())
            GTEST_SKIP() << "this machine has a 32-bit Wine";
        // The PE header's machine field says 32-bit x86 (0x014c).
        QFile f(mapa + ime);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const quint32 pe = quint8(bytes[0x3c]) | quint8(bytes[0x3d]) << 8 | quint8(bytes[0x3e]) << 16;
        bytes[pe + 4] = char(0x4c);
        bytes[pe + 5] = char(0x01);
        f.seek(0);
        f.write(bytes);
    }

    EXPECT_FALSE(RegistrirajDLL(o, mapa, ime));
    EXPECT_FALSE(DeregistrirajDLL(o, mapa, ime));
    const QString naredba = QStringLiteral("RegSvr32.exe \"") + mapa + ime + u'"';
    const QString razlog = QString(c.razlog).replace(QStringLiteral("{K}"), mapa + ime);
    QString deregistracija = razlog;
    deregistracija.replace(QStringLiteral("DllRegisterServer"), QStringLiteral("DllUnregisterServer"))
        .replace(QStringLiteral(" /s"), QStringLiteral(" /u /s"));
    EXPECT_EQ(t.log(), QStringList({naredba + QStringLiteral(" /s"),
                                    naredba + QStringLiteral(" /s Neuspješno, ") + razlog,
                                    naredba + QStringLiteral(" /u /s"),
                                    naredba + QStringLiteral(" /u /s Neuspješno, ") + deregistracija}));
    EXPECT_TRUE(Registrirane().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WineFailure,
    ::testing::Values(
        NeuspjehCase{"NoEntryPoint", QStringLiteral("Prazna.dll"), false,
                     QStringLiteral("izlazni status 4: RegSvr32.exe: komponenta nema ulaznu točku "
                                    "DllRegisterServer: {K} /s")},
        NeuspjehCase{"MissingFile", QString(), false,
                     QStringLiteral("izlazni status 3: RegSvr32.exe: komponenta se ne može učitati (nema je "
                                    "ili nije ispravna): {K} /s")}
#ifndef LUMIVEX_WINE32_PRESENT
        ,
        NeuspjehCase{"ThirtyTwoBitWithoutAThirtyTwoBitWine", QStringLiteral("Stara.dll"), true,
                     QStringLiteral("izlazni status 3: RegSvr32.exe: {K} je 32-bitna komponenta, a nedostaje "
                                    "32-bitni Wine (paket wine32; dodaje se s dpkg --add-architecture i386 "
                                    "&& apt-get update && apt-get install wine32:i386)")}
#endif
        ),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Wine, InstallationWaitsUntilTheSuitesWineWindowIsClosed)
{
    const QString exe = t.root(QStringLiteral("Prozor.exe"));
    Kopiraj(QStringLiteral("Prozor.exe"), exe);
    QProcess* program = Otvori(exe, {QStringLiteral("Lumivex Plaće 20")}, QStringLiteral("Lumivex Plaće 20"));
    ASSERT_EQ(ProvjeriPokrenutePrograme(o), QStringLiteral("Lumivex Plaće 20\r\n"));

    PripremiZamjenu(t, o, QStringLiteral("LumiTest20.dll"));
    int pitanja = 0;
    t.dijalozi.answer({Dialogs::Answer::Yes});
    t.dijalozi.onShow = [&](const ScriptedDialogs::Box& box) {
        if (!box.text.startsWith(QStringLiteral("Postoje pokrenuti programi:")))
            return;
        ++pitanja;
        // The user closes the program, and answers once it has gone.
        Zatvori(x11.findByTitle(QStringLiteral("Lumivex Plaće 20")));
        EXPECT_TRUE(program->waitForFinished(60000));
    };
    EXPECT_TRUE(UpdatePrograma(o)) << t.log().join(u'\n').toStdString();
    EXPECT_EQ(pitanja, 1);
    EXPECT_EQ(
        t.log().filter(QStringLiteral("UpdatePrograma- Postoje startovani programi Lumivex Plaće 20")).size(),
        1);
    EXPECT_EQ(Registrirane().keys(), QStringList{QStringLiteral("nova")});
}

TEST_F(Wine, ClassEntryMatchesAWineWindowOfItsApplication)
{
    const QString exe = t.root(QStringLiteral("Office/EXCEL.EXE"));
    Kopiraj(QStringLiteral("Prozor.exe"), exe);
    EXPECT_FALSE(AppJeStartana(o, QStringLiteral("Excel"), false));
    Otvori(exe, {QStringLiteral("Knjiga1")}, QStringLiteral("Knjiga1"));
    EXPECT_TRUE(AppJeStartana(o, QStringLiteral("Excel"), false));
    EXPECT_FALSE(AppJeStartana(o, QStringLiteral("Word"), false));
}

// The suite's programs set their captions through the ANSI interface in code page 1250; Wine reads
// them in the code page of its locale.
TEST_F(Wine, AnsiCaptionReadsRightInACroatianLocaleOnly)
{
    const QString lokali = t.root(QStringLiteral("lokali"));
    QDir().mkpath(lokali);
    int status = 0;
    const QString ispis = Pokreni(QStringLiteral("localedef"),
                                  {QStringLiteral("-i"), QStringLiteral("hr_HR"), QStringLiteral("-f"),
                                   QStringLiteral("UTF-8"), lokali + QStringLiteral("/hr_HR.UTF-8")},
                                  status);
    if (!QFileInfo::exists(lokali + QStringLiteral("/hr_HR.UTF-8")))
        SKIP_FOR_MISSING_TOOL() << "no hr_HR locale can be made here (Debian package locales): " << ispis.toStdString();

    const QString exe = t.root(QStringLiteral("Prozor.exe"));
    Kopiraj(QStringLiteral("Prozor.exe"), exe);
    const QString naslov = QStringLiteral("Lumivex Obračun kamata 20");

    QProcessEnvironment hrvatski = QProcessEnvironment::systemEnvironment();
    hrvatski.remove(QStringLiteral("LC_ALL"));
    hrvatski.insert(QStringLiteral("LANG"), QStringLiteral("hr_HR.UTF-8"));
    hrvatski.insert(QStringLiteral("LOCPATH"), lokali);
    QProcess* program = Otvori(exe, {QStringLiteral("--ansi"), naslov}, naslov, hrvatski);
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QStringLiteral("Lumivex Kamate 20\r\n"));
    program->kill();
    program->waitForFinished();
    ČekajDaNestane(naslov);

    // In a locale of another code page the same bytes read as other letters, and the guard cannot
    // know the program.
    QProcessEnvironment engleski = QProcessEnvironment::systemEnvironment();
    engleski.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    const QString pogrešan = QStringLiteral("Lumivex Obraèun kamata 20");
    Otvori(exe, {QStringLiteral("--ansi"), naslov}, pogrešan, engleski);
    EXPECT_NE(x11.findByTitle(pogrešan), 0u);
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QString());
}

TEST_F(Wine, UnicodeCaptionReadsRightInAnyLocale)
{
    const QString exe = t.root(QStringLiteral("Prozor.exe"));
    Kopiraj(QStringLiteral("Prozor.exe"), exe);
    Otvori(exe, {QStringLiteral("Lumivex Pomoć")}, QStringLiteral("Lumivex Pomoć"));
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QStringLiteral("Lumivex Pomoć\r\n"));
}

// The package's launcher, run as installed (beside an updater that records how it was started),
// with the prefix of the run and the suite in its drive_c.
TEST_F(Wine, LauncherPutsTheUpdaterIntoTheSuiteOfThePrefixAndStartsItThere)
{
    const QString paket = t.root(QStringLiteral("opt/lumivex/"));
    const QString zapis = t.root(QStringLiteral("pokrenut.txt"));
    QDir().mkpath(paket);
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMIVEX_PROGRAM_DIR "/lumivex-wine"),
                            paket + QStringLiteral("lumivex-wine")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMIVEX_PROGRAM_DIR "/RegSvr32.exe"),
                            paket + QStringLiteral("RegSvr32.exe")));
    t.write(paket + QStringLiteral("LumivexLiveUpdate20"),
            "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$WinDir\" \"$WINEPREFIX\" > '" + zapis.toUtf8() +
                ".tmp' && mv '" + zapis.toUtf8() + ".tmp' '" + zapis.toUtf8() + "'\n");
    QFile::setPermissions(paket + QStringLiteral("LumivexLiveUpdate20"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString mapa = wine->prefiks + QStringLiteral("/drive_c/Lumivex V20/");
    QDir().mkpath(mapa);
    t.write(mapa + QStringLiteral("LumivexLiveUpdate20"), "an older updater");
    // The choice made on an earlier start.
    const QString konfiguracija = t.root(QStringLiteral("konfiguracija"));
    IniSettingsStore postavke(konfiguracija + QStringLiteral("/Lumivex.ini"));
    postavke.write(QStringLiteral("Wine"), QStringLiteral("MapaPaketa"), mapa);
    postavke.write(QStringLiteral("Wine"), QStringLiteral("Prefiks"), wine->prefiks);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), konfiguracija);
    int status = -1;
    const QString ispis = Pokreni(paket + QStringLiteral("lumivex-wine"), {}, status, env);
    ASSERT_EQ(status, 0) << ispis.toStdString();
    const QDeadlineTimer rok(60000);
    while (!QFileInfo::exists(zapis) && !rok.hasExpired()) QThread::msleep(20);

    const QString winDir = wine->prefiks + QStringLiteral("/drive_c/windows");
    EXPECT_EQ(QString::fromUtf8(t.read(zapis)),
              mapa + QStringLiteral("LumivexLiveUpdate20\n") + winDir + u'\n' + wine->prefiks + u'\n');
    EXPECT_EQ(t.read(mapa + QStringLiteral("LumivexLiveUpdate20")),
              t.read(paket + QStringLiteral("LumivexLiveUpdate20")));
    EXPECT_EQ(t.read(mapa + QStringLiteral("RegSvr32.exe")), t.read(paket + QStringLiteral("RegSvr32.exe")));

    // The updater so started puts a release's help file into the prefix's Help folder.
    const QString mreža = t.root(QStringLiteral("mreža"));
    const QMap<QString, QByteArray> izdanje = ObjaviStarijojInstalaciji(t, mreža);
    ASSERT_FALSE(izdanje.isEmpty());
    t.računalo.env.insert(QStringLiteral("WinDir"), winDir);
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, mreža + u'/');
    ASSERT_TRUE(PripremiVerzijaTXT(o));
    t.dijalozi.answer({Dialogs::Answer::Yes});
    cmdDownloadAndUpdate_Click(o);
    ASSERT_FALSE(t.dijalozi.boxes().empty());
    EXPECT_EQ(t.dijalozi.boxes().back().text, QStringLiteral("Uspješno instalirani novi programi!"))
        << t.log().join(u'\n').toStdString();
    EXPECT_EQ(t.read(winDir + QStringLiteral("/Help/Pomoc.chm")), izdanje[QStringLiteral("Pomoc.chm")]);
    QDir(mapa).removeRecursively();
}

}  // namespace
