#include "shell/Zatvaranje.h"

#include "core/Log.h"

void ZatvoriProzor(Okruzenje& o)
{
    LogirajGrešku(
        o, QStringLiteral("*************************** KRAJ PROGRAMA **********************************"));
}
