#pragma once

#include <QString>
#include <QStringList>

class FileSystem;
struct Okruzenje;

// Whether `ime` (a file name without folder) is one of the updater's own temporary files, as the file
// system names them beside a target it copies or writes.
bool JePrivremenaDatotekaPrograma(const QString& ime);

// Removes the updater's own temporary files that a kill left in the folders `direktorije` (not their
// subfolders), and nothing else; a folder that does not exist is skipped. Gives the paths removed.
QStringList UkloniPrivremeneDatoteke(FileSystem& fs, const QStringList& direktorije);

// The same for the folders an installation writes in (the program, Update, backup, script and help
// folders), each removal logged after `prefiks`.
void UkloniPrivremeneDatotekeInstalacije(Okruzenje& o, const QString& prefiks);
