#include "install/Instalacija.h"

#include "core/ImenaDatoteka.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/ProvjeraIzdanja.h"
#include "core/Putanje.h"
#include "core/Usporedba.h"
#include "core/VrstaDatoteke.h"
#include "install/Dnevnik.h"
#include "install/Oporavak.h"
#include "install/PripremaVerzije.h"
#include "install/ProvjeraPrograma.h"
#include "install/Registracija.h"
#include "install/Vracanje.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

#include <QSet>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// One of the vendor's own computers must keep the versions it has, so the installation refuses to run
// there (the name is compared exactly, letter case included).
const QString RačunaloBezInstalacije = QStringLiteral("ORVEL-DVD");

using Zaključci::VraćaSeStaraVerzija;

// Closes the question after a failed move of a file in use: Yes tries the move once more.
const QString PitanjePonovnogPokušaja = QStringLiteral(
    "Preporuka je da se prestane koristiti navedeni program i da se pokuša još jednom. Jeste li izašli iz "
    "programa i želite li nastaviti sa instalacijom (Da - Yes) ili želite prekinuti sa instalacijom (Ne - "
    "No)?");

Dialogs::Answer pitaj(Okruzenje& o, const QString& tekst)
{
    return o.dijalozi.show(Dialogs::Icon::Question, NaslovPrograma, tekst, Dialogs::Buttons::YesNo);
}

