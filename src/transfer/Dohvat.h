#pragma once

struct Okruzenje;

// Both fetches bring every item of the update list (the records of NoveVerzije with a name and the
// install flag 1) into the Update folder in two passes: the first fetches each archive, checks its
// size against "VeličinaDownload" and unpacks it; the second waits for each unpacked file and checks
// its size against "StvarnaVeličina". True when every item passed both checks; on false the user has
// been told (a message box, or the error transcript and the log) and the Update folder may hold part
// of the items. The panes show the transcripts only after a successful run.

// Copies the archives from the network folder named in txtLokacija(0), which ends in "/", and then
// the control file Verzije.txt from the same folder.
bool SnimitiSaMrežneLokacije(Okruzenje& o);

// Downloads the archives from the chosen download server; an archive left by an earlier run is
// deleted first, and a body bigger than its record's "VeličinaDownload" is cut off. The control file
// is the one the check already downloaded.
bool SnimitiSaInterneta(Okruzenje& o);
