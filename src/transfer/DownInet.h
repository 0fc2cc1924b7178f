#pragma once

#include <QString>

struct Okruzenje;

// Fetches one file from the download server chosen in the window (the secondary one for option 2,
// else the primary one) into `direktorija`, which ends in "/". True only when a non-empty body was
// received and stored whole under the file's name; the stored file replaces an older one only then.
// Tells the user itself; on a failed fetch or write the reason is left in TrenutnaPoruka.
bool DownInet(Okruzenje& o, const QString& imeDatoteke, const QString& direktorija);

// Shows the text of a transfer state code (0 to 12) in status-bar panel 2; any other code shows the
// text last shown again.
void Inet1_StateChanged(Okruzenje& o, int stanje);
