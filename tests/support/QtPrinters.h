#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// Lets a failed expectation show texts as text rather than as arrays of code units.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os) {
    if (b.size() > 200)
        *os << b.size() << " bytes";
    else
        *os << '"' << b.toStdString() << '"';
}
