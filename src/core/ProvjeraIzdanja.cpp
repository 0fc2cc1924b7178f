#include "core/ProvjeraIzdanja.h"

#include "Verzija.h"
#include "core/Okruzenje.h"
#include "core/TekstKontrolneDatoteke.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRegularExpression>

namespace {

const QString Prefiks = QStringLiteral("Provjera izdanja - ");

// A key file holds a few key lines and their comments.
constexpr qint64 NajvećaDatotekaKljučeva = 16 * 1024;

// Reads at most `najviše` bytes of a file; `preveliko` is set when the file holds more.
FsResult pročitajDo(Okruzenje& o, const QString& putanja, qint64 najviše, QByteArray& sadržaj,
                    bool& preveliko)
{
    sadržaj.clear();
    preveliko = false;
    return o.fs.readInParts(putanja, [&](const QByteArray& dio) {
        if (sadržaj.size() + dio.size() > najviše) {
            preveliko = true;
            return false;
        }
        sadržaj += dio;
        return true;
    });
}

// A whole number of seconds as the trusted comment writes it; false for anything else.
bool sekunde(const QByteArray& tekst, qint64& vrijeme)
{
    static const QRegularExpression znamenke(QStringLiteral("^\\d{1,18}$"));
    if (!znamenke.match(QString::fromLatin1(tekst)).hasMatch())
        return false;
    vrijeme = tekst.toLongLong();
    return true;
}

// How far a release's signed time may lie after the computer's clock: clocks of office computers
// drift, and a release signed minutes ago must pass on a computer that runs a little late.
constexpr qint64 NajvećiPomakSata = 24 * 60 * 60;

QString datum(qint64 sekunde)
{
    return QDateTime::fromSecsSinceEpoch(sekunde).toString(QStringLiteral("dd.MM.yyyy. HH:mm:ss"));
}

ProvjeraKontrolne odbij(Okruzenje& o, const QString& poruka)
{
    ProvjeraKontrolne r;
    r.ishod = ProvjeraKontrolne::Ishod::Odbijeno;
    r.poruka = poruka;
    o.log.piši(Prefiks + poruka);
    return r;
}

}  // namespace

PouzdaniKljučevi UčitajPouzdaneKljučeve(Okruzenje& o)
{
    return UčitajPouzdaneKljučeve(o, QString::fromUtf8(Verzija::PouzdaniKljučevi));
}

PouzdaniKljučevi UčitajPouzdaneKljučeve(Okruzenje& o, const QString& ugrađeni)
{
    PouzdaniKljučevi k;
    for (const QString& red : ugrađeni.split(u';', Qt::SkipEmptyParts)) {
        JavniKljuč ključ;
        if (PročitajJavniKljuč(red.trimmed().toLatin1(), ključ))
            k.ključevi << ključ;
        else
            k.greška = QStringLiteral("Ugrađeni pouzdani ključ \"%1\" nije minisign javni ključ.").arg(red);
    }
    const QString datoteka = o.stanje.PutanjaPrograma + ImePouzdanihKljučeva;
    if (!o.fs.fileExists(datoteka))
        return k;
    QByteArray tekst;
    bool preveliko = false;
    QList<JavniKljuč> uDatoteci;
    QString razlog;
    if (const FsResult r = pročitajDo(o, datoteka, NajvećaDatotekaKljučeva, tekst, preveliko); !r)
        razlog = r.error;
    else if (preveliko)
        razlog = QStringLiteral("datoteka je veća od %1 bajtova").arg(NajvećaDatotekaKljučeva);
    else if (PročitajJavneKljučeve(tekst, uDatoteci, razlog) && uDatoteci.isEmpty())
        razlog = QStringLiteral("nema nijednog ključa");
    if (!razlog.isEmpty())
        k.greška = QStringLiteral("Datoteka pouzdanih ključeva ") + datoteka +
                   QStringLiteral(" nije ispravna: ") + razlog + u'.';
    k.ključevi += uDatoteci;
    return k;
}

qint64 VrijemePotpisa(Okruzenje& o, const QString& putanja)
{
    if (!o.fs.fileExists(putanja))
        return 0;
    QByteArray tekst;
    bool preveliko = false;
    MinisignPotpis potpis;
    QString greška;
    qint64 vrijeme = 0;
    if (!pročitajDo(o, putanja, NajvećiPotpis, tekst, preveliko) || preveliko ||
        !PročitajMinisignPotpis(tekst, potpis, greška) ||
        !sekunde(StavkaKomentara(potpis.pouzdaniKomentar, "timestamp"), vrijeme))
        return 0;
    return vrijeme;
}

