#include "install/ProvjeraPrograma.h"
#include "install/ProzoriPaketa.h"
#include "platform/X11WindowFinder.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"
#include "support/Xvfb.h"
#include "support/MissingTool.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Xlib's macros (None, True, Status) clash with Qt's headers, so it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

QString Naslov(int i)
{
    return ProzoriPaketa[i].naslov.toString();
}
QString Naziv(int i)
{
    return ProzoriPaketa[i].naziv.toString();
}

// How a window carries its caption: programs (and Wine) set one or both of these properties.
enum class Encoding { NetWmNameUtf8, WmNameLatin1, WmNameUtf8, WmNameCompoundText, Both };

struct Activation {
    ::Window window;
    long source;
};

// A desktop of real X windows on a display of the test's own, without a window manager: the test
// plays the manager's part where it matters (WM_STATE, frames).
class X11Guard : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!xvfb.running())
            SKIP_FOR_MISSING_TOOL() << xvfb.why().toStdString();
        d = XOpenDisplay(nullptr);
        ASSERT_NE(d, nullptr);
        root = DefaultRootWindow(d);
        // A client that selects SubstructureNotify on the root sees the activation requests sent there.
        XSelectInput(d, root, SubstructureNotifyMask);
        XSync(d, False);
    }
    void TearDown() override
    {
        if (d)
            XCloseDisplay(d);
    }

    Atom atom(const char* name) { return XInternAtom(d, name, False); }

    ::Window Open(const QString& title, Encoding how = Encoding::Both, ::Window parent = 0, bool map = true)
    {
        const ::Window w = XCreateSimpleWindow(d, parent ? parent : root, 10, 10, 200, 100, 0, 0, 0);
        const QByteArray utf8 = title.toUtf8();
        const QByteArray latin1 = title.toLatin1();
        auto set = [&](Atom property, Atom type, const QByteArray& bytes) {
            XChangeProperty(d, w, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
        };
        switch (how) {
            case Encoding::NetWmNameUtf8:
                set(atom("_NET_WM_NAME"), atom("UTF8_STRING"), utf8);
                break;
            case Encoding::WmNameLatin1:
                set(XA_WM_NAME, XA_STRING, latin1);
                break;
            case Encoding::WmNameUtf8:
                set(XA_WM_NAME, atom("UTF8_STRING"), utf8);
                break;
            case Encoding::WmNameCompoundText: {
                char* list[] = {const_cast<char*>(utf8.constData())};
                XTextProperty text;
                EXPECT_EQ(Xutf8TextListToTextProperty(d, list, 1, XCompoundTextStyle, &text), Success);
                EXPECT_EQ(text.encoding, atom("COMPOUND_TEXT"));
                XSetWMName(d, w, &text);
                XFree(text.value);
                break;
            }
            case Encoding::Both:
                set(atom("_NET_WM_NAME"), atom("UTF8_STRING"), utf8);
                set(XA_WM_NAME, XA_STRING, latin1);
                break;
        }
        if (map)
            XMapWindow(d, w);
        XSync(d, False);
        return w;
    }

    void SetClass(::Window w, const QByteArray& instance, const QByteArray& klass)
    {
        const QByteArray value = instance + '\0' + klass + '\0';
        XChangeProperty(d, w, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value.constData()), value.size());
        XSync(d, False);
    }

    // What a window manager does when it minimises a window or manages a normal one.
    void SetWmState(::Window w, long state)
    {
        const long value[2] = {state, 0};
        XChangeProperty(d, w, atom("WM_STATE"), atom("WM_STATE"), 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
        if (state == IconicState)
            XUnmapWindow(d, w);
        XSync(d, False);
    }

    long WmState(::Window w)
    {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        long state = -1;
        if (XGetWindowProperty(d, w, atom("WM_STATE"), 0, 2, False, atom("WM_STATE"), &type, &format, &items,
                               &after, &data) == Success &&
            data && items >= 1) {
            state = reinterpret_cast<long*>(data)[0];
        }
        if (data)
            XFree(data);
        return state;
    }

    int MapState(::Window w)
    {
        XWindowAttributes a;
        XGetWindowAttributes(d, w, &a);
        return a.map_state;
    }

    // The root's children from the bottom of the stack to the top.
    std::vector<::Window> Stack()
    {
        ::Window r = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(d, root, &r, &parent, &children, &count);
        std::vector<::Window> list(children, children + count);
        if (children)
            XFree(children);
        return list;
    }

    // The activation requests that reached the root since the last call.
    std::vector<Activation> Activations()
    {
        XSync(d, False);
        std::vector<Activation> list;
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == ClientMessage && e.xclient.message_type == atom("_NET_ACTIVE_WINDOW"))
                list.push_back({e.xclient.window, e.xclient.data.l[0]});
        }
        return list;
    }

    Xvfb xvfb;
    Display* d = nullptr;
    ::Window root = 0;
    TestOkruzenje t;
    X11WindowFinder finder;
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, t.procesi,
                t.http, finder,     t.registar, t.model,    t.stanje};
};

