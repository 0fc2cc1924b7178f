#pragma once

#include <QString>

struct Okruzenje;

// The sentences that close the failure boxes.
namespace Zaključci {
// An installation step failed: the old version will be put back.
inline const QString VraćaSeStaraVerzija = QStringLiteral(
    "Program ne može razriješiti problem te će pokušati vratiti staru verziju programa. Ukoliko ne uspije "
    "najvjerojatnije ćete morati reinstalirati program!");
// Putting back a program, or reading what there is to put back, failed.
inline const QString PotrebnaReinstalacija =
    QStringLiteral("Program ne može razriješiti problem pa ćete morati reinstalirati program!");
// Putting back a script or a help file failed.
inline const QString PotrebnaReinstalacijaZbogDatoteke =
    QStringLiteral("Program ne može razriješiti problem te ćete morati reinstalirati program!");
}  // namespace Zaključci

// Puts back what a failed installation replaced: every file of the backup folder is copied (not
// moved) to the folder it came from, chosen by its extension, and a COM component's registration is
// swapped back around its copy. Best effort: each failure is told in a critical box and the restore
// goes on with the next step and the next file. The backup folder keeps all its files.
void PokušajVratitiSveNaPočetak(Okruzenje& o);
