#include "install/Registracija.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

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

    // The started tool runs on by itself; this waits for what it recorded (synchronisation with a
    // real process, with a deadline far beyond what it needs).
    QStringList Recorded() const
    {
        const QDeadlineTimer deadline(60000);
        while (!QFileInfo::exists(record()) && !deadline.hasExpired()) QThread::msleep(10);
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

TEST_F(Registration, ToolTheSystemCannotStartFails)
{
    WriteExecutable(tools() + QStringLiteral("/RegSvr32.exe"), "#!/nonexistent/interpreter\n");
    const ScopedPath path(tools());
    EXPECT_FALSE(RegistrirajDLL(t.o, t.program(), QStringLiteral("A.dll")));
    const QString command = QStringLiteral("RegSvr32.exe \"") + t.program() + QStringLiteral("A.dll\" /s");
    EXPECT_EQ(t.log(), QStringList({command, command + QStringLiteral(" Neuspješno")}));
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

TEST_F(ShippedTool, HandsItsArgumentsToWinesRegsvr32)
{
    const QString bin = t.root(QStringLiteral("bin"));
    t.mkdir(bin);
    // Stand-ins that use only the shell's own commands, so PATH can hold nothing else.
    WriteExecutable(bin + QStringLiteral("/wine"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" +
                                                       t.root(QStringLiteral("wine.txt")).toUtf8() + "'\n");
    int exitCode = -1;
    Run(bin, {component, QStringLiteral("/s")}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(t.read(t.root(QStringLiteral("wine.txt"))), "regsvr32\n" + component.toUtf8() + "\n/s\n");

    // With winepath at hand the component reaches Wine as a Windows path; the switches do not.
    WriteExecutable(bin + QStringLiteral("/winepath"),
                    "#!/bin/sh\n[ \"$1\" = -w ] && printf 'Z:%s\\n' \"$2\"\n");
    Run(bin, {QStringLiteral("/u"), QStringLiteral("/S"), component}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(t.read(t.root(QStringLiteral("wine.txt"))), "regsvr32\n/u\n/S\nZ:" + component.toUtf8() + "\n");
}

}  // namespace
