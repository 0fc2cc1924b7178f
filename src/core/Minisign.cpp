#include "core/Minisign.h"

#include <sodium.h>
#include <QList>

#include <algorithm>
#include <cstring>

namespace {

constexpr char KomentarNepouzdani[] = "untrusted comment:";
constexpr char KomentarPouzdani[] = "trusted comment: ";

// libsodium must be set up once before its first use; it may be called again safely.
bool sodium()
{
    static const bool spreman = sodium_init() >= 0;
    return spreman;
}

// Strict base64: a stray character or a wrong length is a malformed file, never a shorter key.
bool dekodiraj(const QByteArray& tekst, qsizetype duljina, QByteArray& bajtovi)
{
    const auto rezultat =
        QByteArray::fromBase64Encoding(tekst.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!rezultat || rezultat.decoded.size() != duljina)
        return false;
    bajtovi = rezultat.decoded;
    return true;
}

template <size_t N>
void prepiši(std::array<std::uint8_t, N>& u, const QByteArray& iz, qsizetype od)
{
    // Callers have checked the length; a short input still never reads past its end.
    if (od < 0 || iz.size() < od + qsizetype(N)) {
        u.fill(0);
        return;
    }
    std::memcpy(u.data(), iz.constData() + od, N);
}

// The lines of a small text, each without its line end ("\n" or "\r\n").
QList<QByteArray> redovi(const QByteArray& tekst)
{
    QList<QByteArray> r = tekst.split('\n');
    for (QByteArray& red : r)
        if (red.endsWith('\r'))
            red.chop(1);
    return r;
}

}  // namespace

bool PročitajJavniKljuč(const QByteArray& red, JavniKljuč& ključ)
{
    QByteArray bajtovi;
    if (!dekodiraj(red, 42, bajtovi) || !bajtovi.startsWith("Ed"))
        return false;
    prepiši(ključ.id, bajtovi, 2);
    prepiši(ključ.ključ, bajtovi, 10);
    return true;
}

bool PročitajJavneKljučeve(const QByteArray& tekst, QList<JavniKljuč>& ključevi, QString& greška)
{
    const QList<QByteArray> r = redovi(tekst);
    for (qsizetype i = 0; i < r.size(); ++i) {
        const QByteArray red = r[i].trimmed();
        if (red.isEmpty() || red.startsWith(KomentarNepouzdani))
            continue;
        JavniKljuč ključ;
        if (!PročitajJavniKljuč(red, ključ)) {
            greška = QStringLiteral("red %1 nije minisign javni ključ").arg(i + 1);
            return false;
        }
        ključevi << ključ;
    }
    return true;
}

bool PročitajMinisignPotpis(const QByteArray& tekst, MinisignPotpis& potpis, QString& greška)
{
    QList<QByteArray> r = redovi(tekst);
    while (!r.isEmpty() && r.last().trimmed().isEmpty()) r.removeLast();
    if (r.size() != 4) {
        greška = QStringLiteral("očekuju se četiri reda, a ima ih %1").arg(r.size());
        return false;
    }
    if (!r[0].startsWith(KomentarNepouzdani)) {
        greška = QStringLiteral("prvi red nije \"untrusted comment:\"");
        return false;
    }
    QByteArray bajtovi;
    if (!dekodiraj(r[1], 74, bajtovi)) {
        greška = QStringLiteral("drugi red nije potpis");
        return false;
    }
    if (bajtovi.startsWith("ED"))
        potpis.algoritam = MinisignPotpis::Algoritam::ED;
    else if (bajtovi.startsWith("Ed"))
        potpis.algoritam = MinisignPotpis::Algoritam::Ed;
    else {
        greška = QStringLiteral("nepoznat algoritam potpisa");
        return false;
    }
    prepiši(potpis.id, bajtovi, 2);
    prepiši(potpis.potpis, bajtovi, 10);
    if (!r[2].startsWith(KomentarPouzdani)) {
        greška = QStringLiteral("treći red nije \"trusted comment: \"");
        return false;
    }
    potpis.pouzdaniKomentar = r[2].mid(qsizetype(sizeof KomentarPouzdani) - 1);
    if (!dekodiraj(r[3], 64, bajtovi)) {
        greška = QStringLiteral("četvrti red nije globalni potpis");
        return false;
    }
    prepiši(potpis.globalniPotpis, bajtovi, 0);
    return true;
}

QByteArray Blake2b512(const QByteArray& sadržaj)
{
    QByteArray haš(crypto_generichash_BYTES_MAX, '\0');
    if (!sodium())
        return {};
    crypto_generichash(reinterpret_cast<unsigned char*>(haš.data()), static_cast<size_t>(haš.size()),
                       reinterpret_cast<const unsigned char*>(sadržaj.constData()),
                       static_cast<unsigned long long>(sadržaj.size()), nullptr, 0);
    return haš;
}

IshodPotpisa ProvjeriMinisignPotpis(const MinisignPotpis& potpis, const QByteArray& sadržaj,
                                    const QList<JavniKljuč>& ključevi)
{
    const auto ključ = std::find_if(ključevi.begin(), ključevi.end(),
                                    [&](const JavniKljuč& k) { return k.id == potpis.id; });
    if (ključ == ključevi.end() || !sodium())
        return IshodPotpisa::NepoznatKljuč;

    QByteArray globalno(reinterpret_cast<const char*>(potpis.potpis.data()), qsizetype(potpis.potpis.size()));
    globalno += potpis.pouzdaniKomentar;
    if (crypto_sign_verify_detached(
            potpis.globalniPotpis.data(), reinterpret_cast<const unsigned char*>(globalno.constData()),
            static_cast<unsigned long long>(globalno.size()), ključ->ključ.data()) != 0)
        return IshodPotpisa::PromijenjenKomentar;

    const QByteArray potpisano =
        potpis.algoritam == MinisignPotpis::Algoritam::ED ? Blake2b512(sadržaj) : sadržaj;
    if (crypto_sign_verify_detached(
            potpis.potpis.data(), reinterpret_cast<const unsigned char*>(potpisano.constData()),
            static_cast<unsigned long long>(potpisano.size()), ključ->ključ.data()) != 0)
        return IshodPotpisa::PromijenjenSadržaj;
    return IshodPotpisa::Ispravan;
}

QString IdKljuča(const std::array<std::uint8_t, 8>& id)
{
    QString tekst;
    for (auto i = id.rbegin(); i != id.rend(); ++i) tekst += QStringLiteral("%1").arg(*i, 2, 16, QChar(u'0'));
    return tekst.toUpper();
}

QByteArray StavkaKomentara(const QByteArray& komentar, const QByteArray& ime)
{
    for (const QByteArray& stavka : komentar.split('\t')) {
        const qsizetype dvotočka = stavka.indexOf(':');
        if (dvotočka > 0 && stavka.left(dvotočka) == ime)
            return stavka.mid(dvotočka + 1);
    }
    return {};
}