// Why a release signed at `vrijeme` is refused for its dates (ahead of the clock, expired, older than
// the installed one), or the empty string when its dates let it through.
QString VremenskaGreška(Okruzenje& o, const MinisignPotpis& m, qint64 vrijeme, const QString& prethodniPotpis,
                        const QString& lošPotpis, const QString& odbijeno)
{
    // A release dated ahead would, once installed, make every genuine release look older: a stolen
    // key could lock an office out of its updates for years.
    if (const qint64 sada = o.sat.now().toSecsSinceEpoch(); vrijeme > sada + NajvećiPomakSata)
        return odbijeno + QStringLiteral("potpisano je ") + datum(vrijeme) +
               QStringLiteral(", više od jednog dana nakon vremena ovog računala (") + datum(sada) +
               QStringLiteral(
                   "). Izdanje iz budućnosti se ne instalira; provjerite datum i "
                   "vrijeme računala.");
    const QByteArray istek = StavkaKomentara(m.pouzdaniKomentar, "expires");
    if (!istek.isEmpty()) {
        qint64 vrijemeIsteka = 0;
        if (!sekunde(istek, vrijemeIsteka))
            return lošPotpis + QStringLiteral("vrijeme isteka (expires) nije ispravno.");
        if (o.sat.now().toSecsSinceEpoch() >= vrijemeIsteka)
            return odbijeno + QStringLiteral("izdanje je isteklo ") + datum(vrijemeIsteka) + u'.';
    }
    if (const qint64 prethodno = VrijemePotpisa(o, prethodniPotpis); vrijeme < prethodno)
        return odbijeno + QStringLiteral("potpisano je ") + datum(vrijeme) +
               QStringLiteral(", prije izdanja potpisanog ") + datum(prethodno) +
               QStringLiteral(" koje je već ovdje. Starije izdanje se ne instalira.");
    return {};
}

ProvjeraKontrolne ProvjeriKontrolnuDatoteku(Okruzenje& o, const QString& kontrolna, const QString& potpis,
                                            const QString& prethodniPotpis, const QString& izvor)
{
    const PouzdaniKljučevi ključevi = UčitajPouzdaneKljučeve(o);
    if (!ključevi.provjerava()) {
        o.log.piši(Prefiks + QStringLiteral("Izdanje ") + izvor +
                   QStringLiteral(" nije provjereno: nema pouzdanog ključa."));
        return {};
    }
    if (!ključevi.greška.isEmpty())
        return odbij(o, ključevi.greška);

    const QString lošPotpis = QStringLiteral("Potpis datoteke ") + izvor + QStringLiteral(" nije ispravan: ");
    const QString odbijeno = QStringLiteral("Izdanje ") + izvor + QStringLiteral(" se odbija: ");

    if (!o.fs.fileExists(potpis))
        return odbij(o, lošPotpis + QStringLiteral("ne postoji datoteka potpisa ") + ImePotpisa + u'.');
    QByteArray tekstPotpisa;
    bool preveliko = false;
    if (const FsResult r = pročitajDo(o, potpis, NajvećiPotpis, tekstPotpisa, preveliko); !r)
        return odbij(o, lošPotpis + QStringLiteral("datoteku potpisa ") + ImePotpisa +
                            QStringLiteral(" nije moguće pročitati: ") + r.error);
    if (preveliko)
        return odbij(o, lošPotpis + QStringLiteral("datoteka potpisa ") + ImePotpisa +
                            QStringLiteral(" veća je od %1 bajtova.").arg(NajvećiPotpis));
    MinisignPotpis m;
    QString greška;
    if (!PročitajMinisignPotpis(tekstPotpisa, m, greška))
        return odbij(o, lošPotpis + QStringLiteral("datoteka potpisa ") + ImePotpisa +
                            QStringLiteral(" nije u obliku minisign potpisa (") + greška +
                            QStringLiteral(")."));

    QByteArray sadržaj;
    if (const FsResult r = pročitajDo(o, kontrolna, NajvećaKontrolnaDatoteka, sadržaj, preveliko); !r)
        return odbij(o, odbijeno + QStringLiteral("datoteku nije moguće pročitati: ") + r.error);
    if (preveliko)
        return odbij(
            o, odbijeno + QStringLiteral("datoteka je veća od %1 bajtova.").arg(NajvećaKontrolnaDatoteka));

    switch (ProvjeriMinisignPotpis(m, sadržaj, ključevi.ključevi)) {
        case IshodPotpisa::Ispravan:
            break;
        case IshodPotpisa::NepoznatKljuč:
            return odbij(o, lošPotpis + QStringLiteral("potpisana je ključem ") + IdKljuča(m.id) +
                                QStringLiteral(", koji nije među pouzdanim ključevima."));
        case IshodPotpisa::PromijenjenSadržaj:
            return odbij(o,
                         lošPotpis + QStringLiteral("sadržaj datoteke promijenjen je nakon potpisivanja."));
        case IshodPotpisa::PromijenjenKomentar:
            return odbij(o, lošPotpis + QStringLiteral(
                                            "pouzdani komentar potpisa promijenjen je nakon potpisivanja."));
    }

    ProvjeraKontrolne r;
    if (!sekunde(StavkaKomentara(m.pouzdaniKomentar, "timestamp"), r.vrijeme))
        return odbij(o,
                     lošPotpis + QStringLiteral("pouzdani komentar nema vrijeme potpisivanja (timestamp)."));
    if (const QString razlog = VremenskaGreška(o, m, r.vrijeme, prethodniPotpis, lošPotpis, odbijeno);
        !razlog.isEmpty())
        return odbij(o, razlog);

    // Each archive is checked against its record's hash later, so a record without one has no check.
    Matrica matrica;
    if (PročitajMatricu(matrica, sadržaj, izvor).ok())
        for (const Zapis& z : matrica.zapisi)
            if (!z.prazan() && !JeSha256(z.haš))
                return odbij(o, odbijeno + QStringLiteral("zapis ") + z.ime() +
                                    QStringLiteral(" nema SHA-256 sažetak arhive."));

    r.ishod = ProvjeraKontrolne::Ishod::Provjereno;
    o.log.piši(Prefiks + QStringLiteral("Izdanje ") + izvor + QStringLiteral(" je potpisano ključem ") +
               IdKljuča(m.id) + QStringLiteral(" ") + datum(r.vrijeme) + QStringLiteral(". OK."));
    return r;
}

