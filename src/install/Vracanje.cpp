#include "install/Vracanje.h"

#include "core/Log.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
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

void kritično(Okruzenje& o, const QString& tekst)
{
    o.dijalozi.show(Dialogs::Icon::Critical, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
}

void izvijesti(Okruzenje& o, const QString& korak, const QString& ime)
{
    o.stanje.TrenutnaPoruka = korak + ime;
    PostaviTrenutnuAkciju(o, o.stanje.TrenutnaPoruka);
    LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - ") + o.stanje.TrenutnaPoruka);
}

// Copies backup folder + name over folder + name; a failure is told and the restore goes on.
void kopirajNazad(Okruzenje& o, const QString& direktorija, const QString& ime, const QString& greška,
                  const QString& zaključak)
{
    const FsResult kopirano = o.fs.copyReplacing(o.stanje.PutanjaBackup + ime, direktorija + ime);
    if (kopirano)
        return;
    o.stanje.TrenutnaPoruka =
        greška + ime + QStringLiteral("\r\n") + QStringLiteral("Poruka o grešci je: ") + kopirano.error;
    LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - ") + o.stanje.TrenutnaPoruka);
    kritično(o, o.stanje.TrenutnaPoruka + QStringLiteral("\r\n") + zaključak);
}

// A COM component's registration is swapped back around the copy of its old file.
void vratiKomponentu(Okruzenje& o, const QString& ime)
{
    Stanje& s = o.stanje;
    s.TrenutnaPoruka = QStringLiteral("Deregistracija komponente: ") + ime;
    if (!DeregistrirajDLL(o, s.PutanjaPrograma, ime))
        kritično(o, QStringLiteral("Desila se greška u deregistraciji komponente: ") + ime +
                        QStringLiteral("\r\n") + s.TrenutnaPoruka + QStringLiteral("\r\n") +
                        VraćaSeStaraVerzija);
    izvijesti(o, QStringLiteral("Kopiranje nazad komponente: "), ime);
    kopirajNazad(o, s.PutanjaPrograma, ime,
                 QStringLiteral("Nastala je greška u kopiranju nazad komponente: "), PotrebnaReinstalacija);
    s.TrenutnaPoruka = QStringLiteral("Registracija stare komponente: ") + ime;
    PostaviTrenutnuAkciju(o, s.TrenutnaPoruka);
    if (!RegistrirajDLL(o, s.PutanjaPrograma, ime))
        kritično(o, s.TrenutnaPoruka + QStringLiteral("\r\n") + VraćaSeStaraVerzija);
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
        s.TrenutnaPoruka = QStringLiteral("Nije moguće pročitati direktoriju Backup fajlova: ") +
                           s.PutanjaBackup + QStringLiteral("\r\n") + QStringLiteral("Poruka o grešci je: ") +
                           popis.error;
        LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - ") + s.TrenutnaPoruka);
        kritično(o, s.TrenutnaPoruka + QStringLiteral("\r\n") + PotrebnaReinstalacija);
        LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - Kraj"));
        return;
    }
    // The journal stays: it is no old file, and it lets the next start finish what this restore cannot.
    datoteke.removeAll(ImeDnevnika);
    LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - početak. U direktoriji Backup fajlova:") +
                         QString::number(datoteke.size()));

    for (const QString& ime : datoteke) {
        s.TrenutnaDatoteka = ime;
        const QString direktorija = CiljnaDirektorija(s, ime);
        switch (VrstaPoImenu(ime)) {
            case VrstaDatoteke::Program:
            case VrstaDatoteke::Kontrolna:
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
                LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - nepoznata ekstenzija: ") +
                                     NastavakImena(ime));
        }
    }

    LogirajGrešku(o, QStringLiteral("PokušajVratitiSveNaPočetak - Kraj"));
}
