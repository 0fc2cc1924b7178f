#pragma once

struct Okruzenje;

// The first step of every start, before the control file is prepared: finishes what an interrupted
// installation left behind. An uncommitted journal in the backup folder means the installation
// stopped part-way: every record is put back (a backed-up old file moves back over its target, a new
// file that had no old one is removed, an old component is registered again, the control file comes
// back with the files kept beside it), each step is logged, the journal and the backup folder are
// removed, and the user is told in an information box. A committed journal only finishes the
// installation's clean-up. Every step may be repeated, so a crash during the recovery is recovered
// at the next start. False when an uncommitted journal remains (a step failed; the user has been told).
// Sets the working folders first, as start-up has not yet done so, and removes the temporary files
// that a kill of the file system's copies and writes left in them.
bool OporaviPrekinutuInstalaciju(Okruzenje& o);

// The same recovery on the working folders already set, for an installation that finds a journal.
bool DovršiPrekinutuInstalaciju(Okruzenje& o);
