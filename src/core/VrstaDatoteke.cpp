#include "core/VrstaDatoteke.h"

#include "core/Stanje.h"

#include <algorithm>

VrstaDatoteke VrstaPoImenu(const QString& ime)
{
    const QString nastavak = NastavakImena(ime);
    if (nastavak == u"exe")
        return VrstaDatoteke::Program;
    if (nastavak == u"dll")
        return VrstaDatoteke::Komponenta;
    if (nastavak == u"enc")
        return VrstaDatoteke::Skripta;
    if (nastavak == u"chm")
        return VrstaDatoteke::Pomoć;
    if (nastavak == u"txt")
        return VrstaDatoteke::Kontrolna;
    if (nastavak == u".7z")
        return VrstaDatoteke::Arhiva;
    return VrstaDatoteke::Nepoznata;
}

QString NastavakImena(const QString& ime)
{
    return ime.right(3);
}

QString CiljnaDirektorija(const Stanje& s, const QString& ime)
{
    switch (VrstaPoImenu(ime)) {
        case VrstaDatoteke::Skripta:
            return s.PutanjaSkripti;
        case VrstaDatoteke::Pomoć:
            return s.PutanjaHelp;
        default:
            return s.PutanjaPrograma;
    }
}

QString ImeArhive(const QString& ime)
{
    return ime.left(std::max<qsizetype>(ime.size() - 3, 0)) + QStringLiteral("7z");
}

bool SamoKopiranje(const QString& ime)
{
    const VrstaDatoteke vrsta = VrstaPoImenu(ime);
    return vrsta == VrstaDatoteke::Pomoć || vrsta == VrstaDatoteke::Skripta;
}
