#include "transfer/Dohvat.h"

#include "core/Cekanje.h"
#include "core/ImenaDatoteka.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/ProgresBar.h"
#include "core/ProvjeraIzdanja.h"
#include "core/Putanje.h"
#include "core/TekstKontrolneDatoteke.h"
#include "core/Usporedba.h"
#include "core/VelicinaDatoteke.h"
#include "core/VrstaDatoteke.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "transfer/DownInet.h"
#include "transfer/Raspakiravanje.h"

#include <QList>
#include <algorithm>

namespace {

enum class Izvor { MrežnaLokacija, Internet };

// One run of a fetch: where the archives come from and what every log line begins with.
struct Dohvat {
    Okruzenje& o;
    Izvor izvor;
    Zapisnik::SPrefiksom logiraj;  // "SnimitiSaMrežneLokacije - " or "SnimitiSaInterneta - "
    QString izvornaMapa{};         // the network folder as its text stands; empty for the internet
    QString mapaUpdate{};
    QList<Zapis> popis{};  // the update list as it stood when the run began
    int brojačČekanja = 0;

    // Reports an error: the message goes to the log and the error transcript, and with `saPorukom`
    // into a message box. Without a box the error pane shows it, since no one else tells the user.
    bool greška(const QString& tekst, bool saPorukom)
    {
        Stanje& s = o.stanje;
        PrijaviNeuspjeh(logiraj.log(), o.dijalozi,
                        {.prefiks = logiraj.prefiks(), .kutija = saPorukom, .transkript = &s.PorukeGrešaka},
                        tekst);
        if (!saPorukom)
            o.model.postaviTxtPorGr(s.PorukeGrešaka);
        return false;
    }
};

// Compares a fetched file's size with the column text `polje`; the messages name the file as `ime`.
bool ProvjeriVeličinu(Dohvat& d, const QString& ime, qint64 veličina, const QString& polje)
{
    const QString početak = OpisVeličine(ime, veličina, polje);
    if (!IstaVeličina(veličina, polje))
        return d.greška(
            početak + QStringLiteral(" i one nisu iste. Moguća greška u prijenosu datoteke. Ponovite "
                                     "postupak. Prekida se ažuriranje!"),
            true);
    d.logiraj(početak + QStringLiteral(". OK."));
    return true;
}

bool Početak(Dohvat& d)
{
    Okruzenje& o = d.o;
    Stanje& s = o.stanje;
    s.PorukeAkcija.clear();
    s.PorukeGrešaka.clear();

    const auto& zapisi = s.NoveVerzije.zapisi;
    if (std::none_of(zapisi.begin(), zapisi.end(), [](const Zapis& z) { return z.zastavica == 1; })) {
        o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                        QStringLiteral("Nema novih verzija progama!"), Dialogs::Buttons::Ok);
        return false;
    }
    // A copy, so that nothing the window does during a wait can change the list being worked through.
    for (const Zapis& z : zapisi)
        if (!z.prazan() && z.zastavica == 1)
            d.popis.push_back(z);
    d.mapaUpdate = s.PutanjaUpdate;

    PostaviProgresBar(o, 0, s.UkupnoZaPrijenos);
    d.logiraj(QStringLiteral("Početak"));
    return true;
}

// Network folder: the archive must lie in the source folder and is copied over any older one.
bool KopirajArhivu(Dohvat& d, const QString& ime, const QString& arhiva)
{
    Okruzenje& o = d.o;
    OznačiStavku(o, ime, StanjeStavke::KopiranaSMreže);
    const QString izvor = d.izvornaMapa + arhiva;
    if (!JeApsolutnaMapa(d.izvornaMapa) || !o.fs.fileExists(izvor))
        return d.greška(QStringLiteral("Nije nađena 7z datoteka: ") + d.izvornaMapa + arhiva +
                            QStringLiteral(" pa je nije moguće instalirati. Prekida se ažuriranje!"),
                        false);

    d.logiraj(QStringLiteral("Početak kopiranja ") + arhiva);
    PostaviTrenutnuAkciju(o, QStringLiteral("Kopiranje datoteke: ") + arhiva);
    if (!o.fs.copyReplacing(izvor, d.mapaUpdate + arhiva))
        return d.greška(
            QStringLiteral("Greška u kopiranju ") + arhiva + QStringLiteral(". Prekida se ažuriranje!"),
            true);
    DodajUTranskript(o.stanje.PorukeAkcija, QStringLiteral("Kopirano ") + arhiva);
    return true;
}

