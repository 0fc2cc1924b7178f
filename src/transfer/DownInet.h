#pragma once

#include "core/ImenaDatoteka.h"
#include "core/Ishod.h"
#include "platform/HttpTransfer.h"

#include <QString>

struct Okruzenje;

// An archive's body may be at most the size its record announces (the text of "VeličinaDownload"):
// a bigger one is already wrong.
HttpTransfer::Limits GraniceArhive(const QString& veličinaDownload);

// Fetches one file from the download server chosen in the window (the secondary one for option 2,
// else the primary one) into `direktorija`, which ends in "/". True only when a non-empty body was
// received and stored whole under the file's name; the stored file replaces an older one only then.
// Tells the user itself; a failed fetch or write carries its reason, an empty reply none. A body past
// `granice` (more than expected, or too slow) is a failed fetch: its partial file is removed.
Ishod DownInet(Okruzenje& o, const QString& imeDatoteke, const QString& direktorija,
               const HttpTransfer::Limits& granice);

// Shows the text of a transfer state code (0 to 12) in status-bar panel 2; any other code shows the
// text last shown again.
void Inet1_StateChanged(Okruzenje& o, int stanje);