TEST_F(X11Guard, NothingOfTheSuiteRunning)
{
    Open(QStringLiteral("Terminal"));
    Open(QStringLiteral("Lumivex"));
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QString());
}

TEST_F(X11Guard, TwoProgramsListedInTableOrderWhateverTheirStart)
{
    Open(Naslov(24), Encoding::NetWmNameUtf8);
    Open(Naslov(0), Encoding::WmNameLatin1);
    EXPECT_EQ(ProvjeriPokrenutePrograme(o),
              Naziv(0) + QStringLiteral("\r\n") + Naziv(24) + QStringLiteral("\r\n"));
    EXPECT_TRUE(Activations().empty());
}

TEST_F(X11Guard, CaptionFoundInEveryEncodingIgnoringLetterCase)
{
    const struct {
        Encoding how;
        QString title;
        QString query;
    } cases[] = {
        {Encoding::NetWmNameUtf8, QStringLiteral("Lumivex Plaće 20"), QStringLiteral("Lumivex Plaće 20")},
        {Encoding::WmNameLatin1, QStringLiteral("Lumivex Banka 20"), QStringLiteral("lumivex banka 20")},
        {Encoding::WmNameUtf8, QStringLiteral("Lumivex Skladište 20"),
         QStringLiteral("LUMIVEX SKLADIŠTE 20")},
        {Encoding::WmNameCompoundText, QStringLiteral("Lumivex Urudžbeni zapisnik 20"),
         QStringLiteral("LUMIVEX URUDŽBENI ZAPISNIK 20")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const ::Window w = Open(c.title, c.how);
        EXPECT_EQ(finder.findByTitle(c.query), w);
        EXPECT_TRUE(AppJeStartana(o, c.query, false));
    }
}

TEST_F(X11Guard, RenamedProgramFoundByCaptionListedByDisplayName)
{
    int i = 0;
    while (Naslov(i) == Naziv(i)) ++i;
    Open(Naziv(i));
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QString());
    Open(Naslov(i));
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), Naziv(i) + QStringLiteral("\r\n"));
}

TEST_F(X11Guard, TitleWithDocumentNameIsNotTheProgram)
{
    Open(Naslov(0) + QStringLiteral(" - [Temeljnica 12]"));
    Open(QStringLiteral("Lumivex Knjigovodstvo"));
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QString());
    EXPECT_FALSE(AppJeStartana(o, Naslov(0), true));
}

TEST_F(X11Guard, ClientInsideManagerFrameIsFoundButNotItsControls)
{
    // A reparenting window manager puts each client window inside a frame of its own.
    const ::Window frame = XCreateSimpleWindow(d, root, 0, 0, 300, 200, 0, 0, 0);
    XMapWindow(d, frame);
    const ::Window decoration = Open(QString(), Encoding::Both, frame);
    const ::Window client = Open(Naslov(13), Encoding::Both, decoration);
    SetWmState(client, NormalState);
    Open(Naslov(12), Encoding::Both, client);  // a control of the program that happens to carry a caption

    EXPECT_EQ(finder.findByTitle(Naslov(13)), client);
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), Naziv(13) + QStringLiteral("\r\n"));
    EXPECT_TRUE(AppJeStartana(o, Naslov(13), true));
    const auto activations = Activations();
    ASSERT_EQ(activations.size(), 1u);
    EXPECT_EQ(activations[0].window, client);
}

TEST_F(X11Guard, MinimisedProgramStaysMinimisedAndBehind)
{
    const ::Window minimised = Open(Naslov(5));
    SetWmState(minimised, IconicState);
    Open(QStringLiteral("Terminal"));
    const auto stack = Stack();

    EXPECT_EQ(ProvjeriPokrenutePrograme(o), Naziv(5) + QStringLiteral("\r\n"));
    EXPECT_TRUE(finder.isIconic(minimised));
    EXPECT_TRUE(AppJeStartana(o, Naslov(5), true));

    EXPECT_EQ(WmState(minimised), IconicState);
    EXPECT_EQ(MapState(minimised), IsUnmapped);
    EXPECT_EQ(Stack(), stack);
    EXPECT_TRUE(Activations().empty());
}