void kritično(Okruzenje& o, const QString& tekst)
{
    o.dijalozi.show(Dialogs::Icon::Critical, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
}

void upozori(Okruzenje& o, const QString& tekst)
{
    o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
}

void logiraj(Okruzenje& o, const QString& tekst)
{
    o.log.piši(QStringLiteral("UpdatePrograma - ") + tekst);
}

// Shows the step text and the name in panel 1 and logs them.
void izvijesti(Okruzenje& o, const QString& korak, const QString& ime)
{
    PostaviTrenutnuAkciju(o, korak + ime);
    logiraj(o, korak + ime);
}

// A failure of a step: logged with the procedure's name and shown in a critical box that, with
// `vraća`, says the old version will be put back.
NačinPrijave kritičnaPrijava(bool vraća = true)
{
    return {.prefiks = QStringLiteral("UpdatePrograma - "),
            .ikona = Dialogs::Icon::Critical,
            .zaključak = vraća ? VraćaSeStaraVerzija : QString()};
}

// A failure before anything was installed: logged and shown in an exclamation box.
NačinPrijave upozorenje()
{
    return {.prefiks = QStringLiteral("UpdatePrograma- ")};
}

// The texts that differ between a program and a component when its old file is moved aside.
struct TekstoviPremještanja {
    QString backup;
    QString greška;
    QString ponovniBackup;
    QString ponovnaGreška;
};

const TekstoviPremještanja PremještanjePrograma{
    QStringLiteral("Backup programa: "),
    QStringLiteral("Nastala je greška u premještanju programa: "),
    QStringLiteral("Ponovni backup programa: "),
    QStringLiteral("Nastala je greška u ponovnom premještanju programa: "),
};

const TekstoviPremještanja PremještanjeKomponente{
    QStringLiteral("Backup komponente: "),
    QStringLiteral("Nastala je greška u premještanju komponente: "),
    QStringLiteral("Ponovni backup komponente: "),
    QStringLiteral("Nastala je greška u ponovnom premještanju komponente: "),
};

QString greškaPremještanja(const QString& tekst, const QString& ime, const FsResult& r)
{
    return tekst + ime + QStringLiteral("Najvjerojatnije se koristi. ") + CRLF +
           QStringLiteral("Poruka o grešci je: ") + r.error;
}

// Moves the old program or component from the program folder into the backup folder. A file in use
// gets the retry question and, on Yes, exactly one more try. A missing old file is no error. False
// when the installation must stop (the user has been asked or told).
bool PremjestiSPonovnimPokušajem(Okruzenje& o, const QString& ime, const TekstoviPremještanja& t)
{
    Stanje& s = o.stanje;
    izvijesti(o, t.backup, ime);
    const FsResult premješteno = o.fs.move(s.PutanjaPrograma + ime, s.PutanjaBackup + ime);
    if (premješteno || premješteno.notFound)
        return true;

    const QString greška = greškaPremještanja(t.greška, ime, premješteno);
    logiraj(o, greška);
    if (pitaj(o, greška + CRLF + PitanjePonovnogPokušaja) != Dialogs::Answer::Yes)
        return false;

    izvijesti(o, t.ponovniBackup, ime);
    const FsResult ponovno = o.fs.move(s.PutanjaPrograma + ime, s.PutanjaBackup + ime);
    if (ponovno)
        return true;
    PrijaviNeuspjeh(o.log, o.dijalozi, kritičnaPrijava(), greškaPremještanja(t.ponovnaGreška, ime, ponovno));
    return false;
}

// Puts the new file from the Update folder into direktorija + name; a failure is told with `greška`.
// On one file system it is moved, which costs no copy (the fetched file goes at the clean-up anyway);
// across file systems the move copies.
bool KopirajNovu(Okruzenje& o, const QString& direktorija, const QString& ime, const QString& greška)
{
    Stanje& s = o.stanje;
    const FsResult kopirano = o.fs.move(s.PutanjaUpdate + ime, direktorija + ime);
    if (kopirano)
        return true;
    PrijaviNeuspjeh(o.log, o.dijalozi, kritičnaPrijava(),
                    greška + ime + CRLF + QStringLiteral("Poruka o grešci je: ") + kopirano.error);
    return false;
}

bool InstalirajProgram(Okruzenje& o, const QString& ime)
{
    if (!PremjestiSPonovnimPokušajem(o, ime, PremještanjePrograma))
        return false;
    izvijesti(o, QStringLiteral("Kopiranje novog programa: "), ime);
    return KopirajNovu(o, o.stanje.PutanjaPrograma, ime,
                       QStringLiteral("Nastala je greška u kopiranju novog programa: "));
}

bool InstalirajKomponentu(Okruzenje& o, const QString& ime)
{
    Stanje& s = o.stanje;
    const QString deregistracija = QStringLiteral("Deregistracija komponente: ") + ime;
    logiraj(o, deregistracija);
    // A component new to this computer has no old file, and so no registration to remove.
    if (o.fs.fileExists(s.PutanjaPrograma + ime) && !DeregistrirajDLL(o, s.PutanjaPrograma, ime)) {
        kritično(o, QStringLiteral("Desila se greška u deregistraciji komponente: ") + ime + CRLF +
                        deregistracija + CRLF + VraćaSeStaraVerzija);
        return false;
    }

    if (!PremjestiSPonovnimPokušajem(o, ime, PremještanjeKomponente)) {
        // The old component stays in the program folder, so the restore will not see it: it gets its
        // registration back here, or it would be left unregistered.
        if (o.fs.fileExists(s.PutanjaPrograma + ime)) {
            const QString registracija = QStringLiteral("Registracija stare komponente: ") + ime;
            PostaviTrenutnuAkciju(o, registracija);
            if (!RegistrirajDLL(o, s.PutanjaPrograma, ime))
                kritično(o, registracija + CRLF + VraćaSeStaraVerzija);
        }
        return false;
    }

    izvijesti(o, QStringLiteral("Kopiranje nove komponente: "), ime);
    if (!KopirajNovu(o, s.PutanjaPrograma, ime,
                     QStringLiteral("Nastala je greška u kopiranju nove komponente: ")))
        return false;

    const QString registracija = QStringLiteral("Registracija nove komponente: ") + ime;
    PostaviTrenutnuAkciju(o, registracija);
    if (!RegistrirajDLL(o, s.PutanjaPrograma, ime)) {
        kritično(o, QStringLiteral("Desila se greška u registraciji nove komponente: ") + ime + CRLF +
                        registracija + CRLF + VraćaSeStaraVerzija);
        return false;
    }
    return true;
}

// A database-change script (into the script folder) or a help file (into the help folder): no retry
// question, and a missing old file is no error.
bool InstalirajDatoteku(Okruzenje& o, const QString& direktorija, const QString& ime,
                        const QString& korakKopiranja)
{
    Stanje& s = o.stanje;
    izvijesti(o, QStringLiteral("Backup datoteke: "), ime);
    const FsResult premješteno = o.fs.move(direktorija + ime, s.PutanjaBackup + ime);
    if (!premješteno && !premješteno.notFound) {
        PrijaviNeuspjeh(o.log, o.dijalozi, kritičnaPrijava(),
                        QStringLiteral("Nastala je greška u premještanju datoteke: ") + ime + CRLF +
                            QStringLiteral("Poruka o grešci je: ") + premješteno.error);
        return false;
    }
    // A computer that never had a file of this kind may lack its folder; the copy below says so if
    // the folder cannot be made either.
    if (!o.fs.folderExists(direktorija))
        o.fs.createFolder(direktorija);
    izvijesti(o, korakKopiranja, ime);
    return KopirajNovu(o, direktorija, ime, QStringLiteral("Nastala je greška u kopiranju nove datoteke: "));
}

// Waits until no program of the suite runs; false when the user gives up.
bool NemaPokrenutihPrograma(Okruzenje& o)
{
    for (;;) {
        const QString popis = ProvjeriPokrenutePrograme(o);
        if (popis.isEmpty())
            return true;
        const Dialogs::Answer nastaviti = pitaj(
            o, QStringLiteral("Postoje pokrenuti programi:") + CRLF + popis + CRLF +
                   QStringLiteral("Da bi nastavili sa daljom instalacijom moraju se zatvoriti svi otvoreni "
                                  "programi!") +
                   CRLF +
                   QStringLiteral("Za nastavak rada (i ponovnu provjeru) pritisnite Da (Yes), za prekid "
                                  "instalacije pritisnuti Ne (No) ?"));
        o.log.piši(QStringLiteral("UpdatePrograma- Postoje startovani programi ") + popis);
        if (nastaviti == Dialogs::Answer::Yes)
            continue;
        const Dialogs::Answer prekinuti = pitaj(
            o, QStringLiteral("Ukoliko prekinete sa ažuriranjem novih verzija, izgubiće se svi novi učitani "
                              "programi, pa će se to morati ponoviti.") +
                   CRLF +
                   QStringLiteral("Želite li zaista prekinuti sa ažuriranjem programa sa novim verzijama?"));
        if (prekinuti == Dialogs::Answer::Yes) {
            o.log.piši(QStringLiteral("UpdatePrograma- Korisnik odustaje"));
            return false;
        }
    }
}

// Empties the backup folder, or creates it. Old files left by an earlier failed installation must
// not stay: a restore would copy them over the programs. A backup folder whose journal says that an
// installation was not finished is never emptied: that installation is undone first. False when the
// user has been told why not.
bool PripremiBackup(Okruzenje& o)
{
    Stanje& s = o.stanje;
    if (o.fs.fileExists(PutanjaDnevnika(o)) && !DovršiPrekinutuInstalaciju(o)) {
        PrijaviNeuspjeh(
            o.log, o.dijalozi, upozorenje(),
            QStringLiteral("Prethodna prekinuta instalacija nije poništena, a UpdateBackup "
                           "direktorija čuva stare verzije programa. Nova instalacija nije moguća. "
                           "Kontaktirajte Lumivex!"));
        return false;
    }
    QString greška;
    if (o.fs.folderExists(s.PutanjaBackup)) {
        const FsResult obrisano = o.fs.removeFiles(s.PutanjaBackup, QStringLiteral("*.*"));
        if (obrisano || obrisano.notFound)
            return true;
        greška = QStringLiteral(
                     "Nastala je greška u brisanju sadržaja UpdateBackup direktorije! Program za "
                     "ažuriranje novih verzija mora prestati sa radom. Kontaktirajte Lumivex!") +
                 CRLF + QStringLiteral("Greška: ") + obrisano.error;
    } else {
        // The new folder's name must reach the disk, or a power cut would take the journal with it.
        FsResult kreirano = o.fs.createFolder(s.PutanjaBackup);
        if (kreirano)
            kreirano = o.fs.syncFolder(s.PutanjaPrograma);
        if (kreirano)
            return true;
        greška = QStringLiteral(
                     "Nastala je greška u kreiranju UpdateBackup direktorije! Program za "
                     "ažuriranje novih verzija mora prestati sa radom. Kontaktirajte Lumivex!") +
                 CRLF + QStringLiteral("Greška: ") + kreirano.error;
    }
    PrijaviNeuspjeh(o.log, o.dijalozi, upozorenje(), greška);
    return false;
}

// Installs one item by its extension; false when the installation must stop and be restored.
bool InstalirajStavku(Okruzenje& o, const QString& ime)
{
    const QString direktorija = CiljnaDirektorija(o.stanje, ime);
    switch (VrstaPoImenu(ime)) {
        case VrstaDatoteke::Program:
            return InstalirajProgram(o, ime);
        case VrstaDatoteke::Komponenta:
            return InstalirajKomponentu(o, ime);
        case VrstaDatoteke::Skripta:
            return InstalirajDatoteku(o, direktorija, ime, QStringLiteral("Kopiranje novog programa: "));
        case VrstaDatoteke::Pomoć:
            return InstalirajDatoteku(o, direktorija, ime, QStringLiteral("Kopiranje nove datoteke: "));
        default:
            logiraj(o, QStringLiteral("nepoznata ekstenzija: ") + NastavakImena(ime));
            return true;
    }
}

bool InstaliraSe(const QString& ime)
{
    switch (VrstaPoImenu(ime)) {
        case VrstaDatoteke::Program:
        case VrstaDatoteke::Komponenta:
        case VrstaDatoteke::Skripta:
        case VrstaDatoteke::Pomoć:
            return true;
        default:
            return false;
    }
}

QString roditelj(const QString& direktorija)
{
    const QString bez = BezKoseCrte(direktorija);
    return bez.left(bez.lastIndexOf(u'/') + 1);
}

// The control file is always installed; its signature only comes with a signed release, and only
// together with its control file.
bool InstaliraSeKontrolna(Okruzenje& o, const QString& ime, bool kontrolnaKopirana)
{
    if (ime != ImePotpisa)
        return true;
    return kontrolnaKopirana && o.fs.fileExists(o.stanje.PutanjaUpdate + ime);
}

// The plan: every marked item of an installed kind, then the control files, each with its target
// folder and whether an old file lies there now.
DnevnikInstalacije NapraviPlan(Okruzenje& o)
{
    Stanje& s = o.stanje;
    DnevnikInstalacije plan;
    for (const Zapis& zapis : s.NoveVerzije.zapisi) {
        const QString ime = zapis.ime();
        if (ime.isEmpty() || zapis.zastavica != 1 || !InstaliraSe(ime))
            continue;
        const QString direktorija = CiljnaDirektorija(s, ime);
        plan.zapisi.push_back({ime, direktorija, o.fs.fileExists(direktorija + ime)});
    }
    for (const QString& ime : KontrolneDatoteke)
        if (InstaliraSeKontrolna(o, ime, true))
            plan.zapisi.push_back({ime, s.PutanjaPrograma, o.fs.fileExists(s.PutanjaPrograma + ime)});
    return plan;
}

// The unpacker never synced the new files: their bytes reach the disk before the first one moves into
// place, or a power cut could leave a program empty under its new name. One sync of the whole file
// system costs about what one file's does; where it cannot be done, each file is synced.
FsResult SpremiNoveDatoteke(Okruzenje& o, const DnevnikInstalacije& plan)
{
    const QString update = o.stanje.PutanjaUpdate;
    if (o.fs.syncFileSystem(update))
        return FsResult::success();
    for (const ZapisDnevnika& z : plan.zapisi)
        if (o.fs.fileExists(update + z.ime))
            if (FsResult r = o.fs.syncFile(update + z.ime); !r)
                return r;
    return FsResult::success();
}

// The text of a failure of the journal or of a sync.
QString greškaDnevnika(const QString& tekst, const FsResult& r)
{
    return tekst + CRLF + QStringLiteral("Poruka o grešci je: ") + r.error;
}

// Syncs the backup folder and then every target folder (and the parent of one that the installation
// had to create), so that everything the journal will call done is on the disk.
FsResult SpremiNaDisk(Okruzenje& o, const DnevnikInstalacije& plan, const QSet<QString>& kreirane)
{
    QStringList direktorije{o.stanje.PutanjaBackup};
    for (const ZapisDnevnika& z : plan.zapisi) {
        if (kreirane.contains(z.direktorija) && !direktorije.contains(roditelj(z.direktorija)))
            direktorije << roditelj(z.direktorija);
        if (!direktorije.contains(z.direktorija))
            direktorije << z.direktorija;
    }
    for (const QString& d : direktorije)
        if (FsResult r = o.fs.syncFolder(d); !r)
            return r;
    return FsResult::success();
}

}  // namespace

