#include "core/TekstKontrolneDatoteke.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace {

bool jeUređaj(const QString& ime)
{
    // Windows gives these names to devices whatever the extension, in any letter case.
    const QString osnova = ime.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList uređaji = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL")};
    if (uređaji.contains(osnova))
        return true;
    if (osnova.size() == 4 &&
        (osnova.startsWith(QStringLiteral("COM")) || osnova.startsWith(QStringLiteral("LPT"))))
        return osnova[3] >= u'1' && osnova[3] <= u'9';
    return false;
}

}  // namespace

bool JeDozvoljenoIme(const QString& ime)
{
    if (ime.isEmpty())
        return true;
    if (ime.size() > 255 || ime == u"." || ime == u"..")
        return false;
    if (ime.contains(u'/') || ime.contains(u'\\'))
        return false;
    if (ime.size() >= 2 && ime[1] == u':' && ime[0].isLetter())
        return false;
    for (const QChar c : ime)
        if (c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029))
            return false;
    return !jeUređaj(ime);
}

double BrojčanaVrijednost(const QString& polje)
{
    qsizetype i = 0;
    const qsizetype n = polje.size();
    while (i < n && (polje[i] == u' ' || polje[i] == u'\t')) ++i;
    const qsizetype početak = i;
    if (i < n && (polje[i] == u'+' || polje[i] == u'-'))
        ++i;
    bool znamenke = false;
    while (i < n && polje[i] >= u'0' && polje[i] <= u'9') {
        ++i;
        znamenke = true;
    }
    if (i < n && polje[i] == u'.') {
        ++i;
        while (i < n && polje[i] >= u'0' && polje[i] <= u'9') {
            ++i;
            znamenke = true;
        }
    }
    if (!znamenke)
        return 0.0;
    bool ok = false;
    const double vrijednost = polje.mid(početak, i - početak).toDouble(&ok);
    return ok && std::isfinite(vrijednost) ? vrijednost : 0.0;
}

qint64 CijeliBroj(const QString& polje)
{
    const double vrijednost = std::nearbyint(BrojčanaVrijednost(polje));
    constexpr double najveći = 9.0e18;
    if (vrijednost >= najveći)
        return static_cast<qint64>(najveći);
    if (vrijednost <= -najveći)
        return -static_cast<qint64>(najveći);
    return static_cast<qint64>(vrijednost);
}

RezultatČitanja PročitajMatricu(Matrica& matrica, const QByteArray& sadržaj, const QString& putanja,
                                bool zadnjiRedNepotpun)
{
    matrica.očisti();
    RezultatČitanja rezultat;
    int brojač = 0;
    qsizetype početak = 0;
    while (početak < sadržaj.size()) {
        qsizetype kraj = sadržaj.indexOf('\n', početak);
        if (kraj < 0) {
            if (zadnjiRedNepotpun)
                break;
            kraj = sadržaj.size();
        }
        QByteArray bajtovi = sadržaj.mid(početak, kraj - početak);
        if (bajtovi.endsWith('\r'))
            bajtovi.chop(1);
        početak = kraj + 1;

        const QString red = QString::fromLocal8Bit(bajtovi);
        if (red.trimmed().isEmpty())
            continue;
        const QStringList dijelovi = red.split(u';');
        if (dijelovi.size() != 7) {
            rezultat.vrsta = RezultatČitanja::Vrsta::Split;
            rezultat.poruka = QStringLiteral("Greška u splitu - ima : ") + QString::number(dijelovi.size()) +
                              QStringLiteral(" članova! Datoteka: ") + putanja + QStringLiteral(" Red: ") +
                              red;
            break;
        }
        if (!JeDozvoljenoIme(dijelovi[0])) {
            rezultat.vrsta = RezultatČitanja::Vrsta::NedozvoljenoIme;
            rezultat.poruka = QStringLiteral("Nedozvoljeno ime datoteke u datoteci: ") + putanja +
                              QStringLiteral(" Red: ") + red;
            break;
        }
        if (brojač >= Matrica::BrojZapisa) {
            rezultat.vrsta = RezultatČitanja::Vrsta::PunaMatrica;
            rezultat.poruka = QStringLiteral("Greška u dodjeljivanju vrijednosti matrici! ") +
                              QStringLiteral("Indeks je izvan raspona.");
            break;
        }
        for (int p = 0; p < 6; ++p) matrica[brojač].polja[static_cast<size_t>(p)] = dijelovi[p];
        ++brojač;
    }
    rezultat.brojZapisa = brojač;
    return rezultat;
}
