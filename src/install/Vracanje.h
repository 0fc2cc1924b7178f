#pragma once

struct Okruzenje;

// Puts back what a failed installation replaced: every file of the backup folder is copied (not
// moved) to the folder it came from, chosen by its extension, and a COM component's registration is
// swapped back around its copy. Best effort: each failure is told in a critical box and the restore
// goes on with the next step and the next file. The backup folder keeps all its files.
void PokušajVratitiSveNaPočetak(Okruzenje& o);
