// Prints how much processor time a five-second responsive wait costs on the computer's clock, and how
// often a window timer got its turn meanwhile.
#include "core/Cekanje.h"
#include "core/Okruzenje.h"
#include "platform/IniRegistry.h"
#include "platform/IniSettingsStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocalMachineInfo.h"
#include "platform/NoWindowFinder.h"
#include "platform/QtHttpTransfer.h"
#include "platform/QtProcessRunner.h"
#include "platform/SystemClock.h"
#include "shell/QtDialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

double procesorskeSekunde()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir mapa;
    LocalFileSystem fs;
    IniSettingsStore postavke(mapa.path() + QStringLiteral("/Lumivex.ini"));
    SystemClock sat;
    LocalMachineInfo računalo;
    QtDialogs dijalozi;
    QtProcessRunner procesi;
    QtHttpTransfer http;
    NoWindowFinder prozori;
    IniRegistry registar(mapa.path() + QStringLiteral("/registry.ini"));
    ProzorModel model;
    Stanje stanje;
    Okruzenje o{fs, postavke, sat, računalo, dijalozi, procesi, http, prozori, registar, model, stanje};

    // A timer like the window's date and time panels, to show that events are served during the wait.
    int otkucaji = 0;
    QTimer sekundar;
    QObject::connect(&sekundar, &QTimer::timeout, [&] { ++otkucaji; });
    sekundar.start(50);

    constexpr int sekundi = 5;
    const double cpuPrije = procesorskeSekunde();
    const auto zidPrije = std::chrono::steady_clock::now();
    Čekaj(o, sekundi);
    const double zid = std::chrono::duration<double>(std::chrono::steady_clock::now() - zidPrije).count();
    const double cpu = procesorskeSekunde() - cpuPrije;

    std::printf("Čekaj(%d) on the system clock\n", sekundi);
    std::printf("  wall time:       %.3f s\n", zid);
    std::printf("  processor time:  %.4f s\n", cpu);
    std::printf("  one core's load: %.2f %% (target under 2 %%)\n", 100.0 * cpu / zid);
    std::printf("  50 ms timer ticks served during the wait: %d (about %d expected)\n", otkucaji,
                static_cast<int>(zid * 20));
    return 0;
}
