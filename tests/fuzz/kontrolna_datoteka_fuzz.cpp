// Feeds arbitrary bytes to the control-file reader. Whatever the input, the reader must not crash,
// must never store more than 71 records, and must never accept a name that could reach outside
// the folder it is installed in.
#include "core/TekstKontrolneDatoteke.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Matrica matrica;
    const RezultatČitanja r = PročitajMatricu(matrica, bytes, QStringLiteral("Verzije.txt"), size % 2 == 1);
    if (r.brojZapisa < 0 || r.brojZapisa > Matrica::BrojZapisa)
        __builtin_trap();
    for (int i = 0; i < Matrica::BrojZapisa; ++i) {
        const Zapis& z = matrica[i];
        if (i >= r.brojZapisa && !z.prazan())
            __builtin_trap();
        if (!JeDozvoljenoIme(z.ime()))
            __builtin_trap();
        for (const QString& polje : z.polja) (void)CijeliBroj(polje);
    }
    return 0;
}
