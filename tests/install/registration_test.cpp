#include "install/Registracija.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace {

void WriteExecutable(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                     QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

// A registration tool that writes its arguments, one a line, to `record` and does nothing else. The
// record appears whole (written aside, then renamed) so that a reader never sees half of it.
QByteArray Recorder(const QString& record)
{
    return "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toUtf8() + ".tmp' && /bin/mv '" + record.toUtf8() +
           ".tmp' '" + record.toUtf8() + "'\n";
}

// PATH as a test sets it, put back afterwards.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path) : old_(qgetenv("PATH")) { qputenv("PATH", path.toUtf8()); }
    ~ScopedPath() { qputenv("PATH", old_); }

private:
    QByteArray old_;
};

class Registration : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.mkdir(tools());
        t.mkdir(t.root(QStringLiteral("empty")));
    }

    QString tools() const { return t.root(QStringLiteral("tools")); }
    QString record() const { return t.root(QStringLiteral("arguments.txt")); }

    // What the tool recorded: the call has waited for it to end, so the record is already whole.
    QStringList Recorded() const
    {
        QString text = QString::fromUtf8(t.read(record()));
        text.chop(1);
        return text.split(u'\n');
    }

    TestOkruzenje t;
};

struct CallCase {
    const char* name;
    bool unregister;
    QString folder;  // relative to the temporary root; empty for the program folder
    bool componentExists;
};

void PrintTo(const CallCase& c, std::ostream* os)
{
    *os << c.name;
}

class RegistrationCall : public Registration, public ::testing::WithParamInterface<CallCase> {};

