#include "core/NovaVerzija.h"

#include "core/TekstKontrolneDatoteke.h"

const Zapis* NađiZapis(const Matrica& matrica, const QString& ime)
{
    for (const Zapis& z : matrica.zapisi)
        if (z.ime() == ime)
            return &z;
    return nullptr;
}

bool TrebaNovaVerzija(const Zapis& novi, const Zapis& stari)
{
    // Each part is compared on its own, as the releases have always been numbered: a higher minor
    // counts even when the major went down.
    for (int i = 1; i <= 3; ++i)
        if (BrojčanaVrijednost(novi.polja[i]) > BrojčanaVrijednost(stari.polja[i]))
            return true;
    return CijeliBroj(novi.polja[5]) != CijeliBroj(stari.polja[5]) ||
           CijeliBroj(novi.polja[4]) != CijeliBroj(stari.polja[4]);
}
