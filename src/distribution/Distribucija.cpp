#include "distribution/Distribucija.h"

#include "core/Log.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/ProgresBar.h"
#include "core/TekstKontrolneDatoteke.h"
#include "core/UcitavanjeMatrice.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "transfer/DownInet.h"
#include "transfer/Raspakiravanje.h"

namespace {

const QString KontrolnaDatoteka = QStringLiteral("Verzije.txt");
const QString BazniDio = QStringLiteral("LumiIzmjBaza20.dll");

// One run of the copy: the target, the mode and the two flags that force later entries.
struct Prijenos {
    Okruzenje& o;
    bool saPorukama;
    QString cilj;  // T, ending in "/"
    bool kopirajSve = false;
    bool bazaSkinuta = false;
    bool ištaKopirano = false;

    void poruka(Dialogs::Icon ikona, const QString& tekst)
    {
        if (saPorukama)
            o.dijalozi.show(ikona, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
    }
};

// A target typed without a folder of its own would be the file system's root or the folder the
// program happened to start in: neither is where an office keeps its distribution folder.
bool JeApsolutnaMapa(const QString& mapa)
{
    return mapa.startsWith(u'/') ||
           (mapa.size() >= 3 && mapa[0].isLetter() && mapa[1] == u':' && mapa[2] == u'/');
}

bool JeDrugačijiBroj(qint64 veličina, const QString& polje)
{
    return static_cast<double>(veličina) != BrojčanaVrijednost(polje);
}

// What happens to one entry: kept, fetched into the target, or fetched after its old archive has
// been deleted.
enum class Odluka { IstaVerzija, Kopiraj, Zamijeni };

Odluka OdlučiOStavci(Prijenos& p, const Zapis& nova, const QString& arhiva)
{
    Stanje& s = p.o.stanje;
    if (p.kopirajSve)
        return Odluka::Kopiraj;

    const Zapis* stara = nullptr;
    for (const Zapis& z : s.StareVerzije.zapisi) {
        if (z.ime() == nova.ime()) {
            stara = &z;
            break;
        }
    }
    if (!stara) {
        DodajUTranskript(s.PorukeGrešaka, QStringLiteral("Nije pronađen zapis o starim verzija za :") +
                                              nova.ime() + QStringLiteral(" pa se mora kopirati"));
        return Odluka::Kopiraj;
    }

    // Each version part is compared on its own, as the releases have always been numbered.
    for (int polje = 1; polje <= 3; ++polje)
        if (BrojčanaVrijednost(stara->polja[polje]) < BrojčanaVrijednost(nova.polja[polje]))
            return Odluka::Zamijeni;
    if (CijeliBroj(nova.polja[5]) != CijeliBroj(stara->polja[5]))
        return Odluka::Zamijeni;
    if (CijeliBroj(nova.polja[4]) != CijeliBroj(stara->polja[4]))
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
    if (JeDrugačijiBroj(veličina, nova.polja[4])) {
        DodajUTranskript(s.PorukeGrešaka, QStringLiteral("Nađena 7z datoteka: ") + arhiva +
                                              QStringLiteral(" ali je veličina različita ") +
                                              QString::number(veličina) + QStringLiteral(" Novi: ") +
                                              nova.polja[4] + QStringLiteral(" pa će se prekopirati"));
        return Odluka::Zamijeni;
    }

    // The flags see only the entries of earlier rows: the order of the control file decides.
    const QString vrsta = nova.ime().right(3);
    if ((p.bazaSkinuta && vrsta == QStringLiteral("enc")) ||
        (p.ištaKopirano && vrsta == QStringLiteral("chm")))
        return Odluka::Zamijeni;
    return Odluka::IstaVerzija;
}

bool Skini(Prijenos& p, const Zapis& nova, const QString& arhiva, Odluka odluka)
{
    Okruzenje& o = p.o;
    // A failed or needless deletion is no error: the download replaces the file either way.
    if (odluka == Odluka::Zamijeni)
        o.fs.removeFile(p.cilj + arhiva);
    if (!DownInet(o, arhiva, p.cilj, GraniceArhive(nova.polja[4])))
        return false;
    // Counted once the archive has arrived, so a run that stops reports only what it fetched.
    o.stanje.UkupnoPreneseno += CijeliBroj(nova.polja[4]);
    p.ištaKopirano = true;
    if (nova.ime() == BazniDio)
        p.bazaSkinuta = true;
    return true;
}

bool ProvjeriVeličinu(Prijenos& p, const Zapis& nova, const QString& arhiva)
{
    Okruzenje& o = p.o;
    Stanje& s = o.stanje;
    qint64 veličina = 0;
    if (!o.fs.fileSize(p.cilj + arhiva, veličina)) {
        s.TrenutnaPoruka = QStringLiteral("Greška u provjeri veličine datoteke-dohvatu datoteke ") + arhiva +
                           QStringLiteral(". Prekida se ažuriranje!");
        LogirajGrešku(o, QStringLiteral("Download na lokaciju - ") + s.TrenutnaPoruka);
        DodajUTranskript(s.PorukeGrešaka, s.TrenutnaPoruka);
        p.poruka(Dialogs::Icon::Exclamation, s.TrenutnaPoruka);
        return false;
    }
    const QString početak = QStringLiteral("Veličina presnimljene datoteke ") + arhiva +
                            QStringLiteral(" je ") + QString::number(veličina) +
                            QStringLiteral(", a veličina originalne datoteke je ") + nova.polja[4];
    if (!JeDrugačijiBroj(veličina, nova.polja[4])) {
        s.TrenutnaPoruka = početak + QStringLiteral(". OK.");
        LogirajGrešku(o, QStringLiteral("Download na lokaciju - ") + s.TrenutnaPoruka);
        return true;
    }
    s.TrenutnaPoruka =
        početak + QStringLiteral(
                      " i one nisu iste. Moguća greška u prijenosu datoteke. Ponovite postupak. "
                      "Nastaviće se prijenos za ostale datoteke!");
    LogirajGrešku(o, QStringLiteral("Download na lokaciju - ") + s.TrenutnaPoruka);
    DodajUTranskript(s.PorukeGrešaka, s.TrenutnaPoruka);
    p.poruka(Dialogs::Icon::Exclamation, s.TrenutnaPoruka);
    return true;
}

}  // namespace

bool DownloadNaLokaciju(Okruzenje& o, bool SaPorukama)
{
    Stanje& s = o.stanje;
    Prijenos p{o, SaPorukama, o.model.txtLokacija(1)};

    if (p.cilj.trimmed().isEmpty()) {
        s.TrenutnaPoruka = QStringLiteral(
            "Nije unesena lokacija za download programa! Upišite ili izaberite direktoriju na kartici "
            "\"Kopiranje novih (svih) programa na disk/mrežnu lokaciju\".");
        LogirajGrešku(o, QStringLiteral("Download na lokaciju- ") + s.TrenutnaPoruka);
        p.poruka(Dialogs::Icon::Exclamation, s.TrenutnaPoruka);
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

    const QString mapaUpdate = p.cilj + QStringLiteral("Update/");
    if (!o.fs.folderExists(mapaUpdate) && !o.fs.createFolder(mapaUpdate)) {
        p.poruka(Dialogs::Icon::Exclamation,
                 QStringLiteral("Nastala je greška u kreiranju Update direktorije! Program za skidanje novih "
                                "programa mora prestati sa radom."));
        return false;
    }

    if (!DownInet(o, KontrolnaDatoteka, mapaUpdate, HttpTransfer::Limits(NajvećaKontrolnaDatoteka))) {
        s.TrenutnaPoruka = QStringLiteral(
                               "Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu sa "
                               "internetom i pokušajte ponovno!") +
                           QStringLiteral(" Prekida se ažuriranje!");
        LogirajGrešku(o, QStringLiteral("Download na lokaciju- ") + s.TrenutnaPoruka);
        p.poruka(Dialogs::Icon::Exclamation, s.TrenutnaPoruka);
        return false;
    }

    if (!o.fs.fileExists(mapaUpdate + KontrolnaDatoteka)) {
        LogirajGrešku(
            o, QStringLiteral("Download na lokaciju- Učitao sa interneta Verzije.txt ali one ne postoje u ") +
                   mapaUpdate);
        p.poruka(Dialogs::Icon::None,
                 QStringLiteral("Podaci o novim verzijama na postoje na lokaciji: ") + mapaUpdate);
        return false;
    }

    if (!UčitajMatricu(s.NoveVerzije, mapaUpdate + KontrolnaDatoteka, o)) {
        s.TrenutnaPoruka = QStringLiteral(
            "DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. Prekida se ažuriranje!");
        LogirajGrešku(o, s.TrenutnaPoruka);
        p.poruka(Dialogs::Icon::Exclamation, s.TrenutnaPoruka);
        return false;
    }

    if (!o.fs.folderExists(p.cilj)) {
        p.poruka(Dialogs::Icon::None,
                 QStringLiteral("Ne postoji direktorija: ") + p.cilj +
                     QStringLiteral(" ili niste spojeni!\r\nPrekida se sa prebacivanjem!"));
        return false;
    }

    const QString staraKontrolna = p.cilj + KontrolnaDatoteka;
    if (o.fs.fileExists(staraKontrolna)) {
        if (UčitajMatricu(s.StareVerzije, staraKontrolna, o)) {
            p.kopirajSve = false;
        } else {
            s.TrenutnaPoruka = QStringLiteral(
                "DownloadNaLokaciju - Desila se greška u čitanju zapisa u matricu. Kopiraju se sve datoteke! "
                "Želite li nastaviti? ");
            LogirajGrešku(o, s.TrenutnaPoruka);
            p.kopirajSve = true;
        }
    } else {
        const Dialogs::Answer odgovor = o.dijalozi.show(
            Dialogs::Icon::Question, NaslovPrograma,
            QStringLiteral("Ne postoji datoteka: ") + p.cilj +
                QStringLiteral("Verzije.txt. Kopiraju se sve datoteke. Želite li nastaviti sa download-om?"),
            Dialogs::Buttons::YesNo);
        if (odgovor != Dialogs::Answer::Yes)
            return false;
        p.kopirajSve = true;
        s.StareVerzije.očisti();
    }

    // The transfer starts: the clock counts from after the bar has been placed.
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

    for (int red = 0; red < Matrica::BrojZapisa; ++red) {
        const Zapis nova = s.NoveVerzije[red];
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

    // The target's control file is replaced last, so that the other computers never see it before
    // the archives it lists. Without it they would compare the new archives with the old file.
    const FsResult kopija = o.fs.copyReplacing(mapaUpdate + KontrolnaDatoteka, staraKontrolna);
    if (!kopija) {
        s.TrenutnaPoruka = QStringLiteral("Greška u kopiranju ") + KontrolnaDatoteka + u' ' + kopija.error;
        DodajUTranskript(s.PorukeGrešaka, s.TrenutnaPoruka);
        LogirajGrešku(o, QStringLiteral("Download na lokaciju - ") + s.TrenutnaPoruka);
    } else {
        DodajUTranskript(s.PorukeAkcija, QStringLiteral("Kopirano ") + KontrolnaDatoteka);
    }

    o.model.omogućiTmrPrijenos(false);
    o.model.prikažiProgBar(false);
    PrikažiTranskripte(o);
    return kopija.ok;
}

void PrijenosNaLokaciju(Okruzenje& o, bool SaPorukama)
{
    const bool uspjeh = DownloadNaLokaciju(o, SaPorukama);

    // Also after a run that stopped early with the clock running.
    o.model.omogućiTmrPrijenos(false);
    o.model.prikažiProgBar(false);
    if (!SaPorukama)
        return;

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
}

bool JeVrijemeAutomatskogPrijenosa(int sati, const QTime& vrijeme)
{
    if (vrijeme.minute() != 0)
        return false;
    if (sati <= 0)
        return false;
    return vrijeme.hour() % sati == 0;
}
