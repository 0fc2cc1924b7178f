#pragma once

#include <QString>
#include <QtGlobal>

// The names (and the size limits) of the files that the updater itself treats apart from the other
// items of a release.

// The control file: in the program folder the installed release, in the Update folder the new one,
// in a distribution folder the release that lies there.
inline const QString ImeKontrolneDatoteke = QStringLiteral("Verzije.txt");

// The control file's signature lies beside it under this name, on a server and in a folder alike,
// and beside the installed control file in the program folder.
inline const QString ImePotpisa = QStringLiteral("Verzije.txt.minisig");

// The trusted public keys in the program folder, as the signing tool writes its public key file.
inline const QString ImePouzdanihKljučeva = QStringLiteral("Verzije.pub");

// The database-change component: once it is fetched or listed, the scripts after it are too.
inline const QString ImeKomponenteIzmjeneBaze = QStringLiteral("LumiIzmjBaza20.dll");

// The updater's own program, which the updater never installs over itself.
inline const QString ImeUpdatera = QStringLiteral("LumivexLiveUpdate20.exe");

// The largest control file and signature file that are fetched or read before they are verified; a
// larger one is refused. A control file of 71 records takes a few KiB.
constexpr qint64 NajvećaKontrolnaDatoteka = 256 * 1024;
constexpr qint64 NajvećiPotpis = 4 * 1024;