bool JeSha256(const QString& tekst)
{
    static const QRegularExpression heks(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    return heks.match(tekst).hasMatch();
}

QString Sha256Datoteke(FileSystem& fs, const QString& putanja, QString& greška)
{
    QCryptographicHash haš(QCryptographicHash::Sha256);
    const FsResult r = fs.readInParts(putanja, [&](const QByteArray& dio) {
        haš.addData(dio);
        return true;
    });
    if (!r) {
        greška = r.error;
        return {};
    }
    return QString::fromLatin1(haš.result().toHex());
}

bool ProvjeriArhivu(Okruzenje& o, const Zapis& zapis, const QString& putanja, QString& poruka)
{
    const QString ime = putanja.section(u'/', -1);
    const PouzdaniKljučevi ključevi = UčitajPouzdaneKljučeve(o);
    if (!ključevi.provjerava()) {
        o.log.piši(Prefiks + QStringLiteral("Arhiva ") + ime +
                   QStringLiteral(" nije provjerena: nema pouzdanog ključa."));
        return true;
    }
    if (!JeSha256(zapis.haš)) {
        poruka = QStringLiteral("Zapis ") + zapis.ime() + QStringLiteral(" nema SHA-256 sažetak arhive ") +
                 ime + u'.';
    } else {
        QString greška;
        const QString izračunato = Sha256Datoteke(o.fs, putanja, greška);
        if (izračunato.isEmpty())
            poruka = QStringLiteral("SHA-256 sažetak arhive ") + putanja +
                     QStringLiteral(" nije moguće izračunati: ") + greška;
        else if (izračunato.compare(zapis.haš, Qt::CaseInsensitive) != 0)
            poruka = QStringLiteral("SHA-256 sažetak arhive ") + putanja +
                     QStringLiteral(
                         " nije onaj iz potpisane datoteke Verzije.txt: arhiva nije ona koju je "
                         "izdavač objavio.");
    }
    if (!poruka.isEmpty()) {
        o.log.piši(Prefiks + poruka);
        return false;
    }
    o.log.piši(Prefiks + QStringLiteral("SHA-256 sažetak arhive ") + ime + QStringLiteral(" je ispravan."));
    return true;
}
