#pragma once

#include <QString>

struct _XDisplay;

// A top-level X window of a test's own on the current display, with the caption a program of the
// suite would have; it goes away with the object.
class ProzorNaZaslonu {
public:
    explicit ProzorNaZaslonu(const QString& naslov);
    ~ProzorNaZaslonu();
    bool otvoren() const { return d_ != nullptr; }

    ProzorNaZaslonu(const ProzorNaZaslonu&) = delete;
    ProzorNaZaslonu& operator=(const ProzorNaZaslonu&) = delete;

private:
    _XDisplay* d_;
};

// Whether a mapped top-level window carries this caption (a program's hidden helper windows carry
// the program's name too, unmapped).
bool VidljivProzor(const QString& naslov);

// Asks every mapped top-level window with this caption to close, as its close button would; false
// when there is none.
bool ZatvoriProzorNaZaslonu(const QString& naslov);
