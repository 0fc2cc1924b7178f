#include "platform/X11WindowFinder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <functional>
#include <vector>

// Xlib defines macros (None, True, Bool, Status) that clash with Qt, so it comes after every Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>

namespace {

// A window that vanishes in the middle of a walk (BadWindow) is an ordinary event on a live desktop;
// the call that met it reports failure by its own result, and Xlib's default handler would end the
// program, so every error is ignored here.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

// One connection for one query, with the error handler in place while it is open.
class XConnection {
public:
    XConnection() : display_(XOpenDisplay(nullptr))
    {
        if (display_)
            previousHandler_ = XSetErrorHandler(ignoreError);
    }
    ~XConnection()
    {
        if (!display_)
            return;
        XSync(display_, False);
        XCloseDisplay(display_);
        XSetErrorHandler(previousHandler_);
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

private:
    Display* display_;
    XErrorHandler previousHandler_ = nullptr;
};

// A whole property, or false when the window has none or has vanished.
struct WindowProperty {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    QByteArray data;  // format 32 items are longs when read through Xlib, 32 bits when through XCB
};

bool readProperty(Display* d, ::Window w, Atom property, WindowProperty& s)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    // 64 KiB of 32-bit units is far more than any caption or class name.
    if (XGetWindowProperty(d, w, property, 0, 16384, False, AnyPropertyType, &type, &format, &items, &after,
                           &data) != Success) {
        return false;
    }
    s.type = type;
    s.format = format;
    s.items = items;
    if (data) {
        const int unit = format == 32 ? int(sizeof(long)) : format / 8;
        s.data = QByteArray(reinterpret_cast<const char*>(data), int(items) * unit);
        XFree(data);
    }
    return type != 0;
}

bool hasWmState(const XConnection& v, ::Window w, Atom wmState, long* stanje = nullptr)
{
    WindowProperty s;
    if (!readProperty(v.display(), w, wmState, s) || s.type != wmState || s.format != 32 || s.items < 1)
        return false;
    if (stanje)
        *stanje = reinterpret_cast<const long*>(s.data.constData())[0];
    return true;
}

// One reply of the X server's, freed when it goes out of scope.
template <typename T>
struct ServerReply {
    T* r = nullptr;
    explicit ServerReply(T* reply) : r(reply) {}
    ~ServerReply() { std::free(r); }
    ServerReply(const ServerReply&) = delete;
    ServerReply& operator=(const ServerReply&) = delete;
};

// The whole reply to a property request, or false when the window has none or has vanished. Errors
// come back with the reply instead of going to Xlib's handler.
bool receiveProperty(xcb_connection_t* c, xcb_get_property_cookie_t cookie, WindowProperty& s)
{
    xcb_generic_error_t* error = nullptr;
    ServerReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, &error));
    std::free(error);
    if (!reply.r || reply.r->type == XCB_ATOM_NONE)
        return false;
    s.type = reply.r->type;
    s.format = reply.r->format;
    s.items = reply.r->value_len;
    s.data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply.r)),
                        xcb_get_property_value_length(reply.r));
    return true;
}

xcb_get_property_cookie_t requestProperty(xcb_connection_t* c, ::Window w, Atom property)
{
    // 64 KiB of 32-bit units is far more than any caption or class name.
    return xcb_get_property(c, 0, xcb_window_t(w), xcb_atom_t(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 16384);
}

// A caption decoded by its property type: UTF-8, Latin-1 or compound text.
bool decodeTitle(const XConnection& v, const WindowProperty& s, Atom utf8, Atom compound, QString& naslov)
{
    if (s.format != 8)
        return false;
    if (s.type == utf8) {
        naslov = QString::fromUtf8(s.data);
    } else if (s.type == XA_STRING) {
        naslov = QString::fromLatin1(s.data);
    } else if (s.type == compound) {
        QByteArray bytes = s.data;
        XTextProperty text;
        text.value = reinterpret_cast<unsigned char*>(bytes.data());
        text.encoding = s.type;
        text.format = s.format;
        text.nitems = s.items;
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(v.display(), &text, &list, &count) < Success || !list)
            return false;
        naslov.clear();
        for (int i = 0; i < count; ++i) naslov += QString::fromUtf8(list[i]);
        XFreeStringList(list);
    } else {
        return false;
    }
    return true;
}

