#pragma once

#include <QString>

// Numbers in the control file are compared as their numeric value, so "100.5" never matches a file
// of 100 bytes; doubles hold every file size exactly.
bool IstaVeličina(qint64 veličina, const QString& polje);

// The opening of every size report: the fetched file `ime`, its size and the control file's field.
QString OpisVeličine(const QString& ime, qint64 veličina, const QString& polje);

// The report of an archive whose size could not be read after it was fetched.
QString GreškaProvjereVeličineArhive(const QString& arhiva);
