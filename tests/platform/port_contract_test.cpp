// The Linux implementations held to the same tables as the Windows bodies (tests/win32), so both
// sides of each port keep one contract.
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocalMachineInfo.h"
#include "platform/X11WindowFinder.h"
#include "platform/contract/FileFailureCases.h"
#include "platform/contract/MoveRace.h"
#include "platform/contract/RegistryCases.h"
#include "platform/contract/SettingsCases.h"
#include "platform/contract/WindowLookupCases.h"
#include "support/Xvfb.h"
#include "support/MissingTool.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <thread>

// Xlib's macros (None, True, Status) clash with Qt's headers, so it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The value's place in the INI store: the key path below "HKCU\" as the group path.
QString IniKey(const char* key, const char* valueName)
{
    return Text(key).replace(u'\\', u'/') + u'/' + Text(valueName);
}

TEST(FileSystemContract, FailureTable)
{
    using contract::FileOperation;
    LocalFileSystem fs;
    for (const auto& c : contract::kFileFailureCases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const auto put = [&](const char* name, const QByteArray& bytes) {
            QFile file(dir.filePath(QString::fromUtf8(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        put("a.txt", "A");
        put("b.txt", "B");
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("mapa")));
        const QString path = dir.filePath(Text(c.path));
        const QString target = dir.filePath(Text(c.target));
        qint64 size = 0;
        QByteArray contents;
        QStringList names;
        FsResult outcome;
        switch (c.operation) {
            case FileOperation::CopyReplacing:
                outcome = fs.copyReplacing(path, target);
                break;
            case FileOperation::Move:
                outcome = fs.move(path, target);
                break;
            case FileOperation::RemoveFile:
                outcome = fs.removeFile(path);
                break;
            case FileOperation::RemoveFolder:
                outcome = fs.removeFolder(path);
                break;
            case FileOperation::CreateFolder:
                outcome = fs.createFolder(path);
                break;
            case FileOperation::FileSize:
                outcome = fs.fileSize(path, size);
                break;
            case FileOperation::ListFiles:
                outcome = fs.listFiles(path, names);
                break;
            case FileOperation::ReadFile:
                outcome = fs.readFile(path, contents);
                break;
            case FileOperation::ReadInParts:
                outcome = fs.readInParts(path, [](const QByteArray&) { return true; });
                break;
            case FileOperation::AppendToFile:
                outcome = fs.appendToFile(path, "x");
                break;
            case FileOperation::SyncFile:
                outcome = fs.syncFile(path);
                break;
            case FileOperation::SyncFolder:
                outcome = fs.syncFolder(path);
                break;
            case FileOperation::SyncFileSystem:
                outcome = fs.syncFileSystem(path);
                break;
        }
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.error, Text(c.text));
        EXPECT_EQ(outcome.notFound, c.notFound);
        EXPECT_EQ(static_cast<int>(outcome.stage), static_cast<int>(c.stage));
        QByteArray a, b;
        EXPECT_TRUE(fs.readFile(dir.filePath(QStringLiteral("a.txt")), a) && a == "A");
        EXPECT_TRUE(fs.readFile(dir.filePath(QStringLiteral("b.txt")), b) && b == "B");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("mapa")}));
    }
}

// Spends time that the compiler cannot take away.
void Spin(int times)
{
    volatile int counter = 0;
    for (int i = 0; i < times; ++i) counter = counter + 1;
}

TEST(FileSystemContract, MoveNeverReplacesAFileThatAppearsMeanwhile)
{
    const contract::MoveRace& race = contract::kMoveRace;
    LocalFileSystem fs;
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.txt"));
    const QString b = dir.filePath(QStringLiteral("b.txt"));
    int moves = 0;
    int creations = 0;
    for (int round = 0; round < race.rounds; ++round) {
        const int offset = contract::MoveRaceOffset(race, round);
        QFile::remove(b);
        {
            QFile file(a);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(race.moved);
        }
        std::atomic<bool> ready{false};
        std::atomic<bool> go{false};
        std::atomic<bool> ended{false};
        bool created = false;
        std::thread creator([&] {
            ready = true;
            while (!go) std::this_thread::yield();
            Spin(std::max(offset, 0));
            QFile file(b);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                created = file.write(race.created) == qint64(qstrlen(race.created));
            file.close();
            ended = true;
        });
        while (!ready) std::this_thread::yield();
        go = true;
        Spin(std::max(-offset, 0));
        while (contract::MoveRaceWaitsForTheCreation(race, round) && !ended) std::this_thread::yield();
        const FsResult moved = fs.move(a, b);
        creator.join();

        QByteArray inA, inB;
        fs.readFile(a, inA);
        fs.readFile(b, inB);
        const bool whole =
            moved ? !created && !QFile::exists(a) && inB == race.moved
                  : created && moved.error == Text(race.text) && inA == race.moved && inB == race.created;
        ASSERT_TRUE(whole) << "round " << round << " (offset " << offset << "): the move "
                           << (moved ? "worked" : moved.error.toStdString()) << ", the creation "
                           << (created ? "worked" : "failed") << ", b.txt holds " << inB.toStdString();
        ++(moved ? moves : creations);
    }
    EXPECT_GT(moves, 0);
    EXPECT_GT(creations, 0);
}

