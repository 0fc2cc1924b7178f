#include "transfer/Raspakiravanje.h"

#include "support/RecordingProcessRunner.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

namespace {

// Which 7za the case offers the program.
enum class Alat {
    NaPutu,         // only the system's copy on PATH
    UMapiPrograma,  // a 7za in the program folder, besides the one on PATH
    Nigdje,         // neither
    NePokreće,      // found on PATH, but it cannot be started
};

// What lies in the Update folder under the archive's name.
enum class Arhiva {
    Nema,
    Sedam,   // a real 7-Zip archive holding the item
    Obična,  // the item's own bytes, as a copy-only item travels
};

struct UnzipCase {
    const char* naziv{};
    QString ime{};
    QString arhiva{};
    Arhiva vrsta = Arhiva::Sedam;
    qint64 veličina = 0;  // the archive's exact size in bytes; 0 for a small one
    Alat alat = Alat::NaPutu;
    QString kvarPutanja{};  // relative to the Update folder; the operations in kvarOperacije on it fail
    QStringList kvarOperacije{};
    bool staraKopija = false;  // an older file with the item's name lies in the Update folder
    bool rezultat = true;
    qint64 čekanjeMs = 0;
    // "{U}" stands for the Update folder, "{T}" for the tool the command names.
    QStringList log{};
    QString akcije{};
    QString greške{};
    QString poruka{};
    QString panel1{};
};

const QString kPočetak = QStringLiteral("Unzipaj- Početak ");
const QString kKraj = QStringLiteral("Unzipaj- Kraj ");
const QString kNaredba = QStringLiteral("Unzipaj- \"{T}\" e \"{U}%1\" -aoa -o\"{U}\"");

UnzipCase saAlatom(const char* naziv, const QString& ime, const QString& arhiva, qint64 veličina = 0,
                   qint64 čekanjeMs = 0, Alat alat = Alat::NaPutu)
{
    return {.naziv = naziv,
            .ime = ime,
            .arhiva = arhiva,
            .veličina = veličina,
            .alat = alat,
            .čekanjeMs = čekanjeMs,
            .log = {kPočetak + ime, kNaredba.arg(arhiva), kKraj + ime},
            .akcije = QStringLiteral("\r\nUNZIP: {U}") + arhiva,
            .poruka = QStringLiteral("Unzip ") + ime};
}

UnzipCase neMožeRaspakirati(const char* naziv, Alat alat, const QString& opis)
{
    const QString poruka = QStringLiteral("UNZIP: {U}Program.7z") + opis;
    return {.naziv = naziv,
            .ime = QStringLiteral("Program.exe"),
            .arhiva = QStringLiteral("Program.7z"),
            .alat = alat,
            .rezultat = false,
            .log = {kPočetak + QStringLiteral("Program.exe"), kNaredba.arg(QStringLiteral("Program.7z")),
                    QStringLiteral("Unzipaj- Greška ") + poruka},
            .greške = QStringLiteral("\r\n") + poruka,
            .poruka = poruka,
            .panel1 = QStringLiteral("UnZipanje datoteke: Program.7z")};
}

UnzipCase samoKopija(const char* naziv, const QString& ime, const QString& arhiva, bool staraKopija,
                     const QString& kvarPutanja = {}, const QStringList& kvarOperacije = {},
                     const QStringList& kvarLog = {})
{
    return {.naziv = naziv,
            .ime = ime,
            .arhiva = arhiva,
            .vrsta = Arhiva::Obična,
            .alat = Alat::Nigdje,
            .kvarPutanja = kvarPutanja,
            .kvarOperacije = kvarOperacije,
            .staraKopija = staraKopija,
            .log = QStringList{kPočetak + ime} + kvarLog + QStringList{kKraj + ime},
            .poruka = QStringLiteral("Unzip ") + ime};
}

// Test names and failure messages show the case by its name.
void PrintTo(const UnzipCase& c, std::ostream* os)
{
    *os << c.naziv;
}

const UnzipCase kCases[] = {
    saAlatom("ProgramExeBecomesProgram7z", QStringLiteral("Program.exe"), QStringLiteral("Program.7z")),
    saAlatom("ToolInTheProgramFolderComesFirst", QStringLiteral("Program.exe"), QStringLiteral("Program.7z"),
             0, 0, Alat::UMapiPrograma),
    saAlatom("UpperCaseChmGoesToTheTool", QStringLiteral("Pomoc.CHM"), QStringLiteral("Pomoc.7z")),
    saAlatom("TwoLetterExtensionLosesItsDot", QStringLiteral("Skripta.js"), QStringLiteral("Skripta7z")),
    saAlatom("HalfAMegabyteWaitsNothing", QStringLiteral("Lib.dll"), QStringLiteral("Lib.7z"), 500000, 0),
    saAlatom("JustBelowOneAndAHalfWaitsOne", QStringLiteral("Lib.dll"), QStringLiteral("Lib.7z"), 1499999,
             1000),
    saAlatom("OneAndAHalfGoesToEvenTwo", QStringLiteral("Lib.dll"), QStringLiteral("Lib.7z"), 1500000, 2000),
    saAlatom("TwoAndAHalfGoesToEvenTwo", QStringLiteral("Lib.dll"), QStringLiteral("Lib.7z"), 2500000, 2000),
    saAlatom("ThreeAndAHalfGoesToEvenFour", QStringLiteral("Lib.dll"), QStringLiteral("Lib.7z"), 3500000,
             4000),

    samoKopija("ChmIsCopiedOverItsOldCopy", QStringLiteral("Pomoc.chm"), QStringLiteral("Pomoc.7z"), true),
    samoKopija("EncIsCopied", QStringLiteral("Kljuc.enc"), QStringLiteral("Kljuc.7z"), false),
    samoKopija("OldCopyThatCannotBeDeletedIsOnlyLogged", QStringLiteral("Pomoc.chm"),
               QStringLiteral("Pomoc.7z"), true, QStringLiteral("Pomoc.chm"), {QStringLiteral("removeFile")},
               {QStringLiteral("Unzip - brisanje datoteke: {U}Pomoc.chm")}),
    samoKopija("FailedCopyIsOnlyLogged", QStringLiteral("Pomoc.chm"), QStringLiteral("Pomoc.7z"), false,
               QStringLiteral("Pomoc.7z"), {QStringLiteral("copyReplacing")},
               {QStringLiteral("Unzip - samo kopiranje datoteke: {U}Pomoc.7z")}),

    neMožeRaspakirati("ToolFoundNowhere", Alat::Nigdje,
                      QStringLiteral("Program za raspakiravanje 7za nije pronađen.")),
    neMožeRaspakirati("ToolDoesNotStart", Alat::NePokreće, QStringLiteral("Pristup je odbijen.")),

    {.naziv = "MissingArchive",
     .ime = QStringLiteral("Program.exe"),
     .arhiva = QStringLiteral("Program.7z"),
     .vrsta = Arhiva::Nema,
     .rezultat = false,
     .log = {kPočetak + QStringLiteral("Program.exe")},
     .poruka = QStringLiteral("Unzip Program.exe"),
     .panel1 = QStringLiteral("UnZipanje datoteke: Program.7z")},
    {.naziv = "UnreadableArchiveSizeFailsAfterUnpacking",
     .ime = QStringLiteral("Program.exe"),
     .arhiva = QStringLiteral("Program.7z"),
     .kvarPutanja = QStringLiteral("Program.7z"),
     .kvarOperacije = {QStringLiteral("fileSize")},
     .rezultat = false,
     .log = {kPočetak + QStringLiteral("Program.exe"), kNaredba.arg(QStringLiteral("Program.7z"))},
     .akcije = QStringLiteral("\r\nUNZIP: {U}Program.7z"),
     .poruka = QStringLiteral("Unzip Program.exe"),
     .panel1 = QStringLiteral("UnZipanje datoteke: Program.7z")},
    // A name from the control file never reaches outside the Update folder: the help file beside the
    // program stays as it was.
    {.naziv = "NameWithAFolderIsRefused",
     .ime = QStringLiteral("../Pomoc.chm"),
     .arhiva = QStringLiteral("../Pomoc.7z"),
     .vrsta = Arhiva::Obična,
     .staraKopija = true,
     .rezultat = false,
     .log = {kPočetak + QStringLiteral("../Pomoc.chm")},
     .poruka = QStringLiteral("Unzip ../Pomoc.chm")},
};

// Incompressible bytes, the same for the same seed.
QByteArray nasumično(qint64 n, quint32 sjeme)
{
    QByteArray b(n, Qt::Uninitialized);
    QRandomGenerator g(sjeme);
    g.fillRange(reinterpret_cast<quint32*>(b.data()), n / 4);
    for (qint64 i = n / 4 * 4; i < n; ++i) b[i] = static_cast<char>(g.generate());
    return b;
}

class Unzip : public ::testing::TestWithParam<UnzipCase> {
protected:
    TestOkruzenje t;
    RecordingProcessRunner procesi{t.procesi};
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, procesi,
                t.http, t.prozori,  t.registar, t.model,    t.stanje};
    QString sistemski7za = QStandardPaths::findExecutable(QStringLiteral("7za"));

