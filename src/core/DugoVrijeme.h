#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

// The time in the locale's long format, hours, minutes and seconds, without its time-zone part: the
// log and the status bar show it so.
QString DugoVrijeme(const QLocale& locale, const QTime& vrijeme);
