#include "core/UcitavanjeMatrice.h"

#include "core/Okruzenje.h"
#include "core/TekstKontrolneDatoteke.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

bool UčitajMatricu(Matrica& matrica, const QString& putanja, Okruzenje& o)
{
    matrica.očisti();
    QByteArray sadržaj;
    const FsResult pročitano = o.fs.readFile(putanja, sadržaj);
    if (!pročitano && pročitano.stage != FsResult::Stage::Transfer) {
        o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                        QStringLiteral("Greška u otvaranju datoteke: ") + putanja + u' ' + pročitano.error,
                        Dialogs::Buttons::Ok);
        return false;
    }

    // The lines before a broken-off read are read as usual; the broken line is the read error.
    const bool prekinuto = !pročitano;
    const RezultatČitanja rezultat = PročitajMatricu(matrica, sadržaj, putanja, prekinuto);
    if (!rezultat.ok()) {
        o.log.piši(rezultat.poruka);
        return false;
    }
    if (prekinuto) {
        const qsizetype zadnjiKraj = sadržaj.lastIndexOf('\n');
        const QString djelomičniRed = QString::fromLocal8Bit(sadržaj.mid(zadnjiKraj + 1));
        o.log.piši(QStringLiteral("Greška u čitanju datoteke: ") + putanja + QStringLiteral(" Red: ") +
                   djelomičniRed + u' ' + pročitano.error);
        return false;
    }
    return true;
}
