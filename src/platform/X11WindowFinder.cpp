#include "platform/X11WindowFinder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Xlib defines macros (None, True, Bool, Status) that clash with Qt, so it comes after every Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// A window that vanishes in the middle of a walk (BadWindow) is an ordinary event on a live desktop;
// the call that met it reports failure by its own result, and Xlib's default handler would end the
// program, so every error is ignored here.
int ZanemariGrešku(Display*, XErrorEvent*) {
    return 0;
}

// One connection for one query, with the error handler in place while it is open.
class Veza {
public:
    Veza() : display_(XOpenDisplay(nullptr)) {
        if (display_)
            prethodni_ = XSetErrorHandler(ZanemariGrešku);
    }
    ~Veza() {
        if (!display_)
            return;
        XSync(display_, False);
        XCloseDisplay(display_);
        XSetErrorHandler(prethodni_);
    }
    Veza(const Veza&) = delete;
    Veza& operator=(const Veza&) = delete;

    Display* display() const { return display_; }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

private:
    Display* display_;
    XErrorHandler prethodni_ = nullptr;
};

// A whole property, or false when the window has none or has vanished.
struct Svojstvo {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    QByteArray data;  // format 32 items are longs, as Xlib hands them out
};

bool PročitajSvojstvo(Display* d, ::Window w, Atom property, Svojstvo& s) {
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

bool ImaStanje(const Veza& v, ::Window w, Atom wmState, long* stanje = nullptr) {
    Svojstvo s;
    if (!PročitajSvojstvo(v.display(), w, wmState, s) || s.type != wmState || s.format != 32 || s.items < 1)
        return false;
    if (stanje)
        *stanje = reinterpret_cast<const long*>(s.data.constData())[0];
    return true;
}

QList<::Window> Djeca(Display* d, ::Window w) {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    QList<::Window> list;
    if (!XQueryTree(d, w, &root, &parent, &children, &count))
        return list;
    for (unsigned int i = 0; i < count; ++i) list << children[i];
    if (children)
        XFree(children);
    return list;
}

// The names a window carries as its caption: _NET_WM_NAME and WM_NAME, decoded by their type.
QStringList Naslovi(const Veza& v, ::Window w) {
    Display* d = v.display();
    const Atom utf8 = v.atom("UTF8_STRING");
    const Atom compound = v.atom("COMPOUND_TEXT");
    QStringList names;
    Svojstvo s;
    if (PročitajSvojstvo(d, w, v.atom("_NET_WM_NAME"), s) && s.type == utf8 && s.format == 8)
        names << QString::fromUtf8(s.data);
    s = Svojstvo();
    if (PročitajSvojstvo(d, w, XA_WM_NAME, s) && s.format == 8) {
        if (s.type == utf8) {
            names << QString::fromUtf8(s.data);
        } else if (s.type == XA_STRING) {
            names << QString::fromLatin1(s.data);
        } else if (s.type == compound) {
            XTextProperty text;
            text.value = reinterpret_cast<unsigned char*>(s.data.data());
            text.encoding = s.type;
            text.format = s.format;
            text.nitems = s.items;
            char** list = nullptr;
            int count = 0;
            if (Xutf8TextPropertyToTextList(d, &text, &list, &count) >= Success && list) {
                QString joined;
                for (int i = 0; i < count; ++i) joined += QString::fromUtf8(list[i]);
                names << joined;
                XFreeStringList(list);
            }
        }
    }
    return names;
}

// WM_CLASS holds the instance name and then the class name, each ending in a zero byte.
QStringList Klase(const Veza& v, ::Window w) {
    Svojstvo s;
    if (!PročitajSvojstvo(v.display(), w, XA_WM_CLASS, s) || s.format != 8)
        return {};
    QStringList parts;
    for (const QByteArray& part : s.data.split('\0'))
        if (!part.isEmpty())
            parts << QString::fromLatin1(part);
    return parts;
}

// Walks the top-level windows from the top of the stack down and returns the first that `odgovara`
// accepts. Below each child of the root it looks for the client windows a window manager marks with
// WM_STATE (not descending into a client, whose children are its own controls); a child of the root
// with no such client below it, as on a display without a manager, is looked at whole.
::Window Traži(const Veza& v, const std::function<bool(::Window)>& odgovara) {
    Display* d = v.display();
    const Atom wmState = v.atom("WM_STATE");
    for (int screen = 0; screen < ScreenCount(d); ++screen) {
        const QList<::Window> tops = Djeca(d, RootWindow(d, screen));
        for (auto top = tops.crbegin(); top != tops.crend(); ++top) {
            QList<::Window> klijenti;
            QList<::Window> ostali;
            QList<::Window> red{*top};
            while (!red.isEmpty()) {
                const ::Window w = red.takeFirst();
                if (ImaStanje(v, w, wmState)) {
                    klijenti << w;
                    continue;
                }
                ostali << w;
                red << Djeca(d, w);
            }
            for (const ::Window w : klijenti.isEmpty() ? ostali : klijenti)
                if (odgovara(w))
                    return w;
        }
    }
    return 0;
}

}  // namespace

X11WindowFinder::Window X11WindowFinder::findByClass(const QString& className) {
    Veza v;
    if (!v.display() || className.isEmpty())
        return 0;
    return Traži(v, [&](::Window w) {
        for (const QString& part : Klase(v, w))
            if (part.compare(className, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    });
}

X11WindowFinder::Window X11WindowFinder::findByTitle(const QString& title) {
    Veza v;
    if (!v.display() || title.isEmpty())
        return 0;
    return Traži(v, [&](::Window w) {
        for (const QString& name : Naslovi(v, w))
            if (name.compare(title, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    });
}

bool X11WindowFinder::isIconic(Window window) {
    Veza v;
    if (!v.display() || window == 0)
        return false;
    long stanje = 0;
    return ImaStanje(v, ::Window(window), v.atom("WM_STATE"), &stanje) && stanje == IconicState;
}

void X11WindowFinder::showMinimized(Window) {}

void X11WindowFinder::activate(Window window) {
    Veza v;
    if (!v.display() || window == 0)
        return;
    Display* d = v.display();
    const ::Window w = ::Window(window);
    long stanje = 0;
    if (ImaStanje(v, w, v.atom("WM_STATE"), &stanje) && stanje == IconicState)
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
