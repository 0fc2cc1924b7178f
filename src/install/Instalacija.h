#pragma once

struct Okruzenje;

// Installs the items of the update list that the fetch placed in the Update folder: waits until no
// program of the suite runs, empties the backup folder, then for every marked item moves the old
// file into the backup folder and copies the new one in, by its extension, unregistering and
// registering components on the way. A failed step restores the backup folder's contents and gives
// false. On success the new control file replaces the old one, the fetched files and the backup
// folder are removed and the control file is prepared anew. False also when the user gave up or the
// installation was refused; the user has then been told.
//
// Before the first file moves, the plan is written to a journal in the backup folder; the new files
// move from the Update folder into place (copied across file systems) with their bytes synced, and
// every folder is synced before the journal is marked committed. Only then is the clean-up done.
bool UpdatePrograma(Okruzenje& o);
