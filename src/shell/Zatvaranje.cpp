#include "shell/Zatvaranje.h"

#include "core/Okruzenje.h"

void ZatvoriProzor(Okruzenje& o)
{
    o.log.piši(
        QStringLiteral("*************************** KRAJ PROGRAMA **********************************"));
}
