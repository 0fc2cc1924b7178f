#include "install/ProvjeraPrograma.h"

#include "core/Okruzenje.h"
#include "install/ProzoriPaketa.h"
#include "platform/WindowFinder.h"

namespace {

struct KlasaAplikacije {
    QStringView ključ;
    QStringView klasa;
};

// Outside applications known by a short name, found by the class of their main window.
constexpr KlasaAplikacije KlaseAplikacija[] = {
    {u"excel", u"XLMain"},
    {u"word", u"OpusApp"},
    {u"access", u"OMain"},
    {u"powerpoint95", u"PP7FrameClass"},
    {u"powerpoint97", u"PP97FrameClass"},
    {u"notepad", u"NOTEPAD"},
    {u"paintbrush", u"pbParent"},
    {u"wordpad", u"WordPadClass"},
};

}  // namespace

bool AppJeStartana(Okruzenje& o, const QString& ime, bool aktiviraj)
{
    const QString ključ = ime.toLower();
    QString klasa;
    for (const KlasaAplikacije& red : KlaseAplikacija)
        if (ključ == red.ključ)
            klasa = red.klasa.toString();

    const WindowFinder::Window prozor =
        klasa.isEmpty() ? o.prozori.findByTitle(ime) : o.prozori.findByClass(klasa);
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
