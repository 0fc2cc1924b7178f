#pragma once

#include "support/TestOkruzenje.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// Packs `sadržaj` under the name `ime` into a real 7-Zip archive with `7za a`, working in `radnaMapa`
// (emptied first), and returns the archive's bytes; empty when the tool failed.
QByteArray Spakiraj7z(const QString& radnaMapa, const QString& ime, const QByteArray& sadržaj);

// Bytes of a given length, different for every seed, so that a mixed-up file shows.
QByteArray Sadržaj(qint64 duljina, char sjeme);

// A set of updates laid out for the fetches: the items' archives (real ones, or the file itself for
// help and encrypted files) in a source folder, their records with the measured sizes in NoveVerzije,
// flagged for installation, and after objavi() the grid's rows, the total and Verzije.txt.
class TestIzdanje {
public:
    // `mapa` ends in "/".
    TestIzdanje(TestOkruzenje& t, QString mapa) : t_(t), mapa_(std::move(mapa)) {}

    // Adds an item in the next row; `unutra` names the file inside the archive when it is not the item
    // itself, so that unpacking does not produce the item.
    Zapis& dodaj(const QString& ime, const QByteArray& sadržaj, const QString& unutra = QString());
    // Skips a row, leaving it as it is.
    void preskoči() { ++red_; }

    // Lists the flagged records in the grid, sets UkupnoZaPrijenos to their archive sizes and writes
    // Verzije.txt from the records into the folder.
    void objavi();

    const QString& mapa() const { return mapa_; }
    // The archive sizes of the flagged records.
    qint64 ukupno() const;

private:
    TestOkruzenje& t_;
    QString mapa_;
    int red_ = 0;
};

// A release of Program.exe, Lib.dll and Pomoc.chm made with the publishing tool into `izlaz` (archives
// with `7za a` and Verzije.txt with measured sizes), and a program folder whose installed control
// file has Program.exe and Pomoc.chm older and Lib.dll as published, with Lib.dll installed. Returns
// the release's files by name; empty when publishing failed.
QMap<QString, QByteArray> ObjaviStarijojInstalaciji(TestOkruzenje& t, const QString& izlaz);
