#pragma once

#include <QString>

struct Okruzenje;

// The sentences that close the failure boxes: R when the old version will be put back, R2 and R3
// when even that failed.
namespace Zaključci {
inline const QString R = QStringLiteral(
    "Program ne može razriješiti problem te će pokušati vratiti staru verziju programa. Ukoliko ne uspije "
    "najvjerojatnije ćete morati reinstalirati program!");
inline const QString R2 =
    QStringLiteral("Program ne može razriješiti problem pa ćete morati reinstalirati program!");
inline const QString R3 =
    QStringLiteral("Program ne može razriješiti problem te ćete morati reinstalirati program!");
}  // namespace Zaključci

// Puts back what a failed installation replaced: every file of the backup folder is copied (not
// moved) to the folder it came from, chosen by its extension, and a COM component's registration is
// swapped back around its copy. Best effort: each failure is told in a critical box and the restore
// goes on with the next step and the next file. The backup folder keeps all its files.
void PokušajVratitiSveNaPočetak(Okruzenje& o);
