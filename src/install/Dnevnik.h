#pragma once

#include "core/ImenaDatoteka.h"
#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct Okruzenje;

// The journal of one installation: its plan, written into the backup folder before the first file
// is moved, and marked committed once every new file and the control file are in place. A start that
// finds an uncommitted journal knows that an installation was interrupted and what to put back.
//
// The file is text in UTF-8, one line per record, each line ending in CR LF:
//     LumivexLiveUpdate20 dnevnik instalacije
//     1;Knjige20.exe;/opt/lumivex/
//     0;Novi20.exe;/opt/lumivex/
//     POTVRĐENO
// A record is "1" or "0" (whether an old file existed), the name and the target folder; names never
// hold ";" because the control file separates its fields with it. The last line marks a committed
// journal.
struct ZapisDnevnika {
    QString ime;
    QString direktorija;  // ends in "/"
    bool staraPostoji = false;

    QString putanja() const { return direktorija + ime; }
};

struct DnevnikInstalacije {
    QVector<ZapisDnevnika> zapisi;
    bool potvrđen = false;
};

// The journal's name in the backup folder; its extension is none the restore copies back.
inline const QString ImeDnevnika = QStringLiteral("Instalacija.dnevnik");

// The installed control file and the files kept with it. Each one is backed up before the new one
// is copied in and put back with it, as one more record of the journal.
inline const QStringList KontrolneDatoteke{ImeKontrolneDatoteke, ImePotpisa};

QString PutanjaDnevnika(Okruzenje& o);

// Writes the journal to a temporary file, syncs it, renames it into place and syncs the folder.
FsResult ZapišiDnevnik(Okruzenje& o, const DnevnikInstalacije& dnevnik);

// Marks the journal committed and syncs it.
FsResult PotvrdiDnevnik(Okruzenje& o);

// Reads the journal. A journal that cannot be read, or whose lines are not a journal's, gives a
// failure; a half-written mark at its end leaves it uncommitted.
FsResult PročitajDnevnik(Okruzenje& o, DnevnikInstalacije& dnevnik);

// The clean-up after an installation whose journal is committed: the fetched files of the Update
// folder, then the backup folder, the journal last.
void OčistiNakonInstalacije(Okruzenje& o);