TEST_P(RegistrationCall, StartsTheToolWithTheCommandLinesArgumentsAndLogsTwoLines)
{
    const CallCase& c = GetParam();
    WriteExecutable(tools() + QStringLiteral("/RegSvr32.exe"), Recorder(record()));
    const ScopedPath path(tools() + u':' + qEnvironmentVariable("PATH"));

    const QString folder = c.folder.isEmpty() ? t.program() : t.root(c.folder);
    const QString ime = QStringLiteral("LumiIzmjBaza20.dll");
    if (c.componentExists)
        t.write(folder + ime, "MZ");

    const bool ok = c.unregister ? DeregistrirajDLL(t.o, folder, ime) : RegistrirajDLL(t.o, folder, ime);

    EXPECT_TRUE(ok);
    const QString command = QStringLiteral("RegSvr32.exe \"") + folder +
                            QStringLiteral("LumiIzmjBaza20.dll\"") +
                            (c.unregister ? QStringLiteral(" /u /s") : QStringLiteral(" /s"));
    EXPECT_EQ(t.log(), QStringList({command, command + QStringLiteral(" Uspješno")}));
    const QStringList expected = c.unregister
                                     ? QStringList{folder + ime, QStringLiteral("/u"), QStringLiteral("/s")}
                                     : QStringList{folder + ime, QStringLiteral("/s")};
    EXPECT_EQ(Recorded(), expected);
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RegistrationCall,
                         ::testing::Values(CallCase{"Register", false, {}, true},
                                           CallCase{"Unregister", true, {}, true},
                                           CallCase{"FolderWithBlanksIsOneArgument", false,
                                                    QStringLiteral("Lumivex program/Moje komponente/"), true},
                                           CallCase{"MissingComponentStillStartsTheTool", true, {}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Registration, ToolMissingFromPathFails)
{
    const ScopedPath path(t.root(QStringLiteral("empty")));
    EXPECT_FALSE(RegistrirajDLL(t.o, t.program(), QStringLiteral("LumiIzmjBaza20.dll")));
    EXPECT_FALSE(DeregistrirajDLL(t.o, t.program(), QStringLiteral("LumiIzmjBaza20.dll")));
    const QString command =
        QStringLiteral("RegSvr32.exe \"") + t.program() + QStringLiteral("LumiIzmjBaza20.dll\"");
    EXPECT_EQ(
        t.log(),
        QStringList({command + QStringLiteral(" /s"), command + QStringLiteral(" /s Neuspješno"),
                     command + QStringLiteral(" /u /s"), command + QStringLiteral(" /u /s Neuspješno")}));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

TEST_F(Registration, ToolTheSystemCannotStartFailsWithTheReason)
{
    WriteExecutable(tools() + QStringLiteral("/RegSvr32.exe"), "#!/nonexistent/interpreter\n");
    const ScopedPath path(tools());
    EXPECT_FALSE(RegistrirajDLL(t.o, t.program(), QStringLiteral("A.dll")));
    const QString command = QStringLiteral("RegSvr32.exe \"") + t.program() + QStringLiteral("A.dll\" /s");
    const QStringList log = t.log();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], command);
    EXPECT_TRUE(log[1].startsWith(command + QStringLiteral(" Neuspješno, "))) << log[1].toStdString();
    EXPECT_GT(log[1].size(), (command + QStringLiteral(" Neuspješno, ")).size());
}

struct OutcomeCase {
    const char* name;
    QByteArray script;  // the tool's body
    bool ok;
    QString logTail;  // what follows the command line on the second log line
};

void PrintTo(const OutcomeCase& c, std::ostream* os)
{
    *os << c.name;
}

class RegistrationOutcome : public Registration, public ::testing::WithParamInterface<OutcomeCase> {};

// The tool's own verdict decides: its exit status, and what it wrote when it failed.
TEST_P(RegistrationOutcome, ExitStatusDecidesAndAFailureLogsWhatTheToolWrote)
{
    const OutcomeCase& c = GetParam();
    WriteExecutable(tools() + QStringLiteral("/RegSvr32.exe"), "#!/bin/sh\n" + c.script);
    const ScopedPath path(tools() + u':' + qEnvironmentVariable("PATH"));
    EXPECT_EQ(DeregistrirajDLL(t.o, t.program(), QStringLiteral("A.dll")), c.ok);
    const QString command = QStringLiteral("RegSvr32.exe \"") + t.program() + QStringLiteral("A.dll\" /u /s");
    EXPECT_EQ(t.log(), QStringList({command, command + c.logTail}));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistrationOutcome,
    ::testing::Values(
        OutcomeCase{"SilentSuccess", "exit 0\n", true, QStringLiteral(" Uspješno")},
        OutcomeCase{"SuccessWithChatter", "echo 'sve u redu'\nexit 0\n", true, QStringLiteral(" Uspješno")},
        OutcomeCase{"SilentFailure", "exit 3\n", false, QStringLiteral(" Neuspješno, izlazni status 3")},
        OutcomeCase{"FailureWithBothStreamsOnOneLine",
                    "echo 'prvi red'\necho\necho '  drugi red  ' >&2\nexit 4\n", false,
                    QStringLiteral(" Neuspješno, izlazni status 4: prvi red | drugi red")},
        OutcomeCase{"FailureInLettersOfTheLanguage", "echo 'komponenta nema ulaznu točku' >&2\nexit 5\n",
                    false, QStringLiteral(" Neuspješno, izlazni status 5: komponenta nema ulaznu točku")},
        OutcomeCase{"ToolKilledBySignal", "echo 'prekid'\nkill -9 $$\n", false,
                    QStringLiteral(" Neuspješno, program se srušio: prekid")}),
    [](const auto& info) { return std::string(info.param.name); });

// The component must not be moved or replaced while the tool still works on it, so the call returns
// only once the tool has ended; meanwhile the window goes on processing its events.
TEST_F(Registration, WaitsForTheToolWhileEventsAreProcessed)
{
    WriteExecutable(tools() + QStringLiteral("/RegSvr32.exe"),
                    "#!/bin/sh\nsleep 0.3\necho gotovo > '" + record().toUtf8() + "'\n");
    const ScopedPath path(tools() + u':' + qEnvironmentVariable("PATH"));
    bool eventSeen = false;
    QTimer::singleShot(0, [&] { eventSeen = true; });
    EXPECT_TRUE(RegistrirajDLL(t.o, t.program(), QStringLiteral("A.dll")));
    EXPECT_EQ(t.read(record()), "gotovo\n");
    EXPECT_TRUE(eventSeen);
}

TEST_F(Registration, ToolBesideTheProgramServesWhenPathLacksIt)
{
    WriteExecutable(t.program() + QStringLiteral("RegSvr32.exe"), Recorder(record()));
    const ScopedPath path(t.root(QStringLiteral("empty")));
    EXPECT_TRUE(RegistrirajDLL(t.o, t.program(), QStringLiteral("A.dll")));
    EXPECT_EQ(Recorded(), QStringList({t.program() + QStringLiteral("A.dll"), QStringLiteral("/s")}));
}

// The RegSvr32.exe that ships beside the program.
class ShippedTool : public ::testing::Test {
protected:
    QString Run(const QString& pathDir, const QStringList& arguments, int& exitCode)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), pathDir);
        p.setProcessEnvironment(env);
        p.start(tool, arguments);
        EXPECT_TRUE(p.waitForFinished(60000));
        exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardError());
    }

    TestOkruzenje t;
    const QString tool = QStringLiteral(LUMIVEX_PROGRAM_DIR "/RegSvr32.exe");
    const QString component = QStringLiteral("/opt/Lumivex program/LumiIzmjBaza20.dll");
};

