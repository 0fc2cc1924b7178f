#include "core/Minisign.h"
#include "core/ProvjeraIzdanja.h"
#include "publish/Potpisivanje.h"
#include "support/TestOkruzenje.h"
#include "support/TestPotpis.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <functional>

namespace {

using Ishod = ProvjeraKontrolne::Ishod;

const QByteArray kHaš = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
const QByteArray kKontrolna =
    "A.exe;20;2;0;10;10;" + kHaš + "\r\nPomoc.chm;20;2;0;7;7;" + kHaš.toUpper() + "\r\n";
const QString kIzvor = QStringLiteral("/srv/dijeljeno/Verzije.txt");
const QString kLošPotpis = QStringLiteral("Potpis datoteke /srv/dijeljeno/Verzije.txt nije ispravan: ");
const QString kOdbijeno = QStringLiteral("Izdanje /srv/dijeljeno/Verzije.txt se odbija: ");

QString datum(qint64 sekunde)
{
    return QDateTime::fromSecsSinceEpoch(sekunde).toString(QStringLiteral("dd.MM.yyyy. HH:mm:ss"));
}

// A program folder that trusts a key made by the real minisign tool, with a control file in the
// Update folder; each case signs, changes or leaves out what it needs.
class Signature : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        ključ = new TestKljuč;
        drugi = new TestKljuč;
        ASSERT_TRUE(ključ->napravi(
            QDir::tempPath() +
            QStringLiteral("/lumivex-potpis-%1/pouzdani").arg(QCoreApplication::applicationPid())));
        ASSERT_TRUE(drugi->napravi(
            QDir::tempPath() +
            QStringLiteral("/lumivex-potpis-%1/drugi").arg(QCoreApplication::applicationPid())));
    }
    static void TearDownTestSuite()
    {
        QDir(QDir::tempPath() + QStringLiteral("/lumivex-potpis-%1").arg(QCoreApplication::applicationPid()))
            .removeRecursively();
        delete ključ;
        delete drugi;
    }

    Signature()
    {
        t.write(QStringLiteral("Verzije.pub"), ključ->datotekaJavnog());
        t.write(kontrolna(), kKontrolna);
    }

    QString kontrolna() const { return t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"); }
    QString potpis() const { return kontrolna() + QStringLiteral(".minisig"); }
    QString instalirani() const { return t.program() + ImePotpisa; }

    // Signs the control file with the real tool; `vrijeme` 0 keeps the tool's own trusted comment.
    void potpiši(const TestKljuč& k, qint64 vrijeme = 0, const QString& dodatak = QString(),
                 bool legacy = false)
    {
        const QString komentar =
            vrijeme ? QStringLiteral("timestamp:%1\tfile:Verzije.txt").arg(vrijeme) + dodatak : QString();
        ASSERT_TRUE(PotpišiMinisignom(k, kontrolna(), komentar, legacy));
    }
    // A release signed at `vrijeme` installed before, its signature beside the installed control file.
    void instalirano(qint64 vrijeme)
    {
        potpiši(*ključ, vrijeme);
        t.write(instalirani(), t.read(potpis()));
    }

    ProvjeraKontrolne provjeri()
    {
        return ProvjeriKontrolnuDatoteku(t.o, kontrolna(), potpis(), instalirani(), kIzvor);
    }

    static inline TestKljuč* ključ = nullptr;
    static inline TestKljuč* drugi = nullptr;
    TestOkruzenje t;
};

constexpr qint64 T = 1796000000;  // a signing time before the virtual clock's day

struct SignatureCase {
    const char* name;
    std::function<void(Signature&)> prepare;
    Ishod ishod;
    std::function<QString(Signature&)> message;  // what the user is told; empty when accepted
    qint64 vrijeme = T;                          // the signed time of an accepted release; -1: the tool's
};

QString bez(Signature&)
{
    return QString();
}

