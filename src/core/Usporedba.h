#pragma once

#include <QString>

struct Okruzenje;

// Compares the new control file in the Update folder with the installed one in the program folder,
// flags every record of NoveVerzije that must be fetched and installed, and lists the flagged
// records in the grid. True when at least one record is flagged.
bool NapraviRsŠtoTrebaAžurirati(Okruzenje& o);

// Where one listed file has got to; each value is also the number of the picture its row shows.
enum class StanjeStavke {
    SkinutaSInterneta = 1,
    Raspakirana = 2,
    Instalirana = 3,
    KopiranaSMreže = 4,
    UInstalaciji = 5,
};

// Shows the progress of one listed file in the grid: fetched from the internet or copied from the
// network folder fill a quarter of its row, unpacked half, being installed three quarters, installed
// all of it. A name not in the grid, or a value that is no state, changes nothing.
void OznačiStavku(Okruzenje& o, const QString& ime, StanjeStavke status);
