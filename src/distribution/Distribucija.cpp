#include "distribution/Distribucija.h"

#include "core/ImenaDatoteka.h"
#include "core/NovaVerzija.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/ProgresBar.h"
#include "core/ProvjeraIzdanja.h"
#include "core/Putanje.h"
#include "core/TekstKontrolneDatoteke.h"
#include "core/UcitavanjeMatrice.h"
#include "core/VelicinaDatoteke.h"
#include "core/VrstaDatoteke.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "transfer/DownInet.h"
#include "transfer/Raspakiravanje.h"

namespace {

// One run of the copy: the target, the mode and the two flags that force later entries.
struct Prijenos {
    Okruzenje& o;
    bool saPorukama;
    QString cilj;  // T, ending in "/"
    QString mapaUpdate{};
    // With a trusted key, archives arrive in the Update folder and replace the target's only once
    // verified, and the signature travels with the control file.
    bool provjerava = false;
    // The copy's own control files: the server's and the target's. The check's tables stay as they
    // are, so the installation still finds the updates it flagged.
    Matrica nove{};
    Matrica stare{};
    bool kopirajSve = false;
    bool bazaSkinuta = false;
    bool ištaKopirano = false;

    void poruka(Dialogs::Icon ikona, const QString& tekst)
    {
        if (saPorukama)
            o.dijalozi.show(ikona, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
    }

    // How the run tells a failure: after `prefiks` in the log and, for a run the user started, in a box.
    NačinPrijave prijava(const QString& prefiks) const { return {.prefiks = prefiks, .kutija = saPorukama}; }
    // A failure of the copy itself also goes into the error transcript.
    NačinPrijave prijavaKopiranja() const
    {
        NačinPrijave način = prijava(QStringLiteral("Download na lokaciju - "));
        način.transkript = &o.stanje.PorukeGrešaka;
        return način;
    }
};

// What happens to one entry: kept, fetched into the target, or fetched after its old archive has
// been deleted.
enum class Odluka { IstaVerzija, Kopiraj, Zamijeni };

Odluka OdlučiOStavci(Prijenos& p, const Zapis& nova, const QString& arhiva)
{
    Stanje& s = p.o.stanje;
    if (p.kopirajSve)
        return Odluka::Kopiraj;

    const Zapis* stara = NađiZapis(p.stare, nova.ime());
    if (!stara) {
        DodajUTranskript(s.PorukeGrešaka, QStringLiteral("Nije pronađen zapis o starim verzija za :") +
                                              nova.ime() + QStringLiteral(" pa se mora kopirati"));
        return Odluka::Kopiraj;
    }

    if (TrebaNovaVerzija(nova, *stara))
        return Odluka::Zamijeni;

    const QString putanja = p.cilj + arhiva;
    if (!p.o.fs.fileExists(putanja)) {
        DodajUTranskript(s.PorukeGrešaka, QStringLiteral("Nije nađena 7z datoteka: ") + arhiva +
                                              QStringLiteral(" pa se mora napraviti"));
        return Odluka::Zamijeni;
    }
    qint64 veličina = 0;
    // An archive whose size cannot be read cannot be vouched for: a new download replaces it.
    if (!p.o.fs.fileSize(putanja, veličina))
        return Odluka::Zamijeni;
    if (!IstaVeličina(veličina, nova.polja[4])) {
        DodajUTranskript(s.PorukeGrešaka, QStringLiteral("Nađena 7z datoteka: ") + arhiva +
                                              QStringLiteral(" ali je veličina različita ") +
                                              QString::number(veličina) + QStringLiteral(" Novi: ") +
                                              nova.polja[4] + QStringLiteral(" pa će se prekopirati"));
        return Odluka::Zamijeni;
    }

    // An archive swapped in the shared folder keeps its size: only its hash shows it.
    if (p.provjerava) {
        QString greška;
        if (Sha256Datoteke(p.o.fs, putanja, greška).compare(nova.haš, Qt::CaseInsensitive) != 0) {
            DodajUTranskript(s.PorukeGrešaka, QStringLiteral("Nađena 7z datoteka: ") + arhiva +
                                                  QStringLiteral(" ali njen SHA-256 sažetak nije onaj iz "
                                                                 "potpisane datoteke Verzije.txt pa će se "
                                                                 "prekopirati"));
            return Odluka::Zamijeni;
        }
    }

    // The flags see only the entries of earlier rows: the order of the control file decides.
    const VrstaDatoteke vrsta = VrstaPoImenu(nova.ime());
    if ((p.bazaSkinuta && vrsta == VrstaDatoteke::Skripta) ||
        (p.ištaKopirano && vrsta == VrstaDatoteke::Pomoć))
        return Odluka::Zamijeni;
    return Odluka::IstaVerzija;
}

// With a trusted key the archive is fetched into the Update folder and verified there, so that the
// target never holds an archive its control file does not vouch for.
bool SkiniProvjereno(Prijenos& p, const Zapis& nova, const QString& arhiva)
{
    Okruzenje& o = p.o;
    const QString pripremljena = p.mapaUpdate + arhiva;
    if (!DownInet(o, arhiva, p.mapaUpdate, GraniceArhive(nova.polja[4])))
        return false;
    if (QString poruka; !ProvjeriArhivu(o, nova, pripremljena, poruka)) {
        o.fs.removeFile(pripremljena);
        PrijaviNeuspjeh(p.o.log, p.o.dijalozi, p.prijavaKopiranja(),
                        poruka + QStringLiteral(" Arhiva je obrisana. Prekida se prijenos!"));
        return false;
    }
    const FsResult kopija = o.fs.copyReplacing(pripremljena, p.cilj + arhiva);
    o.fs.removeFile(pripremljena);
    if (!kopija) {
        PrijaviNeuspjeh(p.o.log, p.o.dijalozi, p.prijavaKopiranja(),
                        QStringLiteral("Greška u kopiranju ") + arhiva + u' ' + kopija.error +
                            QStringLiteral(". Prekida se prijenos!"));
        return false;
    }
    return true;
}

bool Skini(Prijenos& p, const Zapis& nova, const QString& arhiva, Odluka odluka)
{
    Okruzenje& o = p.o;
    if (p.provjerava) {
        if (!SkiniProvjereno(p, nova, arhiva))
            return false;
    } else {
        // A failed or needless deletion is no error: the download replaces the file either way.
        if (odluka == Odluka::Zamijeni)
            o.fs.removeFile(p.cilj + arhiva);
        if (!DownInet(o, arhiva, p.cilj, GraniceArhive(nova.polja[4])))
            return false;
    }
    // Counted once the archive has arrived, so a run that stops reports only what it fetched.
    o.stanje.UkupnoPreneseno += CijeliBroj(nova.polja[4]);
    p.ištaKopirano = true;
    if (nova.ime() == ImeKomponenteIzmjeneBaze)
        p.bazaSkinuta = true;
    return true;
}

bool ProvjeriVeličinu(Prijenos& p, const Zapis& nova, const QString& arhiva)
{
    Okruzenje& o = p.o;
    qint64 veličina = 0;
    if (!o.fs.fileSize(p.cilj + arhiva, veličina)) {
        PrijaviNeuspjeh(p.o.log, p.o.dijalozi, p.prijavaKopiranja(), GreškaProvjereVeličineArhive(arhiva));
        return false;
    }
    const QString početak = OpisVeličine(arhiva, veličina, nova.polja[4]);
    if (IstaVeličina(veličina, nova.polja[4])) {
        o.log.piši(QStringLiteral("Download na lokaciju - ") + početak + QStringLiteral(". OK."));
        return true;
    }
    PrijaviNeuspjeh(
        p.o.log, p.o.dijalozi, p.prijavaKopiranja(),
        početak + QStringLiteral(" i one nisu iste. Moguća greška u prijenosu datoteke. Ponovite postupak. "
                                 "Nastaviće se prijenos za ostale datoteke!"));
    return true;
}

// Checks the target folder and gives it an Update folder; false when the run cannot start there.
bool PripremiCilj(Prijenos& p)
{
    Okruzenje& o = p.o;
    if (p.cilj.trimmed().isEmpty()) {
        PrijaviNeuspjeh(o.log, o.dijalozi, p.prijava(QStringLiteral("Download na lokaciju- ")),
                        QStringLiteral("Nije unesena lokacija za download programa! Upišite ili izaberite "
                                       "direktoriju na kartici \"Kopiranje novih (svih) programa na "
                                       "disk/mrežnu lokaciju\"."));
        return false;
    }
    if (!p.cilj.endsWith(u'/')) {
        p.cilj += u'/';
        o.model.postaviTxtLokacija(1, p.cilj);
    }

    if (!JeApsolutnaMapa(p.cilj) || !o.fs.folderExists(p.cilj)) {
        p.poruka(Dialogs::Icon::Exclamation,
                 QStringLiteral("Ne postoji unesena lokacija za download programa: ") + p.cilj +
                     QStringLiteral(
                         "\r\nProgram ne može nastaviti sa presnimavanjem programa na zadanu lokaciju!"));
        return false;
    }

    p.mapaUpdate = p.cilj + QStringLiteral("Update/");
    if (!o.fs.folderExists(p.mapaUpdate) && !o.fs.createFolder(p.mapaUpdate)) {
        p.poruka(Dialogs::Icon::Exclamation,
                 QStringLiteral("Nastala je greška u kreiranju Update direktorije! Program za skidanje novih "
                                "programa mora prestati sa radom."));
        return false;
    }
    return true;
}

// Fetches the new control file into the target's Update folder and reads it; false when the run
// stops.
bool UčitajNovuKontrolnu(Prijenos& p)
{
    Okruzenje& o = p.o;
    Stanje& s = o.stanje;
    if (!DownInet(o, ImeKontrolneDatoteke, p.mapaUpdate, HttpTransfer::Limits(NajvećaKontrolnaDatoteka))) {
        PrijaviNeuspjeh(o.log, o.dijalozi, p.prijava(QStringLiteral("Download na lokaciju- ")),
                        QStringLiteral("Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu "
                                       "sa internetom i pokušajte ponovno!") +
                            QStringLiteral(" Prekida se ažuriranje!"));
        return false;
    }

    if (!o.fs.fileExists(p.mapaUpdate + ImeKontrolneDatoteke)) {
        o.log.piši(
            QStringLiteral("Download na lokaciju- Učitao sa interneta Verzije.txt ali one ne postoje u ") +
            p.mapaUpdate);
        p.poruka(Dialogs::Icon::None,
                 QStringLiteral("Podaci o novim verzijama na postoje na lokaciji: ") + p.mapaUpdate);
        return false;
    }

    // The office's computers verify what they read from the target, so a release that does not
    // verify is not copied there at all.
    p.provjerava = UčitajPouzdaneKljučeve(o).provjerava();
    if (p.provjerava) {
        o.fs.removeFile(p.mapaUpdate + ImePotpisa);
        DownInet(o, ImePotpisa, p.mapaUpdate, HttpTransfer::Limits(NajvećiPotpis));
        const QString baznaAdresa = o.model.optLokacija() == 2 ? s.SekundarniServer : s.PrimarniServer;
        const ProvjeraKontrolne provjera =
            ProvjeriKontrolnuDatoteku(o, p.mapaUpdate + ImeKontrolneDatoteke, p.mapaUpdate + ImePotpisa,
                                      p.cilj + ImePotpisa, baznaAdresa + ImeKontrolneDatoteke);
        if (!provjera.prihvaćeno()) {
            o.fs.removeFile(p.mapaUpdate + ImeKontrolneDatoteke);
            o.fs.removeFile(p.mapaUpdate + ImePotpisa);
            PrijaviNeuspjeh(p.o.log, p.o.dijalozi, p.prijavaKopiranja(),
                            provjera.poruka + QStringLiteral(" Prekida se prijenos!"));
            return false;
        }
    }

    if (!UčitajMatricu(p.nove, p.mapaUpdate + ImeKontrolneDatoteke, o)) {
        PrijaviNeuspjeh(o.log, o.dijalozi, p.prijava(QString()),
                        QStringLiteral("DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. "
                                       "Prekida se ažuriranje!"));
        return false;
    }
    return true;
}

// Reads the control file that lies in the target or, with the user's leave, copies everything;
// false when the run stops.
bool UčitajStaruKontrolnu(Prijenos& p)
{
    Okruzenje& o = p.o;
    if (!o.fs.folderExists(p.cilj)) {
        p.poruka(Dialogs::Icon::None,
                 QStringLiteral("Ne postoji direktorija: ") + p.cilj +
                     QStringLiteral(" ili niste spojeni!\r\nPrekida se sa prebacivanjem!"));
        return false;
    }

    const QString staraKontrolna = p.cilj + ImeKontrolneDatoteke;
    if (o.fs.fileExists(staraKontrolna)) {
        if (UčitajMatricu(p.stare, staraKontrolna, o)) {
            p.kopirajSve = false;
        } else {
            o.log.piši(
                QStringLiteral("DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. "
                               "Kopiraju se sve datoteke! Želite li nastaviti? "));
            p.kopirajSve = true;
        }
        return true;
    }
    const Dialogs::Answer odgovor = o.dijalozi.show(
        Dialogs::Icon::Question, NaslovPrograma,
        QStringLiteral("Ne postoji datoteka: ") + p.cilj +
            QStringLiteral("Verzije.txt. Kopiraju se sve datoteke. Želite li nastaviti sa download-om?"),
        Dialogs::Buttons::YesNo);
    if (odgovor != Dialogs::Answer::Yes)
        return false;
    p.kopirajSve = true;
    p.stare.očisti();
    return true;
}

// The transfer starts: the clock counts from after the bar has been placed.
void ZapočniPrijenos(Prijenos& p)
{
    Okruzenje& o = p.o;
    Stanje& s = o.stanje;
    o.model.postaviLblVrijemePrijenosa(QString());
    o.model.omogućiTmrPrijenos(true);
    s.PočetakPrijenosa = o.sat.now();
    PostaviProgresBar(o, 0, 30);
    s.PočetakPrijenosa = o.sat.now();
    s.PorukeAkcija.clear();
    s.PorukeGrešaka.clear();
    s.UkupnoPreneseno = 0;
    p.bazaSkinuta = false;
    p.ištaKopirano = false;
}

// One pass over the new control file: every entry is kept or fetched and then has its size checked.
bool Prolaz(Prijenos& p)
{
    Okruzenje& o = p.o;
    Stanje& s = o.stanje;
    for (int red = 0; red < Matrica::BrojZapisa; ++red) {
        const Zapis nova = p.nove[red];
        if (nova.prazan())
            continue;
        const QString arhiva = ImeArhive(nova.ime());

        const Odluka odluka = OdlučiOStavci(p, nova, arhiva);
        if (odluka != Odluka::IstaVerzija) {
            if (!Skini(p, nova, arhiva, odluka))
                return false;
        } else {
            DodajUTranskript(s.PorukeAkcija, QStringLiteral("Ista verzija: ") + nova.ime());
        }

        if (!ProvjeriVeličinu(p, nova, arhiva))
            return false;

        // The bar shows 1 to 29 and starts again at 1; it never rests at 30.
        qint64 položaj = o.model.progBarVrijednost() + 1;
        if (položaj > 29)
            položaj = 1;
        o.model.postaviProgBarVrijednost(položaj);
    }
    return true;
}

// The target's control file is replaced last, so that the other computers never see it before the
// archives it lists. Without it they would compare the new archives with the old file. The signature
// goes just before it: a target whose control file is new always has its signature, and one whose
// signature could not be copied keeps its old control file.
bool Završi(Prijenos& p)
{
    Okruzenje& o = p.o;
    Stanje& s = o.stanje;
    FsResult kopija;
    QString kopirana = ImeKontrolneDatoteke;
    if (p.provjerava) {
        kopija = o.fs.copyReplacing(p.mapaUpdate + ImePotpisa, p.cilj + ImePotpisa);
        if (kopija)
            DodajUTranskript(s.PorukeAkcija, QStringLiteral("Kopirano ") + ImePotpisa);
        else
            kopirana = ImePotpisa;
    }
    if (kopija)
        kopija = o.fs.copyReplacing(p.mapaUpdate + ImeKontrolneDatoteke, p.cilj + ImeKontrolneDatoteke);
    if (!kopija) {
        const QString poruka = QStringLiteral("Greška u kopiranju ") + kopirana + u' ' + kopija.error;
        DodajUTranskript(s.PorukeGrešaka, poruka);
        o.log.piši(QStringLiteral("Download na lokaciju - ") + poruka);
    } else {
        DodajUTranskript(s.PorukeAkcija, QStringLiteral("Kopirano ") + ImeKontrolneDatoteke);
    }

    o.model.omogućiTmrPrijenos(false);
    o.model.prikažiProgBar(false);
    PrikažiTranskripte(o);
    return kopija.ok;
}

}  // namespace

bool DownloadNaLokaciju(Okruzenje& o, bool SaPorukama)
{
    Prijenos p{o, SaPorukama, o.model.txtLokacija(1)};
    if (!PripremiCilj(p) || !UčitajNovuKontrolnu(p) || !UčitajStaruKontrolnu(p))
        return false;
    ZapočniPrijenos(p);
    return Prolaz(p) && Završi(p);
}

bool PrijenosNaLokaciju(Okruzenje& o, bool SaPorukama)
{
    const bool uspjeh = DownloadNaLokaciju(o, SaPorukama);

    // Also after a run that stopped early with the clock running.
    o.model.omogućiTmrPrijenos(false);
    o.model.prikažiProgBar(false);
    if (!SaPorukama)
        return uspjeh;

    const QString cilj = o.model.txtLokacija(1);
    const QString vrijeme = o.model.lblVrijemePrijenosa();
    const QString ukupno = QString::number(o.stanje.UkupnoPreneseno);
    if (uspjeh)
        o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                        QStringLiteral("Uspješno skinuti programi na lokaciju ") + cilj +
                            QStringLiteral(" \r\n") + vrijeme + QStringLiteral("\r\nUkupno prenesno: ") +
                            ukupno +
                            QStringLiteral(" bajtova.\r\nSada je moguće ažuriranje za ostala računala!"),
                        Dialogs::Buttons::Ok);
    else
        o.dijalozi.show(
            Dialogs::Icon::Exclamation, NaslovPrograma,
            QStringLiteral("Upozorenje. Nisu uspješno skinuti programi na lokaciju ") + cilj +
                QStringLiteral(
                    " pa ažuriranje sa te lokacije nije preporučljivo. Otklonite nastalu grešku ili "
                    "kontaktirajte Lumivex.\r\nTek kada prijenos prođe bez problema moguće je koristiti "
                    "ovu direktoriju za ažuriranje programa!\r\n") +
                vrijeme + QStringLiteral("\r\nUkupno prenesno: ") + ukupno + QStringLiteral(" bajtova."),
            Dialogs::Buttons::Ok);
    return uspjeh;
}

bool JeVrijemeAutomatskogPrijenosa(int sati, const QTime& vrijeme)
{
    if (vrijeme.minute() != 0)
        return false;
    if (sati <= 0)
        return false;
    return vrijeme.hour() % sati == 0;
}
