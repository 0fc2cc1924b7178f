#include "core/Obavijesti.h"

#include "core/Okruzenje.h"

void PostaviTrenutnuAkciju(Okruzenje& o, const QString& tekst)
{
    o.model.postaviPanel1(tekst);
}

void PostaviTrenutnoStanje(Okruzenje& o, const QString& tekst)
{
    o.model.postaviPanel2(tekst);
}

void DodajUTranskript(QString& transkript, const QString& poruka)
{
    transkript += QStringLiteral("\r\n") + poruka;
}

void PrikažiTranskripte(Okruzenje& o)
{
    o.model.postaviTxtPor(o.stanje.PorukeAkcija);
    o.model.postaviTxtPorGr(o.stanje.PorukeGrešaka);
}