const SignatureCase kCases[] = {
    {"ValidPrehashedED", [](Signature& f) { f.potpiši(*Signature::ključ, T); }, Ishod::Provjereno, bez},
    {"ValidLegacyEd", [](Signature& f) { f.potpiši(*Signature::ključ, T, QString(), true); },
     Ishod::Provjereno, bez},
    // The tool signs at the real time, which may lie days after the virtual clock's day.
    {"ToolsOwnTrustedComment",
     [](Signature& f) {
         f.t.sat.set(QDateTime::currentDateTime());
         f.potpiši(*Signature::ključ);
     },
     Ishod::Provjereno, bez, -1},
    {"SignedByThePublishingTool",
     [](Signature& f) {
         TajniKljuč tajni;
         QString greška;
         ASSERT_TRUE(PročitajTajniKljuč(f.t.read(Signature::ključ->tajni), {}, tajni, greška))
             << greška.toStdString();
         f.t.write(f.potpis(), PotpišiDatoteku(kKontrolna, QStringLiteral("Verzije.txt"), tajni, T));
     },
     Ishod::Provjereno, bez},
    {"SecondKeyLineOfTheKeyFile",
     [](Signature& f) {
         f.t.write(QStringLiteral("Verzije.pub"),
                   Signature::ključ->datotekaJavnog() + Signature::drugi->red() + "\n");
         f.potpiši(*Signature::drugi, T);
     },
     Ishod::Provjereno, bez},
    {"SameTimeAsInstalled", [](Signature& f) { f.instalirano(T); }, Ishod::Provjereno, bez},
    {"NotYetExpired",
     [](Signature& f) { f.potpiši(*Signature::ključ, T, QStringLiteral("\texpires:%1").arg(T + 100000000)); },
     Ishod::Provjereno, bez},
    {"WrongKey", [](Signature& f) { f.potpiši(*Signature::drugi, T); }, Ishod::Odbijeno,
     [](Signature&) {
         JavniKljuč k;
         PročitajJavniKljuč(Signature::drugi->red(), k);
         return kLošPotpis + QStringLiteral("potpisana je ključem ") + IdKljuča(k.id) +
                QStringLiteral(", koji nije među pouzdanim ključevima.");
     }},
    {"ChangedFile",
     [](Signature& f) {
         f.potpiši(*Signature::ključ, T);
         QByteArray b = kKontrolna;
         f.t.write(f.kontrolna(), b.replace("A.exe;20;2;0", "A.exe;20;3;0"));
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral("sadržaj datoteke promijenjen je nakon potpisivanja.");
     }},
    {"ChangedLegacyFile",
     [](Signature& f) {
         f.potpiši(*Signature::ključ, T, QString(), true);
         f.t.write(f.kontrolna(), kKontrolna + "B.exe;20;1;0;5;5;" + kHaš + "\r\n");
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral("sadržaj datoteke promijenjen je nakon potpisivanja.");
     }},
    {"ChangedTrustedComment",
     [](Signature& f) {
         f.potpiši(*Signature::ključ, T);
         QByteArray b = f.t.read(f.potpis());
         f.t.write(f.potpis(), b.replace(QByteArray::number(T), QByteArray::number(T + 999999)));
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral("pouzdani komentar potpisa promijenjen je nakon potpisivanja.");
     }},
    {"TruncatedSignature",
     [](Signature& f) {
         f.potpiši(*Signature::ključ, T);
         const QByteArray b = f.t.read(f.potpis());
         f.t.write(f.potpis(), b.left(b.indexOf("trusted comment: timestamp")));
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral(
                                 "datoteka potpisa Verzije.txt.minisig nije u obliku minisign "
                                 "potpisa (očekuju se četiri reda, a ima ih 2).");
     }},
    {"SignatureCutInItsKey",
     [](Signature& f) {
         f.potpiši(*Signature::ključ, T);
         QList<QByteArray> r = f.t.read(f.potpis()).split('\n');
         r[1].chop(8);
         f.t.write(f.potpis(), r.join('\n'));
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral(
                                 "datoteka potpisa Verzije.txt.minisig nije u obliku minisign potpisa (drugi "
                                 "red nije potpis).");
     }},
    {"GarbageSignature", [](Signature& f) { f.t.write(f.potpis(), "<html>404 Not Found</html>\r\n"); },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral(
                                 "datoteka potpisa Verzije.txt.minisig nije u obliku minisign "
                                 "potpisa (očekuju se četiri reda, a ima ih 1).");
     }},
    {"MissingSignature", [](Signature&) {}, Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral("ne postoji datoteka potpisa Verzije.txt.minisig.");
     }},
    {"OversizeSignature",
     [](Signature& f) {
         f.potpiši(*Signature::ključ, T);
         f.t.write(f.potpis(), f.t.read(f.potpis()) + QByteArray(4096, '\n'));
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kLošPotpis + QStringLiteral("datoteka potpisa Verzije.txt.minisig veća je od 4096 bajtova.");
     }},
    {"OversizeControlFile",
     [](Signature& f) {
         f.t.write(f.kontrolna(), kKontrolna + QByteArray(256 * 1024, ' '));
         f.potpiši(*Signature::ključ, T);
     },
     Ishod::Odbijeno,
     [](Signature&) { return kOdbijeno + QStringLiteral("datoteka je veća od 262144 bajtova."); }},
    {"OlderThanInstalled",
     [](Signature& f) {
         f.instalirano(T + 3600);
         f.potpiši(*Signature::ključ, T);
     },
     Ishod::Odbijeno,
     [](Signature&) {
         return kOdbijeno + QStringLiteral("potpisano je ") + datum(T) +
                QStringLiteral(", prije izdanja potpisanog ") + datum(T + 3600) +
                QStringLiteral(" koje je već ovdje. Starije izdanje se ne instalira.");
     }},
    {"Expired",
     [](Signature& f) {
         const qint64 istek = f.t.sat.now().toSecsSinceEpoch() - 1;
         f.potpiši(*Signature::ključ, T, QStringLiteral("\texpires:%1").arg(istek));
     },
     Ishod::Odbijeno,
     [](Signature& f) {
         return kOdbijeno + QStringLiteral("izdanje je isteklo ") +
                datum(f.t.sat.now().toSecsSinceEpoch() - 1) + u'.';
     }},
    {"SignedADayAheadOfTheClock",
     [](Signature& f) { f.potpiši(*Signature::ključ, f.t.sat.now().toSecsSinceEpoch() + 24 * 3600); },
     Ishod::Provjereno, bez, 0},
    {"SignedMoreThanADayAheadOfTheClock",
     [](Signature& f) { f.potpiši(*Signature::ključ, f.t.sat.now().toSecsSinceEpoch() + 24 * 3600 + 1); },
     Ishod::Odbijeno,
     [](Signature& f) {
         const qint64 sada = f.t.sat.now().toSecsSinceEpoch();
         return kOdbijeno + QStringLiteral("potpisano je ") + datum(sada + 24 * 3600 + 1) +
                QStringLiteral(", više od jednog dana nakon vremena ovog računala (") + datum(sada) +
                QStringLiteral(
                    "). Izdanje iz budućnosti se ne instalira; provjerite datum i vrijeme "
                    "računala.");
     }},
    {"SignedYearsAheadOfTheClock", [](Signature& f) { f.potpiši(*Signature::ključ, 4102444800); },
     Ishod::Odbijeno,
     [](Signature& f) {
         return kOdbijeno + QStringLiteral("potpisano je ") + datum(4102444800) +
                QStringLiteral(", više od jednog dana nakon vremena ovog računala (") +
                datum(f.t.sat.now().toSecsSinceEpoch()) +
                QStringLiteral(
                    "). Izdanje iz budućnosti se ne instalira; provjerite datum i vrijeme "
                    "računala.");
     }},
    {"RecordWithoutHash",
     [](Signature& f) {
         f.t.write(f.kontrolna(), kKontrolna + "Novi.exe;20;1;0;5;5;\r\n");
         f.potpiši(*Signature::ključ, T);
     },
     Ishod::Odbijeno,
     [](Signature&) { return kOdbijeno + QStringLiteral("zapis Novi.exe nema SHA-256 sažetak arhive."); }},
    {"BrokenKeyFile",
     [](Signature& f) {
         f.t.write(QStringLiteral("Verzije.pub"), Signature::ključ->datotekaJavnog() + "RWQ-nije-kljuc\n");
         f.potpiši(*Signature::ključ, T);
     },
     Ishod::Odbijeno,
     [](Signature& f) {
         return QStringLiteral("Datoteka pouzdanih ključeva ") + f.t.program() +
                QStringLiteral("Verzije.pub nije ispravna: red 3 nije minisign javni ključ.");
     }},
};

