#include "install/ProvjeraPrograma.h"

#include "core/Okruzenje.h"
#include "install/ProzoriPaketa.h"
#include "platform/WindowFinder.h"

namespace {

struct KlasaAplikacije {
    QStringView ključ;
    QStringView klasa;
    // The application's executables: under Wine a window's class is its exe's name in lower case,
    // never the Windows class of the window. Unused places are empty.
    QStringView programi[2];
};

// Outside applications known by a short name, found by the class of their main window.
constexpr KlasaAplikacije KlaseAplikacija[] = {
    {u"excel", u"XLMain", {u"excel.exe"}},
    {u"word", u"OpusApp", {u"winword.exe"}},
    {u"access", u"OMain", {u"msaccess.exe"}},
    {u"powerpoint95", u"PP7FrameClass", {u"powerpnt.exe"}},
    {u"powerpoint97", u"PP97FrameClass", {u"powerpnt.exe"}},
    {u"notepad", u"NOTEPAD", {u"notepad.exe"}},
    {u"paintbrush", u"pbParent", {u"pbrush.exe", u"mspaint.exe"}},
    {u"wordpad", u"WordPadClass", {u"wordpad.exe"}},
};

// The first window of the application's class or, failing that, of one of its executables.
WindowFinder::Window ProzorAplikacije(Okruzenje& o, const KlasaAplikacije& aplikacija)
{
    WindowFinder::Window prozor = o.prozori.findByClass(aplikacija.klasa.toString());
    for (QStringView program : aplikacija.programi)
        if (prozor == 0 && !program.isEmpty())
            prozor = o.prozori.findByClass(program.toString());
    return prozor;
}

}  // namespace

bool AppJeStartana(Okruzenje& o, const QString& ime, bool aktiviraj)
{
    const QString ključ = ime.toLower();
    const KlasaAplikacije* aplikacija = nullptr;
    for (const KlasaAplikacije& red : KlaseAplikacija)
        if (ključ == red.ključ)
            aplikacija = &red;

    const WindowFinder::Window prozor =
        aplikacija ? ProzorAplikacije(o, *aplikacija) : o.prozori.findByTitle(ime);
    if (prozor == 0)
        return false;

    o.prozori.sendSuiteMessage(prozor);
    if (o.prozori.isIconic(prozor))
        o.prozori.showMinimized(prozor);
    if (aktiviraj)
        o.prozori.activate(prozor);
    return true;
}

QString ProvjeriPokrenutePrograme(Okruzenje& o)
{
    QString rezultat;
    for (const ProzorPaketa& prozor : ProzoriPaketa)
        if (AppJeStartana(o, prozor.naslov.toString(), false))
            rezultat += prozor.naziv.toString() + QStringLiteral("\r\n");
    return rezultat;
}
