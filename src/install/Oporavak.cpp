#include "install/Oporavak.h"

#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/VrstaDatoteke.h"
#include "install/Dnevnik.h"
#include "install/PripremaVerzije.h"
#include "install/PrivremeneDatoteke.h"
#include "install/Registracija.h"
#include "install/Vracanje.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QStringList>

namespace {

void logiraj(Okruzenje& o, const QString& tekst)
{
    o.log.piši(QStringLiteral("OporavakInstalacije - ") + tekst);
}

// A failure of the recovery: logged with its name and shown in a critical box.
NačinPrijave kritično(const QString& zaključak = QString())
{
    return {.prefiks = QStringLiteral("OporavakInstalacije - "),
            .ikona = Dialogs::Icon::Critical,
            .zaključak = zaključak};
}

// Logs a failed step; the recovery goes on with the next one and keeps the journal for the next start.
bool neuspjeh(Okruzenje& o, const QString& korak, const QString& putanja, const FsResult& r)
{
    logiraj(o, korak + putanja + QStringLiteral(" Poruka o grešci je: ") + r.error);
    return false;
}

bool jeKomponenta(const QString& ime)
{
    return VrstaPoImenu(ime) == VrstaDatoteke::Komponenta;
}

// Puts one record back as it was before the installation; false when a step failed.
bool VratiZapis(Okruzenje& o, const ZapisDnevnika& z)
{
    const QString backup = o.stanje.PutanjaBackup + z.ime;
    const QString cilj = z.putanja();
    if (o.fs.fileExists(backup)) {
        logiraj(o, QStringLiteral("Vraćanje iz backupa: ") + z.ime);
        if (o.fs.fileExists(cilj)) {
            if (jeKomponenta(z.ime))
                DeregistrirajDLL(o, z.direktorija, z.ime);
            if (FsResult r = o.fs.removeFile(cilj); !r && !r.notFound)
                return neuspjeh(o, QStringLiteral("Greška u brisanju nove datoteke: "), cilj, r);
        }
        // The old file's folder may have gone with the new file (a help folder made for it).
        if (!o.fs.folderExists(z.direktorija))
            o.fs.createFolder(z.direktorija);
        if (FsResult r = o.fs.move(backup, cilj); !r)
            return neuspjeh(o, QStringLiteral("Greška u vraćanju iz backupa: "), cilj, r);
    } else if (!z.staraPostoji && o.fs.fileExists(cilj)) {
        logiraj(o, QStringLiteral("Brisanje nove datoteke: ") + z.ime);
        if (jeKomponenta(z.ime))
            DeregistrirajDLL(o, z.direktorija, z.ime);
        if (FsResult r = o.fs.removeFile(cilj); !r && !r.notFound)
            return neuspjeh(o, QStringLiteral("Greška u brisanju nove datoteke: "), cilj, r);
    }
    // The installation unregisters an old component before it moves it; whether or not it got that
    // far, registering it again is harmless.
    if (jeKomponenta(z.ime) && z.staraPostoji && o.fs.fileExists(cilj)) {
        logiraj(o, QStringLiteral("Registracija stare komponente: ") + z.ime);
        if (!RegistrirajDLL(o, z.direktorija, z.ime))
            return false;
    }
    return true;
}

}  // namespace

bool OporaviPrekinutuInstalaciju(Okruzenje& o)
{
    PostaviPutanje(o);
    UkloniPrivremeneDatotekeInstalacije(o, QStringLiteral("OporavakInstalacije - "));
    return DovršiPrekinutuInstalaciju(o);
}

bool DovršiPrekinutuInstalaciju(Okruzenje& o)
{
    Stanje& s = o.stanje;
    if (!o.fs.fileExists(PutanjaDnevnika(o)))
        return true;

    DnevnikInstalacije dnevnik;
    if (const FsResult pročitano = PročitajDnevnik(o, dnevnik); !pročitano) {
        PrijaviNeuspjeh(o.log, o.dijalozi, kritično(Zaključci::PotrebnaReinstalacija),
                        QStringLiteral("Nije moguće pročitati dnevnik prekinute instalacije: ") +
                            PutanjaDnevnika(o) + QStringLiteral("\r\n") +
                            QStringLiteral("Poruka o grešci je: ") + pročitano.error);
        return false;
    }

    if (dnevnik.potvrđen) {
        logiraj(o, QStringLiteral("Dovršavanje čišćenja završene instalacije"));
        OčistiNakonInstalacije(o);
        return true;
    }

    logiraj(o, QStringLiteral("početak. Zapisa u dnevniku: ") + QString::number(dnevnik.zapisi.size()));
    bool sveVraćeno = true;
    // Undone in the reverse order of the installation, the control file first.
    for (auto z = dnevnik.zapisi.crbegin(); z != dnevnik.zapisi.crend(); ++z) {
        s.TrenutnaDatoteka = z->ime;
        if (!VratiZapis(o, *z))
            sveVraćeno = false;
    }

    // What was put back must be on the disk before the journal that describes it goes.
    // The folders the old files came back to go first: the backup folder must not lose a file on the
    // disk before its target has gained it.
    QStringList direktorije;
    for (const ZapisDnevnika& z : dnevnik.zapisi)
        if (!direktorije.contains(z.direktorija))
            direktorije << z.direktorija;
    direktorije << s.PutanjaBackup;
    for (const QString& d : direktorije)
        if (o.fs.folderExists(d))
            if (FsResult r = o.fs.syncFolder(d); !r)
                sveVraćeno = neuspjeh(o, QStringLiteral("Greška u spremanju direktorije na disk: "), d, r);

    if (!sveVraćeno) {
        PrijaviNeuspjeh(
            o.log, o.dijalozi, kritično(),
            QStringLiteral("Prethodna instalacija novih verzija je prekinuta, a stare verzije nije "
                           "bilo moguće vratiti u potpunosti. Program će to pokušati ponovo pri "
                           "sljedećem pokretanju."));
        return false;
    }

    // The user hears of it before the journal goes: a crash in between tells again at the next start
    // rather than never.
    o.dijalozi.show(
        Dialogs::Icon::Information, NaslovPrograma,
        QStringLiteral("Prethodna instalacija novih verzija je bila prekinuta i poništena: vraćene "
                       "su stare verzije programa. Nove verzije potrebno je ponovo instalirati."),
        Dialogs::Buttons::Ok);

    // The backup folder now holds only the journal, which goes with it.
    logiraj(o, QStringLiteral("Brisanje direktorije ") + s.PutanjaBackup);
    if (FsResult r = o.fs.removeFolder(s.PutanjaBackup); !r)
        neuspjeh(o, QStringLiteral("Greška u brisanju direktorije - "), s.PutanjaBackup, r);
    else
        o.fs.syncFolder(s.PutanjaPrograma);
    logiraj(o, QStringLiteral("Kraj"));
    return true;
}