    QString u(QString text) const { return text.replace(QStringLiteral("{U}"), t.stanje.PutanjaUpdate); }

    // Packs `sadržaj` under the name `unutra` into a real archive and returns the archive's bytes.
    QByteArray spakiraj(const QString& unutra, const QByteArray& sadržaj)
    {
        QDir radna(t.root(QStringLiteral("pakiranje")));
        radna.removeRecursively();
        t.write(radna.filePath(unutra), sadržaj);
        QProcess p;
        p.setWorkingDirectory(radna.path());
        // Stored, with a plain header, so the archive's size follows the content's size byte for byte.
        p.start(sistemski7za,
                {QStringLiteral("a"), QStringLiteral("-t7z"), QStringLiteral("-mx0"),
                 QStringLiteral("-mhc=off"), QStringLiteral("-y"), QStringLiteral("a.7z"), unutra});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
        return t.read(radna.filePath(QStringLiteral("a.7z")));
    }

    // An archive of exactly `veličina` bytes (any small size when 0); returns the packed content.
    QByteArray napraviArhivu(const QString& unutra, const QString& arhiva, qint64 veličina)
    {
        qint64 duljina = veličina > 0 ? veličina - 200 : 4321;
        QByteArray sadržaj = nasumično(duljina, 7);
        QByteArray bajtovi = spakiraj(unutra, sadržaj);
        for (int pokušaj = 0; veličina > 0 && bajtovi.size() != veličina && pokušaj < 5; ++pokušaj) {
            duljina += veličina - bajtovi.size();
            sadržaj = nasumično(duljina, 7);
            bajtovi = spakiraj(unutra, sadržaj);
        }
        if (veličina > 0) {
            EXPECT_EQ(bajtovi.size(), veličina);
        }
        t.write(t.stanje.PutanjaUpdate + arhiva, bajtovi);
        return sadržaj;
    }
};

