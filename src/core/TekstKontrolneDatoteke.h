#pragma once

#include "core/Matrica.h"

#include <QByteArray>
#include <QString>

// Reading the text of a control file into a matrix, without any file or window: the reader of the
// control file works through this, and so does the fuzzer.
struct RezultatČitanja {
    enum class Vrsta {
        U_redu,
        Split,            // a line that does not split into seven parts
        PunaMatrica,      // a 72nd record
        NedozvoljenoIme,  // a name that is not a plain file name
    };
    Vrsta vrsta = Vrsta::U_redu;
    QString poruka;  // the text that goes to the log when the read fails
    int brojZapisa = 0;
    bool ok() const { return vrsta == Vrsta::U_redu; }
};

// Reads complete lines of `sadržaj` into `matrica` (cleared first). A line ends in CR LF or in a lone
// LF; blank lines are skipped; fields keep their blanks. `putanja` only names the file in messages.
// When `zadnjiRedNepotpun` is set, the text after the last line end is not a line of its own (the
// read broke off there) and is left to the caller.
RezultatČitanja PročitajMatricu(Matrica& matrica, const QByteArray& sadržaj, const QString& putanja,
                                bool zadnjiRedNepotpun = false);

// True when `ime` is a plain file name that cannot reach outside the folder it is put in: no folder
// separators, no drive, no "." or "..", no control characters, no device name, at most 255 characters.
// An empty name is an empty slot and counts as plain.
bool JeDozvoljenoIme(const QString& ime);

// The numeric value of a field: the number formed by its leading characters after leading blanks,
// with "." as the only decimal separator; an empty or non-numeric field is 0.
double BrojčanaVrijednost(const QString& polje);

// The numeric value rounded to the nearest whole number, an exact half to the even neighbour.
qint64 CijeliBroj(const QString& polje);
