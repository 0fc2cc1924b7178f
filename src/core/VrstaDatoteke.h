#pragma once

#include <QString>
#include <QStringList>

struct Stanje;

// What an item of a release is, told by the last three characters of its name, letter case included:
// "exe" a program, "dll" a COM component, "enc" a database-change script, "chm" a help file, "txt" the
// control file, "7z" (with the dot before it) an archive. Anything else is unknown: it is not installed.
enum class VrstaDatoteke { Program, Komponenta, Skripta, Pomoć, Kontrolna, Arhiva, Nepoznata };

VrstaDatoteke VrstaPoImenu(const QString& ime);

// The last three characters of the name, as the log names an unknown kind.
QString NastavakImena(const QString& ime);

// The file masks of the kinds that the Update folder holds after a fetch.
inline const QStringList MaskeDohvaćenih{QStringLiteral("*.7z"), QStringLiteral("*.exe"),
                                         QStringLiteral("*.enc"), QStringLiteral("*.chm"),
                                         QStringLiteral("*.dll")};

// The folder in which a file of this name is installed: scripts and help files have their own
// folders, everything else lies in the program folder.
QString CiljnaDirektorija(const Stanje& s, const QString& ime);

// The name under which an item travels: the item's name without its last three characters, followed
// by "7z" (Program.exe travels as Program.7z, Skripta.js as Skripta7z).
QString ImeArhive(const QString& ime);

// Help files and scripts travel uncompressed under the archive name and are only copied back to their
// own name.
bool SamoKopiranje(const QString& ime);
