#include "install/Vracanje.h"

#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/VrstaDatoteke.h"
#include "install/Dnevnik.h"
#include "install/Registracija.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QStringList>

namespace {

using Zaključci::PotrebnaReinstalacija;
using Zaključci::PotrebnaReinstalacijaZbogDatoteke;
using Zaključci::VraćaSeStaraVerzija;

// A failure of the restore: logged with the procedure's name and shown in a critical box that ends with
// `zaključak`.
NačinPrijave kritično(const QString& zaključak)
{
    return {.prefiks = QStringLiteral("PokušajVratitiSveNaPočetak - "),
            .ikona = Dialogs::Icon::Critical,
            .zaključak = zaključak};
}

// A box alone, without a log line.
void pokažiKritično(Okruzenje& o, const QString& tekst)
{
    o.dijalozi.show(Dialogs::Icon::Critical, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
}

void izvijesti(Okruzenje& o, const QString& korak, const QString& ime)
{
    PostaviTrenutnuAkciju(o, korak + ime);
    o.log.piši(QStringLiteral("PokušajVratitiSveNaPočetak - ") + korak + ime);
}

// Copies backup folder + name over folder + name; a failure is told and the restore goes on.
void kopirajNazad(Okruzenje& o, const QString& direktorija, const QString& ime, const QString& greška,
                  const QString& zaključak)
{
    const FsResult kopirano = o.fs.copyReplacing(o.stanje.PutanjaBackup + ime, direktorija + ime);
    if (kopirano)
        return;
    PrijaviNeuspjeh(
        o.log, o.dijalozi, kritično(zaključak),
        greška + ime + QStringLiteral("\r\n") + QStringLiteral("Poruka o grešci je: ") + kopirano.error);
}

// A COM component's registration is swapped back around the copy of its old file.
void vratiKomponentu(Okruzenje& o, const QString& ime)
{
    Stanje& s = o.stanje;
    // Where the new component was never copied in, there is no registration of it to remove.
    if (o.fs.fileExists(s.PutanjaPrograma + ime) && !DeregistrirajDLL(o, s.PutanjaPrograma, ime))
        pokažiKritično(o, QStringLiteral("Desila se greška u deregistraciji komponente: ") + ime +
                              QStringLiteral("\r\n") + QStringLiteral("Deregistracija komponente: ") + ime +
                              QStringLiteral("\r\n") + VraćaSeStaraVerzija);
    izvijesti(o, QStringLiteral("Kopiranje nazad komponente: "), ime);
    kopirajNazad(o, s.PutanjaPrograma, ime,
                 QStringLiteral("Nastala je greška u kopiranju nazad komponente: "), PotrebnaReinstalacija);
    const QString registracija = QStringLiteral("Registracija stare komponente: ") + ime;
    PostaviTrenutnuAkciju(o, registracija);
    if (!RegistrirajDLL(o, s.PutanjaPrograma, ime))
        pokažiKritično(o, registracija + QStringLiteral("\r\n") + VraćaSeStaraVerzija);
}

}  // namespace

void PokušajVratitiSveNaPočetak(Okruzenje& o)
{
    Stanje& s = o.stanje;

    // The old files moved into the backup folder reach the disk before the copies back, each of which
    // syncs its target folder, make their absence there final.
    o.fs.syncFolder(s.PutanjaBackup);
    QStringList datoteke;
    const FsResult popis = o.fs.listFiles(s.PutanjaBackup, datoteke);
    if (!popis) {
        // Nothing can be put back; the user must know that the old versions were not restored.
        PrijaviNeuspjeh(o.log, o.dijalozi, kritično(PotrebnaReinstalacija),
                        QStringLiteral("Nije moguće pročitati direktoriju Backup fajlova: ") +
                            s.PutanjaBackup + QStringLiteral("\r\n") +
                            QStringLiteral("Poruka o grešci je: ") + popis.error);
        o.log.piši(QStringLiteral("PokušajVratitiSveNaPočetak - Kraj"));
        return;
    }
    // The journal stays: it is no old file, and it lets the next start finish what this restore cannot.
    datoteke.removeAll(ImeDnevnika);
    o.log.piši(QStringLiteral("PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:") +
               QString::number(datoteke.size()));

    for (const QString& ime : datoteke) {
        s.TrenutnaDatoteka = ime;
        const QString direktorija = CiljnaDirektorija(s, ime);
        switch (VrstaPoImenu(ime)) {
            case VrstaDatoteke::Program:
            case VrstaDatoteke::Kontrolna:
            // The control file's signature goes back beside it.
            case VrstaDatoteke::Potpis:
                izvijesti(o, QStringLiteral("Kopiranje nazad programa: "), ime);
                kopirajNazad(o, direktorija, ime,
                             QStringLiteral("Nastala je greška u kopiranju nazad programa: "),
                             PotrebnaReinstalacija);
                break;
            case VrstaDatoteke::Komponenta:
                vratiKomponentu(o, ime);
                break;
            case VrstaDatoteke::Skripta:
            case VrstaDatoteke::Pomoć:
                izvijesti(o, QStringLiteral("Kopiranje nazad datoteke: "), ime);
                kopirajNazad(o, direktorija, ime,
                             QStringLiteral("Nastala je greška u kopiranju nazad datoteke: "),
                             PotrebnaReinstalacijaZbogDatoteke);
                break;
            default:
                o.log.piši(QStringLiteral("PokušajVratitiSveNaPočetak - nepoznata ekstenzija: ") +
                           NastavakImena(ime));
        }
    }

    o.log.piši(QStringLiteral("PokušajVratitiSveNaPočetak - Kraj"));
}
