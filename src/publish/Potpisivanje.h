#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// Signing a release's control file with a minisign secret key, so that the updater and
// `minisign -Vm Verzije.txt -p Verzije.pub` both accept the signature.

// A secret key as the minisign tool keeps it, once decrypted: the key id and the Ed25519 key.
struct TajniKljuč {
    std::array<std::uint8_t, 8> id{};
    std::array<std::uint8_t, 64> ključ{};
};

// True when the key file is protected by a password (made without "-W").
bool KljučTražiLozinku(const QByteArray& datoteka);

// Reads and, with `lozinka`, decrypts a secret key file; false with the reason when the file is not
// a minisign secret key or the password is wrong.
bool PročitajTajniKljuč(const QByteArray& datoteka, const QByteArray& lozinka, TajniKljuč& ključ,
                        QString& greška);

// The text of a detached "ED" signature of `sadržaj` (the file `ime`), signed at `vrijeme` (Unix
// seconds); with `istek` above 0 the trusted comment also says when the release expires.
QByteArray PotpišiDatoteku(const QByteArray& sadržaj, const QString& ime, const TajniKljuč& ključ,
                           qint64 vrijeme, qint64 istek = 0);
