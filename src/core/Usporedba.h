#pragma once

#include <QString>

struct Okruzenje;

// Compares the new control file in the Update folder with the installed one in the program folder,
// flags every record of NoveVerzije that must be fetched and installed, and lists the flagged
// records in the grid. True when at least one record is flagged.
bool NapraviRsŠtoTrebaAžurirati(Okruzenje& o);

// Shows the progress of one listed file in the grid: status 1 (fetched from the internet) and 4
// (copied from the network folder) fill a quarter of its row, 2 (unpacked) half, 5 (being installed)
// three quarters, 3 (installed) all of it. A name not in the grid changes nothing.
void OznačiStavku(Okruzenje& o, const QString& ime, int status);