TEST_F(ShippedTool, LiesBesideTheProgramReadyToRun)
{
    EXPECT_TRUE(QFileInfo(tool).isExecutable());
}

TEST_F(ShippedTool, WithoutWineNotesThereIsNothingToRegisterAndSucceeds)
{
    t.mkdir(t.root(QStringLiteral("empty")));
    int exitCode = -1;
    const QString err = Run(t.root(QStringLiteral("empty")),
                            {component, QStringLiteral("/u"), QStringLiteral("/s")}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(err, QStringLiteral("RegSvr32.exe: nema Wine-a, nema se što registrirati: ") + component +
                       QStringLiteral(" /u /s\n"));
}

TEST_F(ShippedTool, HandsItsArgumentsUnchangedToWinesRegsvr32WithoutWinesHints)
{
    const QString bin = t.root(QStringLiteral("bin"));
    t.mkdir(bin);
    // A stand-in that uses only the shell's own commands, so PATH can hold nothing else.
    WriteExecutable(bin + QStringLiteral("/wine"),
                    "#!/bin/sh\nprintf '%s\\n' \"WINEDEBUG=$WINEDEBUG\" \"$@\" > '" +
                        t.root(QStringLiteral("wine.txt")).toUtf8() + "'\n");
    // A winepath that would be noticed: the Linux path reaches Wine's regsvr32 as it is.
    WriteExecutable(bin + QStringLiteral("/winepath"), "#!/bin/sh\nprintf 'Z:%s\\n' \"$2\"\n");
    int exitCode = -1;
    Run(bin, {component, QStringLiteral("/s")}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(t.read(t.root(QStringLiteral("wine.txt"))),
              "WINEDEBUG=-all\nregsvr32\n" + component.toUtf8() + "\n/s\n");
    Run(bin, {QStringLiteral("/u"), QStringLiteral("/S"), component}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(t.read(t.root(QStringLiteral("wine.txt"))),
              "WINEDEBUG=-all\nregsvr32\n/u\n/S\n" + component.toUtf8() + "\n");
}

struct StatusCase {
    int status;
    QStringList arguments;
    QString message;  // {C}: the component
};

// With /s Wine's regsvr32 says nothing; the stand-in says why in the updater's language.
TEST_F(ShippedTool, FailureKeepsWinesExitStatusAndSaysWhy)
{
    const QString bin = t.root(QStringLiteral("bin"));
    t.mkdir(bin);
    const QList<StatusCase> cases = {
        {1, {component, QStringLiteral("/s")}, QStringLiteral("neispravni argumenti: {C} /s")},
        {3,
         {component, QStringLiteral("/s")},
         QStringLiteral("komponenta se ne može učitati (nema je ili nije ispravna): {C} /s")},
        {4,
         {component, QStringLiteral("/s")},
         QStringLiteral("komponenta nema ulaznu točku DllRegisterServer: {C} /s")},
        {4,
         {component, QStringLiteral("/u"), QStringLiteral("/s")},
         QStringLiteral("komponenta nema ulaznu točku DllUnregisterServer: {C} /u /s")},
        {5,
         {component, QStringLiteral("/s")},
         QStringLiteral("DllRegisterServer komponente javlja grešku: {C} /s")},
        {7,
         {component, QStringLiteral("/s")},
         QStringLiteral("wine regsvr32 je završio sa statusom 7: {C} /s")},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.status);
        WriteExecutable(bin + QStringLiteral("/wine"),
                        "#!/bin/sh\nexit " + QByteArray::number(c.status) + "\n");
        int exitCode = -1;
        const QString err = Run(bin, c.arguments, exitCode);
        EXPECT_EQ(exitCode, c.status);
        EXPECT_EQ(err, QStringLiteral("RegSvr32.exe: ") +
                           QString(c.message).replace(QStringLiteral("{C}"), component) + u'\n');
    }
}

// Wine's loader sometimes dies on its way out with an assertion of the dynamic linker; the stand-in
// runs regsvr32 once more, so the verdict is regsvr32's own. Any other failure is not repeated.
TEST_F(ShippedTool, ALoaderThatDiesOnItsWayOutIsRunOnceMore)
{
    const QString bin = t.root(QStringLiteral("bin"));
    t.mkdir(bin);
    const QByteArray runs = t.root(QStringLiteral("runs.txt")).toUtf8();
    const QByteArray crashed = t.root(QStringLiteral("crashed")).toUtf8();
    struct LoaderCase {
        const char* name;
        QByteArray firstRun;  // what the stand-in for wine does the first time; later runs succeed
        int exitCode;
        int runs;
        QString err;
    };
    const QList<LoaderCase> cases = {
        {"loader assertion", "echo \"Inconsistency detected by ld.so: dl-fini.c: 87: _dl_fini: Assertion\" >&2; exit 127",
         0, 2, QString()},
        {"other status 127", "echo 'wine: not found' >&2; exit 127", 127, 1,
         QStringLiteral("wine: not found\nRegSvr32.exe: wine regsvr32 je završio sa statusom 127: ") + component +
             QStringLiteral(" /s\n")},
    };
    for (const LoaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(QString::fromUtf8(runs));
        QFile::remove(QString::fromUtf8(crashed));
        WriteExecutable(bin + QStringLiteral("/wine"),
                        "#!/bin/sh\necho run >> '" + runs + "'\nif [ ! -e '" + crashed + "' ]; then : > '" +
                            crashed + "'; " + c.firstRun + "; fi\nexit 0\n");
        int exitCode = -1;
        const QString err = Run(bin, {component, QStringLiteral("/s")}, exitCode);
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_EQ(err, c.err);
        EXPECT_EQ(t.read(QString::fromUtf8(runs)), QByteArray("run\n").repeated(c.runs));
    }
}

// The smallest PE header: "MZ", the header's offset at 0x3c, the signature and the machine field.
QByteArray PeHeader(quint16 machine)
{
    QByteArray bytes(0x40, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3c] = 0x40;
    bytes += QByteArray("PE\0\0", 4);
    bytes += char(machine & 0xff);
    bytes += char(machine >> 8);
    bytes += QByteArray(64, '\0');
    return bytes;
}

// The suite's components are 32-bit; a Wine that can only run 64-bit code cannot load them and would
// only exit with status 3, so the stand-in names what is missing.
TEST_F(ShippedTool, ThirtyTwoBitComponentNeedsAThirtyTwoBitWine)
{
    const QString wine = t.root(QStringLiteral("wine"));
    t.mkdir(wine + QStringLiteral("/bin"));
    WriteExecutable(wine + QStringLiteral("/bin/wine"),
                    "#!/bin/sh\necho ran > '" + t.root(QStringLiteral("ran.txt")).toUtf8() + "'\n");
    const QString path = wine + QStringLiteral("/bin:") + qEnvironmentVariable("PATH");
    const QString folder = t.root(QStringLiteral("Moje komponente čćž/"));
    t.write(folder + QStringLiteral("K32.dll"), PeHeader(0x014c));
    t.write(folder + QStringLiteral("K64.dll"), PeHeader(0x8664));
    t.write(folder + QStringLiteral("Nije.dll"), "MZ ovo nije PE datoteka");

    int exitCode = -1;
    QString err = Run(path, {folder + QStringLiteral("K32.dll"), QStringLiteral("/s")}, exitCode);
    EXPECT_EQ(exitCode, 3);
    EXPECT_EQ(err,
              QStringLiteral("RegSvr32.exe: ") + folder +
                  QStringLiteral("K32.dll je 32-bitna komponenta, a nedostaje 32-bitni Wine (paket wine32; "
                                 "dodaje se s dpkg --add-architecture i386 && apt-get update && apt-get "
                                 "install wine32:i386)\n"));
    EXPECT_FALSE(t.exists(t.root(QStringLiteral("ran.txt"))));

    // A 64-bit component, and a file that is no PE file, go to Wine as they are.
    for (const QString& other : {QStringLiteral("K64.dll"), QStringLiteral("Nije.dll")}) {
        SCOPED_TRACE(other.toStdString());
        QFile::remove(t.root(QStringLiteral("ran.txt")));
        Run(path, {folder + other, QStringLiteral("/s")}, exitCode);
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(t.exists(t.root(QStringLiteral("ran.txt"))));
    }

    // With Debian's 32-bit loader beside that Wine, the 32-bit component goes to Wine too.
    t.mkdir(wine + QStringLiteral("/lib/wine"));
    WriteExecutable(wine + QStringLiteral("/lib/wine/wine"), "#!/bin/sh\n");
    QFile::remove(t.root(QStringLiteral("ran.txt")));
    err = Run(path, {folder + QStringLiteral("K32.dll"), QStringLiteral("/s")}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(err, QString());
    EXPECT_TRUE(t.exists(t.root(QStringLiteral("ran.txt"))));
}

}  // namespace