// Internet: an archive left by an earlier run is deleted, so that a run never reuses an old download.
bool SkiniArhivu(Dohvat& d, const Zapis& z, const QString& arhiva)
{
    Okruzenje& o = d.o;
    const QString cilj = d.mapaUpdate + arhiva;
    d.logiraj(QStringLiteral("Provjera postojanja fajla ") + arhiva);
    if (o.fs.fileExists(cilj)) {
        d.logiraj(QStringLiteral("Nađena 7z datoteka: ") + d.mapaUpdate + arhiva +
                  QStringLiteral(" pa je treba obrisati!"));
        const FsResult brisanje = o.fs.removeFile(cilj);
        if (!brisanje) {
            d.logiraj(QStringLiteral("Nije uspješno izbrisana 7z datoteka: ") + d.mapaUpdate + arhiva +
                      QStringLiteral(" pa je to problem: ") + brisanje.error);
        }
    }

    d.logiraj(QStringLiteral("Početak skidanja ") + arhiva);
    OznačiStavku(o, z.ime(), StanjeStavke::SkinutaSInterneta);
    if (!DownInet(o, arhiva, d.mapaUpdate, GraniceArhive(z.polja[4])))
        return false;
    if (!o.fs.fileExists(cilj))
        return d.greška(QStringLiteral("Nije nađena 7z datoteka: ") + d.mapaUpdate + arhiva +
                            QStringLiteral(" pa je nije moguće instalirati. Prekida se ažuriranje!"),
                        false);
    return true;
}

bool PrviProlaz(Dohvat& d)
{
    Okruzenje& o = d.o;
    for (const Zapis& z : d.popis) {
        const QString& ime = z.ime();
        const QString arhiva = ImeArhive(ime);
        const bool dohvaćena =
            d.izvor == Izvor::MrežnaLokacija ? KopirajArhivu(d, ime, arhiva) : SkiniArhivu(d, z, arhiva);
        if (!dohvaćena)
            return false;

        qint64 veličina = 0;
        if (!o.fs.fileSize(d.mapaUpdate + arhiva, veličina))
            return d.greška(GreškaProvjereVeličineArhive(arhiva), true);
        if (!ProvjeriVeličinu(d, arhiva, veličina, z.polja[4]))
            return false;
        // An archive swapped for another of the same size is caught here, before it is unpacked.
        if (QString poruka; !ProvjeriArhivu(o, z, d.mapaUpdate + arhiva, poruka)) {
            o.fs.removeFile(d.mapaUpdate + arhiva);
            return d.greška(poruka + QStringLiteral(" Arhiva je obrisana. Prekida se ažuriranje!"), true);
        }

        // The bar never runs past its end: items that the comparison did not count in the total
        // still move it.
        o.model.postaviProgBarVrijednost(
            std::min(o.model.progBarVrijednost() + CijeliBroj(z.polja[4]), o.model.progBarMax()));

        OznačiStavku(o, ime, StanjeStavke::Raspakirana);
        if (const Ishod raspakirano = Unzipaj(o, ime); !raspakirano) {
            o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                            QStringLiteral("Desila se greška: ") + raspakirano.poruka +
                                QStringLiteral(" Prekida se ažuriranje!"),
                            Dialogs::Buttons::Ok);
            return false;
        }
    }
    return true;
}

void IzmeđuProlaza(Dohvat& d)
{
    Okruzenje& o = d.o;
    PostaviTrenutnuAkciju(o, QStringLiteral("Čekanje da se sve raspakira ..."));
    if (d.izvor == Izvor::Internet) {
        Čekaj(o, 5);
        o.stanje.PočetakPrijenosa = o.sat.now();
    }
    o.model.prikažiProgBar(false);
    d.brojačČekanja = 0;
    d.logiraj(QStringLiteral("Početak provjere veličine datoteka"));
}

// At most four waits for missing files in the whole pass: the counter is never reset.
void PričekajRaspakiravanje(Dohvat& d, const QString& logTekst)
{
    d.logiraj(logTekst);
    PostaviTrenutnuAkciju(d.o, QStringLiteral("Čekanje na raspakiravanje ..."));
    if (d.brojačČekanja < 4)
        Čekaj(d.o, 5);
    ++d.brojačČekanja;
}

