#include "install/Instalacija.h"

#include "core/ImenaDatoteka.h"
#include "core/Log.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Putanje.h"
#include "core/Usporedba.h"
#include "core/VrstaDatoteke.h"
#include "install/PripremaVerzije.h"
#include "install/ProvjeraPrograma.h"
#include "install/Registracija.h"
#include "install/Vracanje.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

namespace {

const QString CRLF = QStringLiteral("\r\n");

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
    LogirajGrešku(o, QStringLiteral("UpdatePrograma - ") + tekst);
}

// Sets TrenutnaPoruka to the step text and the name, shows it in panel 1 and logs it.
void izvijesti(Okruzenje& o, const QString& korak, const QString& ime)
{
    o.stanje.TrenutnaPoruka = korak + ime;
    PostaviTrenutnuAkciju(o, o.stanje.TrenutnaPoruka);
    logiraj(o, o.stanje.TrenutnaPoruka);
}

// Logs the failure composed in TrenutnaPoruka and shows it in a critical box that says the old
// version will be put back.
void prijaviKritično(Okruzenje& o)
{
    logiraj(o, o.stanje.TrenutnaPoruka);
    kritično(o, o.stanje.TrenutnaPoruka + CRLF + VraćaSeStaraVerzija);
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

    s.TrenutnaPoruka = greškaPremještanja(t.greška, ime, premješteno);
    logiraj(o, s.TrenutnaPoruka);
    if (pitaj(o, s.TrenutnaPoruka + CRLF + PitanjePonovnogPokušaja) != Dialogs::Answer::Yes)
        return false;

    izvijesti(o, t.ponovniBackup, ime);
    const FsResult ponovno = o.fs.move(s.PutanjaPrograma + ime, s.PutanjaBackup + ime);
    if (ponovno)
        return true;
    s.TrenutnaPoruka = greškaPremještanja(t.ponovnaGreška, ime, ponovno);
    prijaviKritično(o);
    return false;
}

// Copies the new file from the Update folder over direktorija + name; a failure is told with `greška`.
bool KopirajNovu(Okruzenje& o, const QString& direktorija, const QString& ime, const QString& greška)
{
    Stanje& s = o.stanje;
    const FsResult kopirano = o.fs.copyReplacing(s.PutanjaUpdate + ime, direktorija + ime);
    if (kopirano)
        return true;
    s.TrenutnaPoruka = greška + ime + CRLF + QStringLiteral("Poruka o grešci je: ") + kopirano.error;
    prijaviKritično(o);
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
    s.TrenutnaPoruka = QStringLiteral("Deregistracija komponente: ") + ime;
    logiraj(o, s.TrenutnaPoruka);
    if (!DeregistrirajDLL(o, s.PutanjaPrograma, ime)) {
        kritično(o, QStringLiteral("Desila se greška u deregistraciji komponente: ") + ime + CRLF +
                        s.TrenutnaPoruka + CRLF + VraćaSeStaraVerzija);
        return false;
    }

    if (!PremjestiSPonovnimPokušajem(o, ime, PremještanjeKomponente)) {
        // The old component stays in the program folder, so the restore will not see it: it gets its
        // registration back here, or it would be left unregistered.
        if (o.fs.fileExists(s.PutanjaPrograma + ime)) {
            s.TrenutnaPoruka = QStringLiteral("Registracija stare komponente: ") + ime;
            PostaviTrenutnuAkciju(o, s.TrenutnaPoruka);
            if (!RegistrirajDLL(o, s.PutanjaPrograma, ime))
                kritično(o, s.TrenutnaPoruka + CRLF + VraćaSeStaraVerzija);
        }
        return false;
    }

    izvijesti(o, QStringLiteral("Kopiranje nove komponente: "), ime);
    if (!KopirajNovu(o, s.PutanjaPrograma, ime,
                     QStringLiteral("Nastala je greška u kopiranju nove komponente: ")))
        return false;

    s.TrenutnaPoruka = QStringLiteral("Registracija nove komponente: ") + ime;
    PostaviTrenutnuAkciju(o, s.TrenutnaPoruka);
    if (!RegistrirajDLL(o, s.PutanjaPrograma, ime)) {
        kritično(o, QStringLiteral("Desila se greška u registraciji nove komponente: ") + ime + CRLF +
                        s.TrenutnaPoruka + CRLF + VraćaSeStaraVerzija);
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
        s.TrenutnaPoruka = QStringLiteral("Nastala je greška u premještanju datoteke: ") + ime + CRLF +
                           QStringLiteral("Poruka o grešci je: ") + premješteno.error;
        prijaviKritično(o);
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
        LogirajGrešku(o, QStringLiteral("UpdatePrograma- Postoje startovani programi ") + popis);
        if (nastaviti == Dialogs::Answer::Yes)
            continue;
        const Dialogs::Answer prekinuti = pitaj(
            o, QStringLiteral("Ukoliko prekinete sa ažuriranjem novih verzija, izgubiće se svi novi učitani "
                              "programi, pa će se to morati ponoviti.") +
                   CRLF +
                   QStringLiteral("Želite li zaista prekinuti sa ažuriranjem programa sa novim verzijama?"));
        if (prekinuti == Dialogs::Answer::Yes) {
            LogirajGrešku(o, QStringLiteral("UpdatePrograma- Korisnik odustaje"));
            return false;
        }
    }
}

