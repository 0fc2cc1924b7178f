#pragma once

#include "publish/Potpisivanje.h"

#include <QString>
#include <QStringList>
#include <optional>

class FileSystem;
class ProcessRunner;

// Publishing a release: from a folder of release files and a list of their versions, the archives
// and the control file Verzije.txt that the updater fetches from "/download/Verzija20/".
struct Objava {
    QString izdanje;  // the folder holding the release files
    QString popis;  // the list of entries: "Ime;Ver_Gl;Ver_Pom;Ver_Rev" per line, in the control file's order
    QString izlaz;  // the folder that receives the archives and Verzije.txt
    // With a key, Verzije.txt is signed and Verzije.txt.minisig published beside it.
    std::optional<TajniKljuč> ključ{};
    qint64 vrijeme = 0;  // the signature's timestamp, Unix seconds
    qint64 istek = 0;    // when above 0, the time after which the release is refused
};

// One entry of the list, checked.
struct StavkaObjave {
    QString ime;
    QString verzije[3];
    QString arhiva;  // the archive name the updater will ask for
};

// Reads and checks the list: every problem is described in `greške`, one line each, naming the line
// of the list. Nothing is written.
bool ProvjeriPopis(FileSystem& fs, const Objava& objava, QList<StavkaObjave>& stavke, QStringList& greške);

// Checks the list, then makes every archive (".7z" with the 7-Zip tool; "chm" and "enc" files copied
// as they are) and a Verzije.txt with the measured sizes and each archive's SHA-256 (and its
// signature when a key is given), in a staging folder, and moves them into
// the output folder only when all of them were made. On failure nothing is written.
bool Objavi(FileSystem& fs, ProcessRunner& procesi, const Objava& objava, QStringList& poruke);
