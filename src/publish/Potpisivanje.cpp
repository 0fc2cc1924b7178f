#include "publish/Potpisivanje.h"

#include "core/Minisign.h"

#include <sodium.h>

#include <cstring>

namespace {

// The layout of a minisign secret key: algorithm, key derivation, checksum algorithm, salt, the
// derivation's two limits, then the key id, the key and its checksum (encrypted together).
constexpr qsizetype DuljinaKljuča = 2 + 2 + 2 + 32 + 8 + 8 + 8 + 64 + 32;
constexpr qsizetype PočetakTajnog = 2 + 2 + 2 + 32 + 8 + 8;
constexpr qsizetype DuljinaTajnog = 8 + 64 + 32;

bool dekodiraj(const QByteArray& datoteka, QByteArray& bajtovi)
{
    QList<QByteArray> redovi = datoteka.split('\n');
    if (redovi.size() < 2 || !redovi[0].startsWith("untrusted comment:"))
        return false;
    const auto r =
        QByteArray::fromBase64Encoding(redovi[1].trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!r || r.decoded.size() != DuljinaKljuča || !r.decoded.startsWith("Ed") || r.decoded.mid(4, 2) != "B2")
        return false;
    bajtovi = r.decoded;
    return true;
}

quint64 broj(const QByteArray& bajtovi, qsizetype od)
{
    quint64 n = 0;
    for (int i = 7; i >= 0; --i) n = (n << 8) | static_cast<std::uint8_t>(bajtovi[od + i]);
    return n;
}

QByteArray base64(const std::uint8_t* p, size_t n, const QByteArray& ispred = {})
{
    return (ispred + QByteArray(reinterpret_cast<const char*>(p), static_cast<qsizetype>(n))).toBase64();
}

}  // namespace

bool KljučTražiLozinku(const QByteArray& datoteka)
{
    QByteArray bajtovi;
    return dekodiraj(datoteka, bajtovi) && bajtovi.mid(2, 2) == "Sc";
}

bool PročitajTajniKljuč(const QByteArray& datoteka, const QByteArray& lozinka, TajniKljuč& ključ,
                        QString& greška)
{
    QByteArray bajtovi;
    if (sodium_init() < 0 || !dekodiraj(datoteka, bajtovi)) {
        greška = QStringLiteral("datoteka nije minisign tajni ključ");
        return false;
    }
    QByteArray tajno = bajtovi.mid(PočetakTajnog, DuljinaTajnog);
    if (bajtovi.mid(2, 2) == "Sc") {
        QByteArray tok(DuljinaTajnog, '\0');
        const QByteArray sol = bajtovi.mid(6, 32);
        if (crypto_pwhash_scryptsalsa208sha256(
                reinterpret_cast<unsigned char*>(tok.data()), static_cast<unsigned long long>(tok.size()),
                lozinka.constData(), static_cast<unsigned long long>(lozinka.size()),
                reinterpret_cast<const unsigned char*>(sol.constData()), broj(bajtovi, 38),
                static_cast<size_t>(broj(bajtovi, 46))) != 0) {
            greška = QStringLiteral("ključ nije moguće otključati (premalo memorije)");
            return false;
        }
        for (qsizetype i = 0; i < tajno.size(); ++i) tajno[i] = static_cast<char>(tajno[i] ^ tok[i]);
        sodium_memzero(tok.data(), static_cast<size_t>(tok.size()));
    } else if (bajtovi.mid(2, 2) != QByteArray(2, '\0')) {
        greška = QStringLiteral("nepoznat način zaštite ključa");
        return false;
    }

    // The checksum covers the algorithm, the key id and the key, so a wrong password shows here; a key
    // kept without a password may carry none (all zeros). Either way the key's public half must be
    // the one its secret half gives.
    QByteArray provjera(32, '\0');
    const QByteArray pokriveno = bajtovi.left(2) + tajno.left(8 + 64);
    crypto_generichash(reinterpret_cast<unsigned char*>(provjera.data()), 32,
                       reinterpret_cast<const unsigned char*>(pokriveno.constData()),
                       static_cast<unsigned long long>(pokriveno.size()), nullptr, 0);
    const bool bezZbroja = bajtovi.mid(2, 2) != "Sc" && tajno.mid(72) == QByteArray(32, '\0');
    std::array<unsigned char, 32> javni{};
    std::array<unsigned char, 64> izračunati{};
    crypto_sign_seed_keypair(javni.data(), izračunati.data(),
                             reinterpret_cast<const unsigned char*>(tajno.constData()) + 8);
    if ((!bezZbroja && sodium_memcmp(provjera.constData(), tajno.constData() + 72, 32) != 0) ||
        sodium_memcmp(javni.data(), tajno.constData() + 8 + 32, 32) != 0) {
        greška = QStringLiteral("pogrešna lozinka ili oštećen ključ");
        return false;
    }
    sodium_memzero(izračunati.data(), izračunati.size());
    std::memcpy(ključ.id.data(), tajno.constData(), 8);
    std::memcpy(ključ.ključ.data(), tajno.constData() + 8, 64);
    sodium_memzero(tajno.data(), static_cast<size_t>(tajno.size()));
    return true;
}

QByteArray PotpišiDatoteku(const QByteArray& sadržaj, const QString& ime, const TajniKljuč& ključ,
                           qint64 vrijeme, qint64 istek)
{
    const QByteArray haš = Blake2b512(sadržaj);
    std::array<std::uint8_t, 64> potpis{};
    crypto_sign_detached(potpis.data(), nullptr, reinterpret_cast<const unsigned char*>(haš.constData()),
                         static_cast<unsigned long long>(haš.size()), ključ.ključ.data());

    QByteArray komentar = "timestamp:" + QByteArray::number(vrijeme) + "\tfile:" + ime.toUtf8();
    if (istek > 0)
        komentar += "\texpires:" + QByteArray::number(istek);
    komentar += "\thashed";
    const QByteArray globalno = QByteArray(reinterpret_cast<const char*>(potpis.data()), 64) + komentar;
    std::array<std::uint8_t, 64> globalniPotpis{};
    crypto_sign_detached(globalniPotpis.data(), nullptr,
                         reinterpret_cast<const unsigned char*>(globalno.constData()),
                         static_cast<unsigned long long>(globalno.size()), ključ.ključ.data());

    return "untrusted comment: signature from lumivex-publish secret key\n" +
           base64(potpis.data(), potpis.size(),
                  "ED" + QByteArray(reinterpret_cast<const char*>(ključ.id.data()), 8)) +
           "\ntrusted comment: " + komentar + '\n' + base64(globalniPotpis.data(), globalniPotpis.size()) +
           '\n';
}