// The top-level windows, from the top of the stack down: below each child of the root, the client
// windows a window manager marks with WM_STATE (not their children, which are the program's own
// controls); a child of the root with no such client below it, as on a display without a manager,
// counts with everything below it. The tree is walked a level at a time with every request of a level
// sent before the first reply is read, so a desktop of hundreds of windows costs a few round trips.
QList<::Window> topLevelWindows(const XConnection& v, Atom wmState)
{
    xcb_connection_t* c = XGetXCBConnection(v.display());
    struct Grana {
        QList<::Window> klijenti;
        QList<::Window> ostali;
    };
    QList<Grana> grane;
    struct Čvor {
        ::Window w;
        qsizetype grana;
    };
    QList<Čvor> razina;

    for (int screen = 0; screen < ScreenCount(v.display()); ++screen) {
        xcb_generic_error_t* error = nullptr;
        ServerReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(
            c, xcb_query_tree(c, xcb_window_t(RootWindow(v.display(), screen))), &error));
        std::free(error);
        if (!tree.r)
            continue;
        const xcb_window_t* children = xcb_query_tree_children(tree.r);
        for (int i = xcb_query_tree_children_length(tree.r) - 1; i >= 0; --i) {
            razina.append(Čvor{children[i], grane.size()});
            grane.append(Grana());
        }
    }

    while (!razina.isEmpty()) {
        std::vector<xcb_get_property_cookie_t> stanja;
        std::vector<xcb_query_tree_cookie_t> stabla;
        for (const Čvor& čvor : razina) {
            stanja.push_back(requestProperty(c, čvor.w, wmState));
            stabla.push_back(xcb_query_tree(c, xcb_window_t(čvor.w)));
        }
        QList<Čvor> sljedeća;
        for (qsizetype i = 0; i < razina.size(); ++i) {
            WindowProperty stanje;
            const bool klijent = receiveProperty(c, stanja[i], stanje) && stanje.type == wmState;
            xcb_generic_error_t* error = nullptr;
            ServerReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, stabla[i], &error));
            std::free(error);
            Grana& grana = grane[razina[i].grana];
            if (klijent) {
                grana.klijenti << razina[i].w;
                continue;
            }
            if (!tree.r)
                continue;  // vanished during the walk
            grana.ostali << razina[i].w;
            const xcb_window_t* children = xcb_query_tree_children(tree.r);
            for (int k = 0; k < xcb_query_tree_children_length(tree.r); ++k)
                sljedeća.append(Čvor{children[k], razina[i].grana});
        }
        razina = sljedeća;
    }

    QList<::Window> prozori;
    for (const Grana& grana : grane) prozori << (grana.klijenti.isEmpty() ? grana.ostali : grana.klijenti);
    return prozori;
}

// The first of `prozori` carrying one of the properties `svojstva` that `odgovara` accepts; the
// properties of all the windows are asked for at once.
::Window PrviKojiOdgovara(const XConnection& v, const QList<::Window>& prozori, const QList<Atom>& svojstva,
                          const std::function<bool(const WindowProperty&)>& odgovara)
{
    xcb_connection_t* c = XGetXCBConnection(v.display());
    std::vector<xcb_get_property_cookie_t> cookies;
    for (const ::Window w : prozori)
        for (const Atom a : svojstva) cookies.push_back(requestProperty(c, w, a));
    ::Window nađen = 0;
    size_t k = 0;
    for (const ::Window w : prozori) {
        for (qsizetype a = 0; a < svojstva.size(); ++a, ++k) {
            // Every reply is read, even after a match, so that none is left waiting on the connection.
            WindowProperty s;
            if (receiveProperty(c, cookies[k], s) && !nađen && odgovara(s))
                nađen = w;
        }
    }
    return nađen;
}

}  // namespace

X11WindowFinder::Window X11WindowFinder::findByClass(const QString& className)
{
    XConnection v;
    if (!v.display() || className.isEmpty())
        return 0;
    const QList<::Window> prozori = topLevelWindows(v, v.atom("WM_STATE"));
    // WM_CLASS holds the instance name and then the class name, each ending in a zero byte.
    return PrviKojiOdgovara(v, prozori, {XA_WM_CLASS}, [&](const WindowProperty& s) {
        if (s.type != XA_STRING || s.format != 8)
            return false;
        for (const QByteArray& part : s.data.split('\0'))
            if (!part.isEmpty() && QString::fromLatin1(part).compare(className, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    });
}

X11WindowFinder::Window X11WindowFinder::findByTitle(const QString& title)
{
    XConnection v;
    if (!v.display() || title.isEmpty())
        return 0;
    const QList<::Window> prozori = topLevelWindows(v, v.atom("WM_STATE"));
    const Atom utf8 = v.atom("UTF8_STRING");
    const Atom compound = v.atom("COMPOUND_TEXT");
    return PrviKojiOdgovara(v, prozori, {v.atom("_NET_WM_NAME"), XA_WM_NAME}, [&](const WindowProperty& s) {
        QString naslov;
        return decodeTitle(v, s, utf8, compound, naslov) && naslov.compare(title, Qt::CaseInsensitive) == 0;
    });
}

bool X11WindowFinder::isIconic(Window window)
{
    XConnection v;
    if (!v.display() || window == 0)
        return false;
    long stanje = 0;
    return hasWmState(v, ::Window(window), v.atom("WM_STATE"), &stanje) && stanje == IconicState;
}

void X11WindowFinder::showMinimized(Window) {}

void X11WindowFinder::activate(Window window)
{
    XConnection v;
    if (!v.display() || window == 0)
        return;
    Display* d = v.display();
    const ::Window w = ::Window(window);
    long stanje = 0;
    if (hasWmState(v, w, v.atom("WM_STATE"), &stanje) && stanje == IconicState)
        return;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, w, &attributes))
        return;

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = v.atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;  // the request comes from an application
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    XSendEvent(d, attributes.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XRaiseWindow(d, w);
}

void X11WindowFinder::sendSuiteMessage(Window) {}