namespace {

// Syncs the new files and writes the journal of the plan; false when the user has been told why the
// installation cannot begin.
bool ZapišiPlan(Okruzenje& o, const DnevnikInstalacije& plan)
{
    if (const FsResult r = SpremiNoveDatoteke(o, plan); !r) {
        PrijaviNeuspjeh(
            o.log, o.dijalozi, kritičnaPrijava(false),
            greškaDnevnika(QStringLiteral("Nastala je greška u spremanju novih verzija na disk."), r));
        return false;
    }
    if (const FsResult r = ZapišiDnevnik(o, plan); !r) {
        PrijaviNeuspjeh(o.log, o.dijalozi, kritičnaPrijava(false),
                        greškaDnevnika(QStringLiteral("Nastala je greška u pisanju dnevnika instalacije: ") +
                                           PutanjaDnevnika(o),
                                       r));
        return false;
    }
    return true;
}

// Installs every flagged record in the order of the control file; false after a failed item, once
// everything has been put back.
bool InstalirajOznačene(Okruzenje& o)
{
    Stanje& s = o.stanje;
    for (int i = 0; i < Matrica::BrojZapisa; ++i) {
        const Zapis& zapis = s.NoveVerzije[i];
        s.TrenutnaDatoteka = zapis.ime();
        if (s.TrenutnaDatoteka.isEmpty() || zapis.zastavica != 1)
            continue;
        // The name is kept apart: a yield may run the window's events, and the record must not change
        // under the item being installed.
        const QString ime = s.TrenutnaDatoteka;
        o.sat.pause(0);
        OznačiStavku(o, ime, StanjeStavke::UInstalaciji);
        if (!InstalirajStavku(o, ime)) {
            PokušajVratitiSveNaPočetak(o);
            return false;
        }
        OznačiStavku(o, ime, StanjeStavke::Instalirana);
    }
    return true;
}

// Backs up and copies the control files; a failure is logged and the installation goes on.
void InstalirajKontrolneDatoteke(Okruzenje& o)
{
    Stanje& s = o.stanje;
    // The signature goes with its control file, both or neither, and only a signed release brings one.
    bool kontrolnaKopirana = true;
    for (const QString& ime : KontrolneDatoteke) {
        if (!InstaliraSeKontrolna(o, ime, kontrolnaKopirana))
            continue;
        s.TrenutnaDatoteka = ime;
        // The first signed release finds no signature to back up.
        if (ime != ImePotpisa || o.fs.fileExists(s.PutanjaPrograma + ime)) {
            logiraj(o, QStringLiteral("Backup ") + ime);
            if (const FsResult r = o.fs.copyReplacing(s.PutanjaPrograma + ime, s.PutanjaBackup + ime); !r) {
                logiraj(o, QStringLiteral("Greška u premještanju u backup ") + ime + u' ' + r.error);
                // Without its backup the old control file could not be put back after a crash: it
                // stays, and the next start lists the updates again.
                if (!r.notFound) {
                    kontrolnaKopirana = false;
                    continue;
                }
            }
        }
        logiraj(o, QStringLiteral("Kopiranje ") + ime);
        if (const FsResult r = o.fs.copyReplacing(s.PutanjaUpdate + ime, s.PutanjaPrograma + ime); !r) {
            logiraj(o, QStringLiteral("Greška u kopiranju ") + ime + u' ' + r.error);
            kontrolnaKopirana = false;
        }
    }
    PostaviTrenutnuAkciju(o, QString());
}

}  // namespace