// Empties the backup folder, or creates it. Old files left by an earlier failed installation must
// not stay: a restore would copy them over the programs. False when the user has been told why not.
bool PripremiBackup(Okruzenje& o)
{
    Stanje& s = o.stanje;
    if (o.fs.folderExists(s.PutanjaBackup)) {
        const FsResult obrisano = o.fs.removeFiles(s.PutanjaBackup, QStringLiteral("*.*"));
        if (obrisano || obrisano.notFound)
            return true;
        s.TrenutnaPoruka = QStringLiteral(
                               "Nastala je greška u brisanju sadržaja UpdateBackup direktorije! Program "
                               "za ažuriranje novih verzija mora prestati sa radom. Kontaktirajte "
                               "Lumivex!") +
                           CRLF + QStringLiteral("Greška: ") + obrisano.error;
    } else {
        const FsResult kreirano = o.fs.createFolder(s.PutanjaBackup);
        if (kreirano)
            return true;
        s.TrenutnaPoruka = QStringLiteral(
                               "Nastala je greška u kreiranju UpdateBackup direktorije! Program za "
                               "ažuriranje novih verzija mora prestati sa radom. Kontaktirajte Lumivex!") +
                           CRLF + QStringLiteral("Greška: ") + kreirano.error;
    }
    LogirajGrešku(o, QStringLiteral("UpdatePrograma- ") + s.TrenutnaPoruka);
    upozori(o, s.TrenutnaPoruka);
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

}  // namespace

bool UpdatePrograma(Okruzenje& o)
{
    Stanje& s = o.stanje;

    LogirajGrešku(o, QStringLiteral("UpdatePrograma- početak"));

    if (!NemaPokrenutihPrograma(o))
        return false;

    if (!PripremiBackup(o))
        return false;

    if (ImeRačunala(o) == u"ORVEL-DVD") {
        upozori(o, QStringLiteral("Ime računala je ORVEL-DVD te nije moguće nastaviti sa radom!"));
        return false;
    }

    logiraj(o, QStringLiteral("Početak"));
    PostaviTrenutnuAkciju(o, QStringLiteral("Početak ..."));

    for (int i = 0; i < Matrica::BrojZapisa; ++i) {
        const Zapis& zapis = s.NoveVerzije[i];
        s.TrenutnaDatoteka = zapis.ime();
        if (s.TrenutnaDatoteka.isEmpty() || zapis.zastavica != 1)
            continue;
        // The name is kept apart: a yield may run the window's events, and the record must not change
        // under the item being installed.
        const QString ime = s.TrenutnaDatoteka;
        o.sat.pause(0);
        OznačiStavku(o, ime, 5);
        if (!InstalirajStavku(o, ime)) {
            PokušajVratitiSveNaPočetak(o);
            return false;
        }
        OznačiStavku(o, ime, 3);
    }

    const QString& verzije = ImeKontrolneDatoteke;
    logiraj(o, QStringLiteral("Backup ") + verzije);
    s.TrenutnaDatoteka = verzije;
    if (const FsResult r = o.fs.copyReplacing(s.PutanjaPrograma + verzije, s.PutanjaBackup + verzije); !r) {
        s.TrenutnaPoruka = QStringLiteral("Greška u premještanju u backup ") + verzije + u' ' + r.error;
        logiraj(o, s.TrenutnaPoruka);
    }
    logiraj(o, QStringLiteral("Kopiranje ") + verzije);
    if (const FsResult r = o.fs.copyReplacing(s.PutanjaUpdate + verzije, s.PutanjaPrograma + verzije); !r) {
        s.TrenutnaPoruka = QStringLiteral("Greška u kopiranju ") + verzije + u' ' + r.error;
        logiraj(o, s.TrenutnaPoruka);
    }
    PostaviTrenutnuAkciju(o, QString());

    for (const QString& maska : MaskeDohvaćenih) {
        logiraj(o, QStringLiteral("Brisanje fajlova ") + maska);
        if (const FsResult r = o.fs.removeFiles(s.PutanjaUpdate, maska); !r)
            logiraj(o,
                    QStringLiteral("Greška u brisanju fajlova ") + maska + QStringLiteral(" - ") + r.error);
    }

    logiraj(o, QStringLiteral("Brisanje direktorije ") + s.PutanjaBackup);
    if (const FsResult r = o.fs.removeFolder(BezKoseCrte(s.PutanjaBackup)); !r)
        logiraj(o, QStringLiteral("Greška u brisanju direktorije - ") + s.PutanjaBackup + r.error);

    logiraj(o, QStringLiteral("Kraj"));
    PripremiVerzijaTXT(o);
    return true;
}
