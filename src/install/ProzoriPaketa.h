#pragma once

#include <QStringView>

#include <iterator>

// One program of the suite as the running-program guard sees it: the exact caption of its main window
// and the name shown to the user when it is found running.
struct ProzorPaketa {
    QStringView naslov;
    QStringView naziv;
};

// The suite's main windows in program order. This table is the suite's own catalogue and the only
// place that names its windows: replace it whole when the catalogue changes.
inline constexpr ProzorPaketa ProzoriPaketa[] = {
    {u"Lumivex Knjigovodstvo 20", u"Lumivex Knjigovodstvo 20"},
    {u"Lumivex Glavna knjiga 20", u"Lumivex Glavna knjiga 20"},
    {u"Lumivex Financije 20", u"Lumivex Financije 20"},
    {u"Lumivex Banka 20", u"Lumivex Izvodi banke 20"},
    {u"Lumivex Kompenzacije 20", u"Lumivex Kompenzacije 20"},
    {u"Lumivex PDV 20", u"Lumivex Porez na dodanu vrijednost 20"},
    {u"Lumivex Ulazni računi 20", u"Lumivex Ulazni računi 20"},
    {u"Lumivex Izlazni računi 20", u"Lumivex Izlazni računi 20"},
    {u"Lumivex Fakturiranje 20", u"Lumivex Fakturiranje 20"},
    {u"Lumivex Obračun kamata 20", u"Lumivex Kamate 20"},
    {u"Lumivex Robno 20", u"Lumivex Robno knjigovodstvo 20"},
    {u"Lumivex Veleprodaja 20", u"Lumivex Veleprodaja 20"},
    {u"Lumivex Maloprodaja 20", u"Lumivex Maloprodaja 20"},
    {u"Lumivex Kasa 20", u"Lumivex Kasa (POS) 20"},
    {u"Lumivex Ugostiteljstvo 20", u"Lumivex Ugostiteljstvo 20"},
    {u"Lumivex Skladište 20", u"Lumivex Skladište 20"},
    {u"Lumivex Nabava 20", u"Lumivex Nabava 20"},
    {u"Lumivex Proizvodnja 20", u"Lumivex Proizvodnja 20"},
    {u"Lumivex Servis 20", u"Lumivex Servis 20"},
    {u"Lumivex Autoservis 20", u"Lumivex Autoservis 20"},
    {u"Lumivex Ljekarna 20", u"Lumivex Ljekarna 20"},
    {u"Lumivex Najam 20", u"Lumivex Najam opreme 20"},
    {u"Lumivex Vozni park 20", u"Lumivex Vozni park 20"},
    {u"Lumivex Putni nalozi 20", u"Lumivex Putni nalozi i loko vožnja 20"},
    {u"Lumivex Plaće 20", u"Lumivex Plaće 20"},
    {u"Lumivex Kadrovska 20", u"Lumivex Kadrovska evidencija 20"},
    {u"Lumivex Osnovna sredstva 20", u"Lumivex Osnovna sredstva 20"},
    {u"Lumivex Blagajna 20", u"Lumivex Blagajna 20"},
    {u"Lumivex Urudžbeni zapisnik 20", u"Lumivex Urudžbeni zapisnik 20"},
    {u"Lumivex Izvještaji 20", u"Lumivex Izvještaji 20"},
    {u"Lumivex Administracija 20", u"Lumivex Administracija sustava 20"},
    {u"Lumivex Uvoz baze 20", u"Lumivex Uvoz podataka 20"},
    {u"LumivexKonverzija_V20", u"Lumivex Konverzija 20"},
    {u"Lumivex Pomoć", u"Lumivex Pomoć"},
};

static_assert(std::size(ProzoriPaketa) == 34, "the suite has 34 main windows");
