#pragma once

#include "core/Matrica.h"

#include <QString>

struct Okruzenje;

// Reads the control file at `putanja` into `matrica`; true when the whole file was read. A file that
// cannot be opened is shown in a box; the other failures are logged and left to the caller to
// report. A failed read leaves the matrix cleared and filled up to the failing line; callers do not
// use it.
bool UčitajMatricu(Matrica& matrica, const QString& putanja, Okruzenje& o);
