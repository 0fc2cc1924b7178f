#pragma once

#include <QString>

// The names of the files that the updater itself treats apart from the other items of a release.

// The control file: in the program folder the installed release, in the Update folder the new one,
// in a distribution folder the release that lies there.
inline const QString ImeKontrolneDatoteke = QStringLiteral("Verzije.txt");

// The database-change component: once it is fetched or listed, the scripts after it are too.
inline const QString ImeKomponenteIzmjeneBaze = QStringLiteral("LumiIzmjBaza20.dll");

// The updater's own program, which the updater never installs over itself.
inline const QString ImeUpdatera = QStringLiteral("LumivexLiveUpdate20.exe");
