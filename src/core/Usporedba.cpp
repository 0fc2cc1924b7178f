#include "core/Usporedba.h"

#include "core/ImenaDatoteka.h"
#include "core/NovaVerzija.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/TekstKontrolneDatoteke.h"
#include "core/UcitavanjeMatrice.h"
#include "core/VrstaDatoteke.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

namespace {

void prikažiMrežu(Okruzenje& o)
{
    QVector<RedMreže> redovi;
    qint64 ukupnoDownload = 0;
    qint64 ukupnoStvarno = 0;
    for (const Zapis& z : o.stanje.NoveVerzije.zapisi) {
        if (z.prazan() || z.zastavica != 1)
            continue;
        RedMreže red;
        red.polja = z.polja;
        redovi.push_back(red);
        ukupnoDownload += CijeliBroj(z.polja[4]);
        ukupnoStvarno += CijeliBroj(z.polja[5]);
    }
    o.model.postaviMrežu(redovi, ukupnoDownload, ukupnoStvarno);
}

// Reads the new control file of the Update folder and the installed one of the program folder;
// false when either cannot be read (the user has been told).
bool UčitajObjeKontrolne(Okruzenje& o)
{
    Stanje& s = o.stanje;
    o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - čitanje rs ") + s.PutanjaUpdate +
               ImeKontrolneDatoteke);
    if (!UčitajMatricu(s.NoveVerzije, s.PutanjaUpdate + ImeKontrolneDatoteke, o)) {
        PrijaviNeuspjeh(o.log, o.dijalozi, {},
                        QStringLiteral("NapraviRsŠtoTrebaAžurirati - Desila se greška u čitanju zapisa u "
                                       "matricu iz datoteke. Prekida se ažuriranje!"));
        return false;
    }

    o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - čitanje rs ") + s.PutanjaPrograma +
               ImeKontrolneDatoteke);
    if (!o.fs.fileExists(s.PutanjaPrograma + ImeKontrolneDatoteke)) {
        PrijaviNeuspjeh(
            o.log, o.dijalozi, {QStringLiteral("NapraviRsŠtoTrebaAžurirati "), Dialogs::Icon::Information},
            QStringLiteral("Ne postoji datoteka: ") + s.PutanjaPrograma +
                QStringLiteral(
                    "Verzije.txt te nije moguće nastaviti sa ažuriranjem. Kontaktirajte Lumivex!"));
        return false;
    }
    if (!UčitajMatricu(s.StareVerzije, s.PutanjaPrograma + ImeKontrolneDatoteke, o)) {
        PrijaviNeuspjeh(o.log, o.dijalozi, {},
                        QStringLiteral("NapraviRsŠtoTrebaAžurirati - Desila se greška u čitanju zapisa u "
                                       "matricu-STARI. Prekida se ažuriranje!"));
        return false;
    }
    return true;
}

// Sets the install flag of one new record and counts a flagged one into the total. `izmjenaBaze`
// says whether the database-change component has been flagged in an earlier row.
void OdlučiOZapisu(Okruzenje& o, Zapis& novi, bool& izmjenaBaze)
{
    Stanje& s = o.stanje;
    const QString& ime = novi.ime();

    const Zapis* stari = NađiZapis(s.StareVerzije, ime);
    if (!stari) {
        if (ime == ImeUpdatera) {
            novi.zastavica = 0;
        } else {
            o.log.piši(
                QStringLiteral("NapraviRsŠtoTrebaAžurirati - Nije pronađen zapis o starim verzija za :") +
                ime + QStringLiteral(" pa se mora kopirati"));
            novi.zastavica = 1;
        }
        return;
    }

    const VrstaDatoteke vrsta = VrstaPoImenu(ime);
    bool treba = TrebaNovaVerzija(novi, *stari);
    if (!treba) {
        const QString direktorija = CiljnaDirektorija(s, ime);
        if (!o.fs.fileExists(direktorija + ime)) {
            const bool svojaDirektorija = vrsta == VrstaDatoteke::Skripta || vrsta == VrstaDatoteke::Pomoć;
            o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - Nije nađena datoteka: ") +
                       (svojaDirektorija ? direktorija + ime : ime) +
                       QStringLiteral(" pa se mora napraviti"));
            treba = true;
        }
    }

    novi.zastavica = 1;
    if (ime == ImeUpdatera || !treba) {
        // Scripts after a listed database-change component stay listed even when unchanged.
        if (!(vrsta == VrstaDatoteke::Skripta && izmjenaBaze))
            novi.zastavica = 0;
        return;
    }
    o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - Treba instalirati: ") + ime);
    s.UkupnoZaPrijenos += CijeliBroj(novi.polja[4]);
    if (ime == ImeKomponenteIzmjeneBaze)
        izmjenaBaze = true;
}

}  // namespace

bool NapraviRsŠtoTrebaAžurirati(Okruzenje& o)
{
    Stanje& s = o.stanje;
    o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - početak"));
    if (!UčitajObjeKontrolne(o))
        return false;

    bool izmjenaBaze = false;
    s.UkupnoZaPrijenos = 0;
    s.PorukeAkcija.clear();
    s.PorukeGrešaka.clear();
    o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - upoređenje što treba ažurirati "));
    for (Zapis& novi : s.NoveVerzije.zapisi)
        if (!novi.prazan())
            OdlučiOZapisu(o, novi, izmjenaBaze);
    o.log.piši(QStringLiteral("NapraviRsŠtoTrebaAžurirati - kraj"));

    // No update-list file is written; one left by an earlier version is removed.
    if (o.fs.fileExists(s.PutanjaUpdate + QStringLiteral("Update.txt")))
        o.fs.removeFile(s.PutanjaUpdate + QStringLiteral("Update.txt"));

    prikažiMrežu(o);
    if (o.model.redovi().isEmpty()) {
        PostaviTrenutnuAkciju(o, QStringLiteral("Nema novih verzija Lumi-vex programa!"));
        return false;
    }
    return true;
}

void OznačiStavku(Okruzenje& o, const QString& ime, StanjeStavke status)
{
    int ispuna = 0;
    switch (status) {
        case StanjeStavke::SkinutaSInterneta:
        case StanjeStavke::KopiranaSMreže:
            ispuna = 25;
            break;
        case StanjeStavke::Raspakirana:
            ispuna = 50;
            break;
        case StanjeStavke::UInstalaciji:
            ispuna = 75;
            break;
        case StanjeStavke::Instalirana:
            ispuna = 100;
            break;
        default:
            return;
    }
    const int slika = static_cast<int>(status);
    const auto& redovi = o.model.redovi();
    for (int r = 0; r < redovi.size(); ++r) {
        if (redovi[r].polja[0] == ime) {
            o.model.označiRed(r, slika, ispuna);
            return;
        }
    }
}