TEST_F(X11Guard, SpreadsheetFoundByClassAndActivatedOnlyWhenAsked)
{
    const ::Window sheet = Open(QStringLiteral("Microsoft Excel - Knjiga1.xls"));
    SetClass(sheet, "excel.exe", "XLMain");
    Open(QStringLiteral("Terminal"));
    const auto stack = Stack();

    EXPECT_TRUE(AppJeStartana(o, QStringLiteral("excel"), false));
    EXPECT_EQ(Stack(), stack);
    EXPECT_TRUE(Activations().empty());

    EXPECT_TRUE(AppJeStartana(o, QStringLiteral("Excel"), true));
    const auto activations = Activations();
    ASSERT_EQ(activations.size(), 1u);
    EXPECT_EQ(activations[0].window, sheet);
    EXPECT_EQ(activations[0].source, 1);  // an application's request
    EXPECT_EQ(Stack().back(), sheet);
    EXPECT_EQ(MapState(sheet), IsViewable);

    EXPECT_FALSE(AppJeStartana(o, QStringLiteral("Word"), true));
    EXPECT_TRUE(Activations().empty());
}

TEST_F(X11Guard, ClassMatchesEitherPartOfWmClassIgnoringCase)
{
    const ::Window byClass = Open(QStringLiteral("Dokument1"));
    SetClass(byClass, "winword.exe", "opusapp");
    const ::Window byInstance = Open(QStringLiteral("Bez naslova - Blok za pisanje"));
    SetClass(byInstance, "NOTEPAD", "Wine");

    EXPECT_EQ(finder.findByClass(QStringLiteral("OpusApp")), byClass);
    EXPECT_EQ(finder.findByClass(QStringLiteral("NOTEPAD")), byInstance);
    EXPECT_EQ(finder.findByClass(QStringLiteral("Wine")), byInstance);
    EXPECT_EQ(finder.findByClass(QStringLiteral("XLMain")), 0u);
    EXPECT_TRUE(AppJeStartana(o, QStringLiteral("WORD"), false));
    EXPECT_TRUE(AppJeStartana(o, QStringLiteral("Notepad"), false));
}

TEST_F(X11Guard, OfTwoWindowsWithTheCaptionTheTopmostIsFound)
{
    Open(Naslov(2));
    const ::Window upper = Open(Naslov(2));
    EXPECT_EQ(finder.findByTitle(Naslov(2)), upper);
    XRaiseWindow(d, Stack().front());
    XSync(d, False);
    EXPECT_EQ(finder.findByTitle(Naslov(2)), Stack().back());
    EXPECT_NE(Stack().back(), upper);
}

TEST_F(X11Guard, UnknownNameIsNotRunningAndNothingChanges)
{
    const ::Window w = Open(Naslov(0));
    SetClass(w, "lumivex", "XLMain");
    const auto stack = Stack();
    for (const QString& name : {QStringLiteral("Lumivex"), QStringLiteral("xlmain"), QString()})
        EXPECT_FALSE(AppJeStartana(o, name, true)) << name.toStdString();
    EXPECT_EQ(Stack(), stack);
    EXPECT_TRUE(Activations().empty());
}

TEST_F(X11Guard, WindowThatVanishedIsNeitherIconicNorActivated)
{
    const ::Window w = Open(Naslov(0));
    ASSERT_EQ(finder.findByTitle(Naslov(0)), w);
    XDestroyWindow(d, w);
    XSync(d, False);

    EXPECT_FALSE(finder.isIconic(w));
    finder.activate(w);
    finder.showMinimized(w);
    EXPECT_TRUE(Activations().empty());
    EXPECT_EQ(ProvjeriPokrenutePrograme(o), QString());
}

TEST(X11GuardWithoutDisplay, NothingCountsAsRunning)
{
    const QByteArray old = qgetenv("DISPLAY");
    const bool had = qEnvironmentVariableIsSet("DISPLAY");
    TestOkruzenje t;
    X11WindowFinder finder;
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, t.procesi,
                t.http, finder,     t.registar, t.model,    t.stanje};
    for (const char* display : {"", ":4711"}) {
        SCOPED_TRACE(display);
        if (*display)
            qputenv("DISPLAY", display);
        else
            qunsetenv("DISPLAY");
        EXPECT_EQ(ProvjeriPokrenutePrograme(o), QString());
        EXPECT_FALSE(AppJeStartana(o, QStringLiteral("Excel"), true));
        EXPECT_EQ(finder.findByClass(QStringLiteral("XLMain")), 0u);
        EXPECT_FALSE(finder.isIconic(1));
        finder.activate(1);
    }
    if (had)
        qputenv("DISPLAY", old);
    else
        qunsetenv("DISPLAY");
}

}  // namespace