TEST_P(Unzip, MatchesTable)
{
    const UnzipCase& c = GetParam();
    ASSERT_FALSE(sistemski7za.isEmpty()) << "7za (p7zip-full) is not installed";

    QString alat = sistemski7za;
    switch (c.alat) {
        case Alat::NaPutu:
            break;
        case Alat::UMapiPrograma: {
            alat = t.program() + QStringLiteral("7za");
            t.write(alat, QStringLiteral("#!/bin/sh\nexec \"%1\" \"$@\"\n").arg(sistemski7za).toUtf8());
            QFile::setPermissions(alat, QFile::permissions(alat) | QFile::ExeOwner | QFile::ExeGroup);
            break;
        }
        case Alat::Nigdje:
            procesi.hide(QStringLiteral("7za"));
            alat = t.program() + QStringLiteral("7za");
            break;
        case Alat::NePokreće:
            procesi.failStarts(QStringLiteral("Pristup je odbijen."));
            break;
    }

    QByteArray očekivano;
    if (c.vrsta == Arhiva::Sedam)
        očekivano = napraviArhivu(c.ime, c.arhiva, c.veličina);
    if (c.vrsta == Arhiva::Obična) {
        očekivano = QByteArrayLiteral("ITSF help file bytes");
        t.write(t.stanje.PutanjaUpdate + c.arhiva, očekivano);
    }
    if (c.staraKopija)
        t.write(t.stanje.PutanjaUpdate + c.ime, QByteArrayLiteral("old copy, longer than the new one"));
    if (!c.kvarPutanja.isEmpty())
        t.fs.failPath(t.stanje.PutanjaUpdate + c.kvarPutanja, QStringLiteral("Pristup je odbijen."),
                      c.kvarOperacije);

    const Ishod ishod = Unzipaj(o, c.ime);
    EXPECT_EQ(ishod.uspjeh, c.rezultat);

    QStringList log;
    for (const QString& line : c.log) log << u(line).replace(QStringLiteral("{T}"), alat);
    EXPECT_EQ(t.log(), log);
    EXPECT_EQ(t.stanje.PorukeAkcija, u(c.akcije));
    EXPECT_EQ(t.stanje.PorukeGrešaka, u(c.greške));
    // Only a failure carries a text back.
    EXPECT_EQ(ishod.poruka, c.rezultat ? QString() : u(c.poruka));
    EXPECT_EQ(t.model.panel1(), c.panel1);
    EXPECT_EQ(t.sat.paused(), c.čekanjeMs);
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    // The panes are filled by the caller at its end, not here.
    EXPECT_EQ(t.model.txtPor(), QString());

    // The tool runs for an item that is not copy-only, once it is found, with an argument list.
    const bool alatPozvan = c.vrsta == Arhiva::Sedam && c.alat != Alat::Nigdje;
    if (alatPozvan) {
        ASSERT_EQ(procesi.calls().size(), 1u);
        EXPECT_EQ(procesi.calls()[0].program, alat);
        EXPECT_EQ(procesi.calls()[0].arguments,
                  QStringList({QStringLiteral("e"), t.stanje.PutanjaUpdate + c.arhiva, QStringLiteral("-aoa"),
                               QStringLiteral("-o") + t.stanje.PutanjaUpdate}));
        EXPECT_FALSE(procesi.calls()[0].detached);
    } else {
        EXPECT_TRUE(procesi.calls().empty());
    }

    // What the caller then finds: the item's file with the packed bytes, and the archive left in place.
    const QString datoteka = t.stanje.PutanjaUpdate + c.ime;
    if (c.kvarOperacije.contains(QStringLiteral("copyReplacing"))) {
        EXPECT_FALSE(t.exists(datoteka));  // the caller's size check reports it
    } else if (c.rezultat) {
        EXPECT_EQ(t.read(datoteka), očekivano);
        EXPECT_TRUE(t.exists(t.stanje.PutanjaUpdate + c.arhiva));
    } else if (c.staraKopija) {
        EXPECT_EQ(t.read(datoteka), QByteArrayLiteral("old copy, longer than the new one"));
    } else {
        EXPECT_EQ(t.exists(datoteka), alatPozvan && c.alat != Alat::NePokreće);
    }
}

INSTANTIATE_TEST_SUITE_P(Items, Unzip, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.naziv); });

}  // namespace