bool DrugiProlaz(Dohvat& d)
{
    Okruzenje& o = d.o;
    for (const Zapis& z : d.popis) {
        const QString& ime = z.ime();
        const QString datoteka = d.mapaUpdate + ime;
        PostaviTrenutnuAkciju(o, QStringLiteral("Provjera veličine datoteka ..."));
        if (!o.fs.fileExists(datoteka))
            PričekajRaspakiravanje(d, QStringLiteral("Nema fajla, moram čekati 5 s ") + ime);
        if (!o.fs.fileExists(datoteka))
            PričekajRaspakiravanje(d, QStringLiteral("Nema fajla, moram čekati još 5 s ") + ime);
        if (!o.fs.fileExists(datoteka))
            return d.greška(QStringLiteral("Nije nađena datoteka: ") + d.mapaUpdate + ime +
                                QStringLiteral(", a trebala bi postojati. Prekida se ažuriranje!"),
                            false);

        const QString greškaProvjere = QStringLiteral("Greška u provjeri veličine datoteke ") + ime +
                                       QStringLiteral(". Prekida se ažuriranje!");
        qint64 veličina = 0;
        if (!o.fs.fileSize(datoteka, veličina))
            return d.greška(greškaProvjere, true);
        // A file copied from the network can still be growing while the tool writes it.
        for (int pokušaj = 0; d.izvor == Izvor::MrežnaLokacija && veličina == 0 && pokušaj < 2; ++pokušaj) {
            Čekaj(o, 5);
            if (!o.fs.fileSize(datoteka, veličina))
                return d.greška(greškaProvjere, true);
        }
        if (!ProvjeriVeličinu(d, ime, veličina, z.polja[5]))
            return false;
    }
    return true;
}

bool Kraj(Dohvat& d)
{
    Okruzenje& o = d.o;
    if (d.izvor == Izvor::MrežnaLokacija) {
        const QString& verzije = ImeKontrolneDatoteke;
        if (!JeApsolutnaMapa(d.izvornaMapa) ||
            !o.fs.copyReplacing(d.izvornaMapa + verzije, d.mapaUpdate + verzije))
            return d.greška(
                QStringLiteral("Greška u kopiranju ") + verzije + QStringLiteral(". Prekida se ažuriranje!"),
                true);
        // The control file is copied again here, so it is checked again: what gets installed is
        // always a release a trusted key signed, with its signature beside it.
        if (UčitajPouzdaneKljučeve(o).provjerava()) {
            o.fs.removeFile(d.mapaUpdate + ImePotpisa);
            o.fs.copyReplacing(d.izvornaMapa + ImePotpisa, d.mapaUpdate + ImePotpisa);
            const ProvjeraKontrolne provjera =
                ProvjeriKontrolnuDatoteku(o, d.mapaUpdate + verzije, d.mapaUpdate + ImePotpisa,
                                          o.stanje.PutanjaPrograma + ImePotpisa, d.izvornaMapa + verzije);
            if (!provjera.prihvaćeno()) {
                o.fs.removeFile(d.mapaUpdate + verzije);
                o.fs.removeFile(d.mapaUpdate + ImePotpisa);
                return d.greška(provjera.poruka + QStringLiteral(" Prekida se ažuriranje!"), true);
            }
        }
        DodajUTranskript(o.stanje.PorukeAkcija, QStringLiteral("Kopirano ") + verzije);
        Čekaj(o, 5);
    }
    PrikažiTranskripte(o);
    PostaviTrenutnuAkciju(o, QString());
    return true;
}

bool Snimiti(Dohvat& d)
{
    if (!Početak(d) || !PrviProlaz(d))
        return false;
    IzmeđuProlaza(d);
    return DrugiProlaz(d) && Kraj(d);
}

}  // namespace

bool SnimitiSaMrežneLokacije(Okruzenje& o)
{
    Dohvat d{.o = o,
             .izvor = Izvor::MrežnaLokacija,
             .logiraj = o.log.sPrefiksom(QStringLiteral("SnimitiSaMrežneLokacije - ")),
             .izvornaMapa = o.model.txtLokacija(0)};
    return Snimiti(d);
}

bool SnimitiSaInterneta(Okruzenje& o)
{
    Dohvat d{.o = o,
             .izvor = Izvor::Internet,
             .logiraj = o.log.sPrefiksom(QStringLiteral("SnimitiSaInterneta - "))};
    return Snimiti(d);
}
