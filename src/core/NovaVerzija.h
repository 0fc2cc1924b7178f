#pragma once

#include "core/Matrica.h"

#include <QString>

// The record of `ime` in `matrica`, or null when the control file does not list it.
const Zapis* NađiZapis(const Matrica& matrica, const QString& ime);

// True when `novi` is a newer release of the item than `stari`: a higher major, minor or revision,
// or a different archive or unpacked size.
bool TrebaNovaVerzija(const Zapis& novi, const Zapis& stari);
