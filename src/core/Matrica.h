#pragma once

#include <QString>
#include <array>

// One record of a control file: the six fields as they stand in the file, and the install flag
// that only the comparison sets.
struct Zapis {
    // 0 name, 1 major, 2 minor, 3 revision, 4 archive size, 5 unpacked size. A cleared record has
    // empty texts in fields 0 to 3 and "0" in fields 4 and 5.
    std::array<QString, 6> polja{QString(), QString(),           QString(),
                                 QString(), QStringLiteral("0"), QStringLiteral("0")};
    int zastavica = 0;  // field 6: 1 means fetch and install
    // The text after the sixth ";": the SHA-256 of the archive in a signed release, empty in an old
    // control file. Readers that do not know it ignore it.
    QString haš;

    const QString& ime() const { return polja[0]; }
    bool prazan() const { return polja[0].isEmpty(); }
};

// The in-memory form of one control file: it never grows, so a control file holds at most
// 71 records.
struct Matrica {
    static constexpr int BrojZapisa = 71;

    std::array<Zapis, BrojZapisa> zapisi;

    void očisti() { zapisi.fill(Zapis{}); }
    Zapis& operator[](int i) { return zapisi[static_cast<size_t>(i)]; }
    const Zapis& operator[](int i) const { return zapisi[static_cast<size_t>(i)]; }
};
