#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// The minisign formats of a public key and of a detached signature, read without any file or window:
// the release check works through this, and so does the fuzzer. Every reader takes hostile text and
// says why it refuses it.

// A public key: the 8-byte key id that signatures name, and the Ed25519 key.
struct JavniKljuč {
    std::array<std::uint8_t, 8> id{};
    std::array<std::uint8_t, 32> ključ{};
};

// A detached signature as minisign writes it: "Ed" signs the file itself, "ED" its BLAKE2b-512 hash;
// the global signature covers the signature and the trusted comment together.
struct MinisignPotpis {
    enum class Algoritam { Ed, ED };
    Algoritam algoritam = Algoritam::ED;
    std::array<std::uint8_t, 8> id{};
    std::array<std::uint8_t, 64> potpis{};
    QByteArray pouzdaniKomentar;  // the text after "trusted comment: ", without the line end
    std::array<std::uint8_t, 64> globalniPotpis{};
};

// Reads one base64 key line ("RW..."), as the second line of a minisign public key file holds it.
bool PročitajJavniKljuč(const QByteArray& red, JavniKljuč& ključ);

// Reads the keys of a public key file: "untrusted comment:" lines and blank lines are skipped, every
// other line must be a key. On false, `greška` names the first line that is not.
bool PročitajJavneKljučeve(const QByteArray& tekst, QList<JavniKljuč>& ključevi, QString& greška);

// Reads a signature file: an untrusted comment line, the signature, the trusted comment line and the
// global signature, then nothing but blank lines.
bool PročitajMinisignPotpis(const QByteArray& tekst, MinisignPotpis& potpis, QString& greška);

enum class IshodPotpisa {
    Ispravan,
    NepoznatKljuč,        // the key id is none of the trusted keys
    PromijenjenSadržaj,   // the signature does not cover these bytes
    PromijenjenKomentar,  // the global signature does not cover the trusted comment
};

// Checks `potpis` over `sadržaj` with the trusted key of the same id; the global signature is
// checked first, so that a changed trusted comment is never believed.
IshodPotpisa ProvjeriMinisignPotpis(const MinisignPotpis& potpis, const QByteArray& sadržaj,
                                    const QList<JavniKljuč>& ključevi);

// The key id as minisign shows it: 16 upper-case hexadecimal digits of the little-endian number.
QString IdKljuča(const std::array<std::uint8_t, 8>& id);

// The value of the item `ime` in a trusted comment of tab-separated "name:value" items; empty when
// it is not there.
QByteArray StavkaKomentara(const QByteArray& komentar, const QByteArray& ime);

// The BLAKE2b-512 hash that the "ED" algorithm signs.
QByteArray Blake2b512(const QByteArray& sadržaj);
