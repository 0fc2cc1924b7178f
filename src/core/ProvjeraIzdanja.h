#pragma once

#include "core/ImenaDatoteka.h"
#include "core/Matrica.h"
#include "core/Minisign.h"

#include <QList>
#include <QString>

struct Okruzenje;
class FileSystem;

// Release verification: whether a control file is one that a trusted key signed, and whether an
// archive is the one its record names. Every fetch and the distribution copy ask these two; nothing
// else knows the signature format.

// The keys this installation trusts: those of Verzije.pub in the program folder and those compiled
// in. A key file that is there but cannot be read is a fault of its own (`greška`): releases are then
// refused, never taken as unsigned.
struct PouzdaniKljučevi {
    QList<JavniKljuč> ključevi;
    QString greška;
    bool provjerava() const { return !ključevi.isEmpty() || !greška.isEmpty(); }
};

PouzdaniKljučevi UčitajPouzdaneKljučeve(Okruzenje& o);
// The same with `ugrađeni` in place of the compiled-in keys: base64 key lines separated by ";", as the
// build's LUMIVEX_TRUSTED_KEYS holds them.
PouzdaniKljučevi UčitajPouzdaneKljučeve(Okruzenje& o, const QString& ugrađeni);

struct ProvjeraKontrolne {
    enum class Ishod { Provjereno, NijeProvjereno, Odbijeno };
    Ishod ishod = Ishod::NijeProvjereno;
    qint64 vrijeme = 0;  // the signed timestamp, in Unix seconds, of a verified release
    QString poruka;      // for a refused release: what the user is told, naming the file and the reason
    bool prihvaćeno() const { return ishod != Ishod::Odbijeno; }
};

// Verifies the control file `kontrolna` against its signature `potpis` and the trusted keys. The
// release is refused when the signature is missing, too large, malformed, made with a key that is not
// trusted or does not cover the file and its trusted comment; when the control file is too large or
// a record lacks its archive's SHA-256; when its signed timestamp is older than that of the signature
// `prethodniPotpis` (the release installed or mirrored so far; no such file sets no floor); when its
// "expires" time has passed; when it was signed more than one day after the computer's clock.
// `izvor` names the control file in the message (where it came from).
// Without a trusted key every release is accepted as before and one line says it was not verified.
ProvjeraKontrolne ProvjeriKontrolnuDatoteku(Okruzenje& o, const QString& kontrolna, const QString& potpis,
                                            const QString& prethodniPotpis, const QString& izvor);

// Verifies the archive at `putanja` against the SHA-256 of `zapis`, its record in a verified control
// file. False with the message in `poruka` when it differs, cannot be read or the record has no hash
// while a key is trusted. Without a trusted key it is true and one line says it was not verified.
bool ProvjeriArhivu(Okruzenje& o, const Zapis& zapis, const QString& putanja, QString& poruka);

// The signed timestamp of the signature file at `putanja`, or 0 when it is missing or unreadable.
qint64 VrijemePotpisa(Okruzenje& o, const QString& putanja);

// True when `tekst` is a SHA-256 as the control file writes it: 64 hexadecimal digits, either case.
bool JeSha256(const QString& tekst);

// The SHA-256 of a file as 64 lower-case hexadecimal digits; empty with the reason in `greška` when
// it cannot be read.
QString Sha256Datoteke(FileSystem& fs, const QString& putanja, QString& greška);
