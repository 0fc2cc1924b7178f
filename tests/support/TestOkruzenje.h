#pragma once

#include "core/Okruzenje.h"
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/QtHttpTransfer.h"
// The real file system and processes are the system's own: on Windows the Win32 bodies.
#ifdef Q_OS_WIN
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProcessRunner.h"
using TestFileSystem = Win32FileSystem;
using TestProcessRunner = Win32ProcessRunner;
#else
#include "platform/LocalFileSystem.h"
#include "platform/QtProcessRunner.h"
using TestFileSystem = LocalFileSystem;
using TestProcessRunner = QtProcessRunner;
#endif
#include "support/FakeMachineInfo.h"
#include "support/FakeWindowFinder.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedDialogs.h"
#include "support/VirtualClock.h"

#include <QTemporaryDir>
#include <vector>

// A temporary program folder with every port a procedure needs: the real file system behind a
// fault injector, scripted dialogs, a virtual clock, a settings store and registry in the
// temporary folder, and a fake computer whose executable lies in the program folder.
class TestOkruzenje {
public:
    // `httpWindowMs`: the transfers' time-out window.
    explicit TestOkruzenje(int httpWindowMs = 60000);

    // The program folder, ending in "/".
    QString program() const { return program_; }
    // A path below the temporary root (outside the program folder), e.g. for a network source.
    QString root(const QString& relative = QString()) const;

    // Writes a file (creating its folders), given a path relative to the program folder or absolute.
    void write(const QString& path, const QByteArray& bytes) const;
    QByteArray read(const QString& path) const;
    bool exists(const QString& path) const;
    void mkdir(const QString& path) const;
    QString abs(const QString& path) const;

    // The lines of Update.log without their date and time.
    QStringList log() const;
    // The log lines that begin with `prefix`, without it.
    QStringList logAfter(const QString& prefix) const;
    // The picture of every row of the grid of needed updates, top to bottom.
    std::vector<int> gridPictures() const;
    // The operations named in `names` on `path` fail with `error` until the next message box is
    // shown: the user cures the fault while reading the box.
    void failUntilNextBox(const QString& path, const QString& error, const QStringList& names);

    TestOkruzenje(const TestOkruzenje&) = delete;
    TestOkruzenje& operator=(const TestOkruzenje&) = delete;

    QTemporaryDir dir;
    TestFileSystem realFs;
    FaultyFileSystem fs{realFs};
    IniSettingsStore postavke;
    VirtualClock sat;
    FakeMachineInfo računalo;
    ScriptedDialogs dijalozi;
    TestProcessRunner procesi;
    QtHttpTransfer http;
    FakeWindowFinder prozori;
    IniRegistry registar;
    ProzorModel model;
    Stanje stanje;
    Okruzenje o;

private:
    QString program_;
};
