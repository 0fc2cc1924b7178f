#pragma once

#include "core/Matrica.h"

#include <QDateTime>
#include <QString>

// The state that the window owns for its whole life and that the procedures share.
struct Stanje {
    // Transcripts behind the two panes, and the item being installed or put back.
    QString PorukeAkcija;
    QString PorukeGrešaka;
    QString TrenutnaDatoteka;

    // Working folders, each ending in "/".
    QString PutanjaPrograma;
    QString PutanjaUpdate;
    QString PutanjaBackup;
    QString PutanjaSkripti;
    QString PutanjaHelp;

    // The control files: the new one fetched into the Update folder, and the installed one.
    Matrica NoveVerzije;
    Matrica StareVerzije;

    // Sums of sizes are 64-bit so that a release above 2,147,483,647 bytes keeps its true total.
    qint64 UkupnoZaPrijenos = 0;
    qint64 UkupnoPreneseno = 0;

    // When the current transfer started; a full date and time, so that a transfer past midnight
    // still shows its true length.
    QDateTime PočetakPrijenosa;

    // The base URLs of the two download servers, each ending in "/download/Verzija20/".
    QString PrimarniServer;
    QString SekundarniServer;

    // True while a long operation (a check, a download-and-install, a distribution run) is in
    // progress; two operations that share the matrices must never interleave.
    bool OperacijaUTijeku = false;

    // The full hour at which the automatic copy last fell due, so that it starts, or is skipped, at
    // most once in that hour.
    QDateTime ZadnjiSatAutomatskogPrijenosa;

    // The text last shown for the internet transfer, shown again for a state without a text of its own.
    QString ZadnjeStanjePrijenosa;
};
