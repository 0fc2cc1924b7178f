#pragma once

#include "core/Okruzenje.h"
#include "platform/Dialogs.h"
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/MachineInfo.h"
#include "platform/NoWindowFinder.h"
#include "platform/QtHttpTransfer.h"
#include "platform/QtProcessRunner.h"
#include "platform/SystemClock.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

// Message boxes are printed and questions answered Yes, so a run never waits for anyone.
class PrintingDialogs : public Dialogs {
public:
    Answer show(Icon, const QString& caption, const QString& text, Buttons buttons) override
    {
        std::printf("[%s] %s\n", qPrintable(caption), qPrintable(text));
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString chooseFile(const FileRequest&) override { return {}; }
};

// A computer whose program folder is the bench's temporary folder, so the log and the installed files
// stay there; no environment, so the help folder is the program folder's own.
class BenchMachine : public MachineInfo {
public:
    QString folder;
    QString executableFolder() override { return folder; }
    bool computerName(QString& name) override
    {
        name = QStringLiteral("bench");
        return true;
    }
    QString userName() override { return QStringLiteral("bench"); }
    QString environment(const QString&) override { return {}; }
};

// The real ports over a file system the bench chooses, with the settings and registry in `folder`.
struct BenchOkruzenje {
    BenchOkruzenje(FileSystem& fs, const QString& folder)
        : postavke(folder + QStringLiteral("/config/Lumivex.ini")),
          registar(folder + QStringLiteral("/config/Lumivex/registry.ini")),
          o{fs, postavke, sat, racunalo, dijalozi, procesi, http, prozori, registar, model, stanje}
    {
    }

    IniSettingsStore postavke;
    SystemClock sat;
    BenchMachine racunalo;
    PrintingDialogs dijalozi;
    QtProcessRunner procesi;
    QtHttpTransfer http;
    NoWindowFinder prozori;
    IniRegistry registar;
    ProzorModel model;
    Stanje stanje;
    Okruzenje o;
};

// Writes `size` bytes of a fast pseudo-random stream at `path`, so that 7-Zip and the transfers meet
// data that does not compress; another `seed` gives other bytes.
inline bool makeFile(const QString& path, qint64 size, quint64 seed = 0)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::vector<quint64> block(1024 * 1024 / sizeof(quint64));
    quint64 x = 0x9E3779B97F4A7C15ull ^ (seed * 0x100000001B3ull);
    for (qint64 written = 0; written < size;) {
        for (quint64& v : block) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            v = x;
        }
        const qint64 n =
            std::min<qint64>(size - written, static_cast<qint64>(block.size() * sizeof(quint64)));
        if (f.write(reinterpret_cast<const char*>(block.data()), n) != n)
            return false;
        written += n;
    }
    return true;
}
