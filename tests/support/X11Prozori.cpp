#include "support/X11Prozori.h"

#include <vector>

#include <X11/Xlib.h>

ProzorNaZaslonu::ProzorNaZaslonu(const QString& naslov) : d_(XOpenDisplay(nullptr))
{
    if (!d_)
        return;
    const ::Window w = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 10, 10, 200, 100, 0, 0, 0);
    const QByteArray utf8 = naslov.toUtf8();
    XChangeProperty(d_, w, XInternAtom(d_, "_NET_WM_NAME", False), XInternAtom(d_, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.constData()), utf8.size());
    XMapWindow(d_, w);
    XSync(d_, False);
}

ProzorNaZaslonu::~ProzorNaZaslonu()
{
    if (d_)
        XCloseDisplay(d_);
}

namespace {

// The mapped children of the root whose WM_NAME is `naslov`.
std::vector<::Window> vidljivi(Display* d, const QString& naslov)
{
    std::vector<::Window> nađeni;
    ::Window root = 0, roditelj = 0;
    ::Window* djeca = nullptr;
    unsigned int broj = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &roditelj, &djeca, &broj))
        return nađeni;
    for (unsigned int i = 0; i < broj; ++i) {
        XWindowAttributes atributi;
        char* ime = nullptr;
        if (XGetWindowAttributes(d, djeca[i], &atributi) && atributi.map_state == IsViewable &&
            XFetchName(d, djeca[i], &ime) && ime) {
            if (QString::fromUtf8(ime) == naslov)
                nađeni.push_back(djeca[i]);
        }
        if (ime)
            XFree(ime);
    }
    if (djeca)
        XFree(djeca);
    return nađeni;
}

}  // namespace

bool VidljivProzor(const QString& naslov)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return false;
    const bool ima = !vidljivi(d, naslov).empty();
    XCloseDisplay(d);
    return ima;
}

bool ZatvoriProzorNaZaslonu(const QString& naslov)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return false;
    const std::vector<::Window> prozori = vidljivi(d, naslov);
    for (::Window prozor : prozori) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = prozor;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, prozor, False, NoEventMask, &e);
    }
    XSync(d, False);
    XCloseDisplay(d);
    return !prozori.empty();
}
