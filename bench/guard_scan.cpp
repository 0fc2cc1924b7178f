// How long one look for running suite programs takes on a busy desktop: the display named by
// $DISPLAY gets window-manager-like frames holding clients, two of them suite programs, and the
// program prints the time of ProvjeriPokrenutePrograme. Run it under a display of its own, e.g.
// `xvfb-run -a build/bench/bench_guard_scan`.
#include "install/ProvjeraPrograma.h"
#include "install/ProzoriPaketa.h"
#include "shell/Aplikacija.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::printf("no display: run under xvfb-run -a\n");
        return 0;
    }
    Aplikacija aplikacija;
    const Atom wmState = XInternAtom(d, "WM_STATE", False);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const ::Window root = DefaultRootWindow(d);

    for (const int frames : {10, 100, 300}) {
        // Each frame holds a decoration window holding a client with a caption and a few controls.
        std::vector<::Window> made;
        for (int i = 0; i < frames; ++i) {
            const ::Window frame = XCreateSimpleWindow(d, root, 0, 0, 100, 100, 0, 0, 0);
            const ::Window decoration = XCreateSimpleWindow(d, frame, 0, 0, 100, 100, 0, 0, 0);
            const ::Window client = XCreateSimpleWindow(d, decoration, 0, 0, 100, 100, 0, 0, 0);
            for (int c = 0; c < 5; ++c) XCreateSimpleWindow(d, client, 0, 0, 10, 10, 0, 0, 0);
            const QByteArray title = i == 1   ? ProzoriPaketa[3].naslov.toString().toUtf8()
                                     : i == 7 ? ProzoriPaketa[30].naslov.toString().toUtf8()
                                              : QByteArray("Dokument ") + QByteArray::number(i);
            XChangeProperty(d, client, netName, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(title.constData()), title.size());
            const long state[2] = {NormalState, 0};
            XChangeProperty(d, client, wmState, wmState, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(state), 2);
            XMapSubwindows(d, frame);
            XMapWindow(d, frame);
            made.push_back(frame);
        }
        XSync(d, False);

        const int runs = 5;
        QString result;
        QElapsedTimer timer;
        timer.start();
        for (int r = 0; r < runs; ++r) result = ProvjeriPokrenutePrograme(aplikacija.okruzenje());
        const double ms = double(timer.nsecsElapsed()) / 1e6 / runs;
        std::printf("%4d frames (%5d windows): %8.1f ms per check of %zu captions, found %lld\n", frames,
                    frames * 8, ms, std::size(ProzoriPaketa), static_cast<long long>(result.count(u'\n')));

        for (const ::Window w : made) XDestroyWindow(d, w);
        XSync(d, False);
    }
    XCloseDisplay(d);
    return 0;
}
