#pragma once

#include <QTime>

struct Okruzenje;

// Fills the distribution target txtLokacija(1) with the download server's control file and the
// archive of every entry that the target lacks, has in another size, or holds in an older version,
// so that the other computers of the office can update from it. The control file arrives first in
// the staging folder "Update/" of the target and replaces the target's own only at the end of a run
// that handled every entry. `SaPorukama` shows this procedure's message boxes; the question about a
// target without a control file is asked either way. True when every entry was handled and the
// control file was copied; a size that differs from the control file is reported but does not make
// the run fail.
bool DownloadNaLokaciju(Okruzenje& o, bool SaPorukama);

// The one entry point of the distribution copy: runs DownloadNaLokaciju, stops the transfer clock,
// hides the progress bar and, for a run the user started, reports the result with the elapsed time
// and the bytes fetched. Returns what DownloadNaLokaciju returned.
bool PrijenosNaLokaciju(Okruzenje& o, bool SaPorukama);

// True when the automatic copy is due at `vrijeme` with a spacing of `sati` hours: at minute 0 of
// every hour of the day that `sati` divides, counted from midnight; never when `sati` is 0.
bool JeVrijemeAutomatskogPrijenosa(int sati, const QTime& vrijeme);
