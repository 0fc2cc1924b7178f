#pragma once

#include <QtGlobal>

struct Okruzenje;

// Sets the progress bar's range, puts it at 0 and shows it; the window lays it exactly over
// cmdVerzija and above it while it is shown.
void PostaviProgresBar(Okruzenje& o, qint64 minimum, qint64 maksimum);

// The tick of tmrPrijenos: lblVrijemePrijenosa shows the seconds since PočetakPrijenosa as
// "Vrijeme prijenosa: " followed by the time in the pattern "#.00" and " s".
void tmrPrijenos_Tick(Okruzenje& o);