TEST(RegistryContract, DwordTable)
{
    QTemporaryDir dir;
    IniRegistry registry(dir.filePath(QStringLiteral("Lumivex/registry.ini")));
    for (const auto& c : contract::kDwordWriteCases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_EQ(registry.writeDword(Text(c.path), c.value, error), c.ok);
        if (c.ok) {
            EXPECT_TRUE(error.isEmpty());
            QSettings stored(registry.path(), QSettings::IniFormat);
            EXPECT_EQ(stored.value(IniKey(c.key, c.valueName)).toULongLong(), c.value);
        } else {
            EXPECT_EQ(error, QStringLiteral("Nepoznata grana registra: ") + Text(c.path));
        }
    }
}

TEST(RegistryContract, ValueWrittenAgainKeepsTheLaterNumber)
{
    QTemporaryDir dir;
    IniRegistry registry(dir.filePath(QStringLiteral("registry.ini")));
    const auto& c = contract::kDwordRewrite;
    QString error;
    ASSERT_TRUE(registry.writeDword(Text(c.path), c.first, error));
    ASSERT_TRUE(registry.writeDword(Text(c.path), c.second, error));
    QSettings stored(registry.path(), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Software/Lumivex Test/Ponovo/Broj")).toUInt(), c.second);
}

TEST(SettingsContract, SettingsTable)
{
    for (const auto& c : contract::kSettingsCases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Lumivex.ini"));
        if (c.writeSection) {
            QString error;
            EXPECT_TRUE(IniSettingsStore(path).write(Text(c.writeSection), Text(c.writeKey), Text(c.written),
                                                     &error));
            EXPECT_TRUE(error.isEmpty());
        }
        EXPECT_EQ(IniSettingsStore(path).read(Text(c.readSection), Text(c.readKey), Text(c.defaultValue)),
                  Text(c.expected));
    }
}

TEST(MachineContract, NamesAndEnvironment)
{
    LocalMachineInfo machine;
    QString computer;
    ASSERT_TRUE(machine.computerName(computer));
    EXPECT_FALSE(computer.isEmpty());
    EXPECT_FALSE(machine.userName().isEmpty());
    qunsetenv("LUMIVEX_NEMA");
    EXPECT_EQ(machine.environment(QStringLiteral("LUMIVEX_NEMA")), QString());
    const QString longValue(5000, u'x');
    qputenv("LUMIVEX_DUGO", longValue.toUtf8());
    EXPECT_EQ(machine.environment(QStringLiteral("LUMIVEX_DUGO")), longValue);
    qputenv("LUMIVEX_IMA", QByteArrayLiteral("/opt/Lumivex Plaće"));
    EXPECT_EQ(machine.environment(QStringLiteral("LUMIVEX_IMA")), QStringLiteral("/opt/Lumivex Plaće"));
    EXPECT_FALSE(machine.executableFolder().endsWith(u'/'));
}

// Real X windows on a display of the test's own, each carrying a row's caption and class as Wine
// gives its windows both.
class WindowContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xvfb.running())
            SKIP_FOR_MISSING_TOOL() << xvfb.why().toStdString();
        d = XOpenDisplay(nullptr);
        ASSERT_NE(d, nullptr);
    }
    void TearDown() override
    {
        if (d)
            XCloseDisplay(d);
    }

    ::Window Open(const char* title, const char* className)
    {
        const ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 200, 100, 0, 0, 0);
        const QByteArray utf8(title);
        XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.constData()),
                        utf8.size());
        const QByteArray klass = QByteArray(className) + '\0' + className + '\0';
        XChangeProperty(d, w, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(klass.constData()), klass.size());
        XMapWindow(d, w);
        XSync(d, False);
        return w;
    }

    Xvfb xvfb;
    Display* d = nullptr;
    X11WindowFinder finder;
};

TEST_F(WindowContract, LookupTable)
{
    for (const auto& c : contract::kWindowLookupCases) {
        SCOPED_TRACE(c.name);
        const ::Window w = Open(c.title, c.className);
        const WindowFinder::Window found =
            c.byClass ? finder.findByClass(Text(c.query)) : finder.findByTitle(Text(c.query));
        EXPECT_EQ(found, c.found ? w : 0u);
        XDestroyWindow(d, w);
        XSync(d, False);
    }
}

TEST_F(WindowContract, MinimisedWindowStaysMinimisedThroughTheGuardsSteps)
{
    for (const bool minimised : {true, false}) {
        SCOPED_TRACE(minimised);
        const ::Window w = Open("Lumivex Knjigovodstvo 20", "LumivexProzor");
        // What a window manager does when it minimises a window.
        const long state[2] = {minimised ? IconicState : NormalState, 0};
        const Atom wmState = XInternAtom(d, "WM_STATE", False);
        XChangeProperty(d, w, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(state), 2);
        if (minimised)
            XUnmapWindow(d, w);
        XSync(d, False);

        const WindowFinder::Window found = finder.findByTitle(QStringLiteral("Lumivex Knjigovodstvo 20"));
        ASSERT_EQ(found, w);
        EXPECT_EQ(finder.isIconic(found), minimised);
        if (finder.isIconic(found))
            finder.showMinimized(found);
        finder.activate(found);
        EXPECT_EQ(finder.isIconic(found), minimised);
        XDestroyWindow(d, w);
        XSync(d, False);
    }
}

}  // namespace
