#include "core/Prijava.h"

#include "core/Naslov.h"
#include "core/Obavijesti.h"
#include "core/Zapisnik.h"

void PrijaviNeuspjeh(Zapisnik& log, Dialogs& dijalozi, const NačinPrijave& način, const QString& tekst)
{
    if (način.transkript)
        DodajUTranskript(*način.transkript, tekst);
    log.piši(način.prefiks + tekst);
    if (!način.kutija)
        return;
    const QString uKutiji =
        način.zaključak.isEmpty() ? tekst : tekst + QStringLiteral("\r\n") + način.zaključak;
    dijalozi.show(način.ikona, NaslovPrograma, uKutiji, Dialogs::Buttons::Ok);
}