bool UpdatePrograma(Okruzenje& o)
{
    o.log.piši(QStringLiteral("UpdatePrograma- početak"));

    if (!NemaPokrenutihPrograma(o))
        return false;

    if (!PripremiBackup(o))
        return false;

    if (ImeRačunala(o.računalo) == RačunaloBezInstalacije) {
        upozori(o, QStringLiteral("Ime računala je ORVEL-DVD te nije moguće nastaviti sa radom!"));
        return false;
    }

    logiraj(o, QStringLiteral("Početak"));
    PostaviTrenutnuAkciju(o, QStringLiteral("Početak ..."));

    // The plan is on the disk before the first file moves, so that a start after a crash or a power
    // cut can undo what was done.
    const DnevnikInstalacije plan = NapraviPlan(o);
    QSet<QString> kreirane;
    for (const ZapisDnevnika& z : plan.zapisi)
        if (!o.fs.folderExists(z.direktorija))
            kreirane.insert(z.direktorija);
    if (!ZapišiPlan(o, plan))
        return false;

    if (!InstalirajOznačene(o))
        return false;

    // The moves are durable before the control file says that the new versions are installed.
    if (const FsResult r = SpremiNaDisk(o, plan, kreirane); !r) {
        PrijaviNeuspjeh(
            o.log, o.dijalozi, kritičnaPrijava(),
            greškaDnevnika(QStringLiteral("Nastala je greška u spremanju novih verzija na disk."), r));
        PokušajVratitiSveNaPočetak(o);
        return false;
    }

    InstalirajKontrolneDatoteke(o);

    if (const FsResult r = PotvrdiDnevnik(o); !r) {
        PrijaviNeuspjeh(o.log, o.dijalozi, kritičnaPrijava(),
                        greškaDnevnika(QStringLiteral("Nastala je greška u pisanju dnevnika instalacije: ") +
                                           PutanjaDnevnika(o),
                                       r));
        PokušajVratitiSveNaPočetak(o);
        return false;
    }

    OčistiNakonInstalacije(o);

    logiraj(o, QStringLiteral("Kraj"));
    PripremiVerzijaTXT(o);
    return true;
}