class SignatureTable : public Signature, public ::testing::WithParamInterface<SignatureCase> {};

TEST_P(SignatureTable, AcceptsOrRefusesWithItsMessage)
{
    const SignatureCase& c = GetParam();
    c.prepare(*this);

    const ProvjeraKontrolne r = provjeri();

    EXPECT_EQ(r.ishod, c.ishod);
    EXPECT_EQ(r.poruka, c.message(*this));
    const QStringList log = t.log();
    ASSERT_EQ(log.size(), 1) << log.join(u'\n').toStdString();
    if (c.ishod == Ishod::Odbijeno) {
        EXPECT_EQ(log[0], QStringLiteral("Provjera izdanja - ") + r.poruka);
        return;
    }
    if (c.vrijeme > 0)
        EXPECT_EQ(r.vrijeme, c.vrijeme);
    else
        EXPECT_GT(r.vrijeme, T);  // the tool's own timestamp: now
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("Provjera izdanja - Izdanje ") + kIzvor +
                                  QStringLiteral(" je potpisano ključem ")));
}

INSTANTIATE_TEST_SUITE_P(Table, SignatureTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a key in the program folder or the build, every release is taken as before, and each check
// says in one line that it was not verified.
TEST_F(Signature, WithoutATrustedKeyNothingIsVerified)
{
    QFile::remove(t.program() + QStringLiteral("Verzije.pub"));
    t.write(kontrolna(), "A.exe;20;2;0;10;10;\r\n");

    const ProvjeraKontrolne r = provjeri();
    QString poruka;
    Zapis z;
    z.polja[0] = QStringLiteral("A.exe");
    EXPECT_TRUE(ProvjeriArhivu(t.o, z, kontrolna(), poruka));

    EXPECT_EQ(r.ishod, Ishod::NijeProvjereno);
    EXPECT_TRUE(r.prihvaćeno());
    EXPECT_EQ(t.log(),
              QStringList({QStringLiteral("Provjera izdanja - Izdanje ") + kIzvor +
                               QStringLiteral(" nije provjereno: nema pouzdanog ključa."),
                           QStringLiteral("Provjera izdanja - Arhiva Verzije.txt nije provjerena: nema "
                                          "pouzdanog ključa.")}));
}

// Keys compiled into the build count as those of the key file; a broken one refuses every release.
TEST_F(Signature, CompiledInKeysAreReadLikeTheKeyFile)
{
    QFile::remove(t.program() + QStringLiteral("Verzije.pub"));
    const PouzdaniKljučevi ništa = UčitajPouzdaneKljučeve(t.o, QString());
    EXPECT_FALSE(ništa.provjerava());

    const PouzdaniKljučevi dva =
        UčitajPouzdaneKljučeve(t.o, QString::fromLatin1(ključ->red() + " ; " + drugi->red()));
    EXPECT_EQ(dva.ključevi.size(), 2);
    EXPECT_TRUE(dva.greška.isEmpty());

    const PouzdaniKljučevi loš = UčitajPouzdaneKljučeve(t.o, QStringLiteral("RWQabc"));
    EXPECT_TRUE(loš.provjerava());
    EXPECT_EQ(loš.greška, QStringLiteral("Ugrađeni pouzdani ključ \"RWQabc\" nije minisign javni ključ."));
}

struct ArchiveCase {
    const char* name;
    QByteArray haš;  // the record's hash; "<>" stands for the archive's true one
    bool ok;
    QString message;
};

class ArchiveHash : public Signature, public ::testing::WithParamInterface<ArchiveCase> {};

TEST_P(ArchiveHash, MatchesTheRecord)
{
    const ArchiveCase& c = GetParam();
    const QString arhiva = t.stanje.PutanjaUpdate + QStringLiteral("A.7z");
    t.write(arhiva, "test");  // SHA-256 of "test" is kHaš
    Zapis z;
    z.polja[0] = QStringLiteral("A.exe");
    z.haš = QString::fromLatin1(c.haš);
    QString poruka;
    EXPECT_EQ(ProvjeriArhivu(t.o, z, arhiva, poruka), c.ok);
    EXPECT_EQ(poruka, QString(c.message).replace(QStringLiteral("<A>"), arhiva));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArchiveHash,
    ::testing::Values(
        ArchiveCase{"Same", kHaš, true, {}}, ArchiveCase{"SameUpperCase", kHaš.toUpper(), true, {}},
        ArchiveCase{"Different", QByteArray(64, 'a'), false,
                    QStringLiteral("SHA-256 sažetak arhive <A> nije onaj iz potpisane datoteke Verzije.txt: "
                                   "arhiva nije ona koju je izdavač objavio.")},
        ArchiveCase{"Missing", "", false, QStringLiteral("Zapis A.exe nema SHA-256 sažetak arhive A.7z.")},
        ArchiveCase{"NotHex", QByteArray(64, 'g'), false,
                    QStringLiteral("Zapis A.exe nema SHA-256 sažetak arhive A.7z.")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
