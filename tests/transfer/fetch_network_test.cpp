#include "transfer/Dohvat.h"

#include "install/PripremaVerzije.h"
#include "support/QtPrinters.h"
#include "support/RecordingProcessRunner.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>

namespace {

using Icon = Dialogs::Icon;

const QString kPrefiks = QStringLiteral("SnimitiSaMrežneLokacije - ");
const QString kRanije = QStringLiteral("poruke prošlog pokretanja");

// Two items in a network folder, A.exe and B.dll, each a real archive of known bytes.
class NetworkFetch : public ::testing::Test {
public:
    NetworkFetch()
    {
        t.model.postaviOptLokacija(1);
        t.model.postaviTxtLokacija(0, izdanje.mapa());
        t.model.postaviTxtPor(kRanije);
        t.model.postaviTxtPorGr(kRanije);
    }

    void dvijeStavke()
    {
        izdanje.dodaj(QStringLiteral("A.exe"), sadržajA);
        izdanje.dodaj(QStringLiteral("B.dll"), sadržajB);
    }
    Zapis& zapis(int red) { return t.stanje.NoveVerzije[red]; }
    qint64 veličina(const QString& putanja) const { return QFileInfo(putanja).size(); }

    // "{U}" stands for the Update folder, "{M}" for the network folder, "{m}" for it without its "/".
    QString u(QString tekst) const
    {
        QString bezKose = izdanje.mapa();
        bezKose.chop(1);
        return tekst.replace(QStringLiteral("{U}"), t.stanje.PutanjaUpdate)
            .replace(QStringLiteral("{M}"), izdanje.mapa())
            .replace(QStringLiteral("{m}"), bezKose);
    }
    // The fetch's own log lines, without their prefix.
    QStringList dohvatLog() const { return t.logAfter(kPrefiks); }
    std::vector<int> slike() const { return t.gridPictures(); }

    TestOkruzenje t;
    RecordingProcessRunner procesi{t.procesi};
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, procesi,
                t.http, t.prozori,  t.registar, t.model,    t.stanje};
    TestIzdanje izdanje{t, t.root(QStringLiteral("mreža/"))};
    const QByteArray sadržajA = Sadržaj(4321, 'a');
    const QByteArray sadržajB = Sadržaj(3000, 'b');
};

// One way the run stops. The setup changes the two-item release before it is listed.
struct FailureCase {
    const char* naziv;
    void (*priprema)(NetworkFetch&);
    QString kutija;          // the one box's text; empty when no box is shown
    QString greška;          // what the error transcript gains; empty when nothing
    QString zadnjiLog;       // the log's last line; empty when nothing is logged at all
    std::vector<int> slike;  // the rows' pictures afterwards: 6 untouched, 4 copied, 2 unpacked
    qint64 čekanjeMs = 0;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.naziv;
}

class NetworkFailure : public NetworkFetch, public ::testing::WithParamInterface<FailureCase> {};

FailureCase izvještaj(const char* naziv, void (*priprema)(NetworkFetch&), const QString& tekst, bool kutija,
                      std::vector<int> slike, qint64 čekanjeMs = 0)
{
    return {naziv,    priprema, kutija ? tekst : QString(), tekst, kPrefiks + tekst, std::move(slike),
            čekanjeMs};
}

const QString kNijeNađenaArhiva =
    QStringLiteral("Nije nađena 7z datoteka: %1A.7z pa je nije moguće instalirati. Prekida se ažuriranje!");
const QString kNemaAlata = QStringLiteral("UNZIP: {U}A.7zProgram za raspakiravanje 7za nije pronađen.");

const FailureCase kFailures[] = {
    {"NoMarkedRow",
     [](NetworkFetch& f) {
         f.zapis(0).zastavica = 0;
         f.zapis(1).zastavica = 2;
     },
     QStringLiteral("Nema novih verzija progama!"),
     QString(),
     QString(),
     {}},
    izvještaj(
        "ArchiveMissingInTheSourceFolder",
        [](NetworkFetch& f) {
            auto& n = f;
            QFile::remove(n.izdanje.mapa() + QStringLiteral("B.7z"));
        },
        kNijeNađenaArhiva.arg(QStringLiteral("{M}")).replace(QStringLiteral("A.7z"), QStringLiteral("B.7z")),
        false, {2, 4}),
    izvještaj("FolderTextWithoutTrailingSlash",
              [](NetworkFetch& f) {
                  auto& n = f;
                  n.t.model.postaviTxtLokacija(0, n.izdanje.mapa().chopped(1));
              },
              kNijeNađenaArhiva.arg(QStringLiteral("{m}")), false, {4, 6}),
    // A relative folder would be looked up in whatever folder the program was started from.
    izvještaj("RelativeFolderTextFindsNothing",
              [](NetworkFetch& f) { f.t.model.postaviTxtLokacija(0, QStringLiteral("mreža/")); },
              kNijeNađenaArhiva.arg(QStringLiteral("mreža/")), false, {4, 6}),
    izvještaj("CopyFails",
              [](NetworkFetch& f) {
                  auto& n = f;
                  n.t.fs.failPath(n.t.stanje.PutanjaUpdate + QStringLiteral("A.7z"),
                                  QStringLiteral("Pristup je odbijen."), {QStringLiteral("copyReplacing")});
              },
              QStringLiteral("Greška u kopiranju A.7z. Prekida se ažuriranje!"), true, {4, 6}),
    izvještaj(
        "CopiedArchiveCannotBeLookedUp",
        [](NetworkFetch& f) {
            auto& n = f;
            n.t.fs.failPath(n.t.stanje.PutanjaUpdate + QStringLiteral("A.7z"),
                            QStringLiteral("Pristup je odbijen."), {QStringLiteral("fileSize")});
        },
        QStringLiteral("Greška u provjeri veličine datoteke-dohvatu datoteke A.7z. Prekida se ažuriranje!"),
        true, {4, 6}),
    // The column text is quoted as it stands, leading zero included.
    izvještaj("ArchiveOneByteOffTheColumn",
              [](NetworkFetch& f) {
                  auto& n = f;
                  n.zapis(0).polja[4] = u'0' + QString::number(n.zapis(0).polja[4].toLongLong() + 1);
              },
              QStringLiteral(
                  "Veličina presnimljene datoteke A.7z je {VA}, a veličina originalne datoteke je 0{VA1} i "
                  "one nisu iste. Moguća greška u prijenosu datoteke. Ponovite postupak. Prekida se "
                  "ažuriranje!"),
              true, {4, 6}),
    {"UnpackingFails",
     [](NetworkFetch& f) { f.procesi.hide(QStringLiteral("7za")); },
     QStringLiteral("Desila se greška: ") + kNemaAlata + QStringLiteral(" Prekida se ažuriranje!"),
     kNemaAlata,
     QStringLiteral("Unzipaj- Greška ") + kNemaAlata,
     {2, 6}},
    // The archive holds another file, so A.exe never appears: two waits of five seconds, then the stop.
    izvještaj(
        "UnpackedFileMissing",
        [](NetworkFetch& f) {
            auto& n = f;
            n.t.write(n.izdanje.mapa() + QStringLiteral("A.7z"),
                      Spakiraj7z(n.t.root(QStringLiteral("pakiranje")), QStringLiteral("X.exe"), n.sadržajA));
            n.zapis(0).polja[4] =
                QString::number(QFileInfo(n.izdanje.mapa() + QStringLiteral("A.7z")).size());
        },
        QStringLiteral("Nije nađena datoteka: {U}A.exe, a trebala bi postojati. Prekida se ažuriranje!"),
        false, {2, 2}, 10000),
    izvještaj("UnpackedFileCannotBeLookedUp",
              [](NetworkFetch& f) {
                  auto& n = f;
                  n.t.fs.failPath(n.t.stanje.PutanjaUpdate + QStringLiteral("A.exe"),
                                  QStringLiteral("Pristup je odbijen."), {QStringLiteral("fileSize")});
              },
              QStringLiteral("Greška u provjeri veličine datoteke A.exe. Prekida se ažuriranje!"), true,
              {2, 2}),
    izvještaj(
        "UnpackedSizeDiffers", [](NetworkFetch& f) { f.zapis(1).polja[5] = QStringLiteral("3001"); },
        QStringLiteral(
            "Veličina presnimljene datoteke B.dll je 3000, a veličina originalne datoteke je 3001 i one "
            "nisu iste. Moguća greška u prijenosu datoteke. Ponovite postupak. Prekida se ažuriranje!"),
        true, {2, 2}),
    izvještaj("ControlFileCopyFails",
              [](NetworkFetch& f) {
                  auto& n = f;
                  n.t.fs.failPath(n.t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt"),
                                  QStringLiteral("Pristup je odbijen."), {QStringLiteral("copyReplacing")});
              },
              QStringLiteral("Greška u kopiranju Verzije.txt. Prekida se ažuriranje!"), true, {2, 2}),
};

TEST_P(NetworkFailure, StopsAndTellsTheUser)
{
    const FailureCase& c = GetParam();
    dvijeStavke();
    const qint64 veličinaA = zapis(0).polja[4].toLongLong();
    c.priprema(*this);
    izdanje.objavi();
    auto zamijeni = [&](QString tekst) {
        return u(tekst.replace(QStringLiteral("{VA1}"), QString::number(veličinaA + 1))
                     .replace(QStringLiteral("{VA}"), QString::number(veličinaA)));
    };

    EXPECT_FALSE(SnimitiSaMrežneLokacije(o));

    if (c.kutija.isEmpty()) {
        EXPECT_TRUE(t.dijalozi.boxes().empty()) << t.dijalozi.texts().join(u'\n').toStdString();
    } else {
        ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
        EXPECT_EQ(t.dijalozi.boxes()[0].text, zamijeni(c.kutija));
        EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Exclamation);
        EXPECT_EQ(t.dijalozi.boxes()[0].caption, NaslovPrograma);
    }
    EXPECT_EQ(t.stanje.PorukeGrešaka,
              c.greška.isEmpty() ? QString() : QStringLiteral("\r\n") + zamijeni(c.greška));
    if (c.zadnjiLog.isEmpty()) {
        EXPECT_TRUE(t.log().isEmpty());
    } else {
        ASSERT_FALSE(t.log().isEmpty());
        EXPECT_EQ(t.log().last(), zamijeni(c.zadnjiLog));
    }
    // The action pane keeps what it showed; an error that no box told of shows in the error pane.
    EXPECT_EQ(t.model.txtPor(), kRanije);
    EXPECT_EQ(t.model.txtPorGr(),
              c.kutija.isEmpty() && !c.greška.isEmpty() ? t.stanje.PorukeGrešaka : kRanije);
    EXPECT_EQ(slike(), c.slike);
    EXPECT_EQ(t.sat.paused(), c.čekanjeMs);
}

INSTANTIATE_TEST_SUITE_P(Table, NetworkFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.naziv); });

TEST_F(NetworkFetch, NoMarkedRowTouchesNoFile)
{
    dvijeStavke();
    zapis(0).zastavica = 0;
    zapis(1).zastavica = 0;
    izdanje.objavi();
    t.fs.clearRecord();

    EXPECT_FALSE(SnimitiSaMrežneLokacije(o));

    EXPECT_EQ(t.dijalozi.texts(), QStringList{QStringLiteral("Nema novih verzija progama!")});
    EXPECT_TRUE(t.fs.operations().empty());
    EXPECT_FALSE(t.model.progBarVidljiv());
    EXPECT_TRUE(QDir(t.stanje.PutanjaUpdate).isEmpty());
}

// Where the five unpacked files appear, as the virtual time waited so far; 0 means unpacked at once,
// -1 never.
struct WaitCase {
    const char* naziv;
    std::vector<qint64> pojava;
    int zaustavlja;  // the item that stops the run; -1 for a run that succeeds
    qint64 čekanjeMs;
    QStringList čekanja;  // the log's wait lines, "5" or "još" followed by the item's number
};

void PrintTo(const WaitCase& c, std::ostream* os)
{
    *os << c.naziv;
}

class WaitCounter : public NetworkFetch, public ::testing::WithParamInterface<WaitCase> {};

const WaitCase kWaits[] = {
    {"FiveMissingFirstWaitedForTwice", {-1, -1, -1, -1, -1}, 0, 10000, {"5 0", "još 0"}},
    {"TwoNeedBothWaitsThirdGetsNone",
     {10000, 20000, -1},
     2,
     20000,
     {"5 0", "još 0", "5 1", "još 1", "5 2", "još 2"}},
    {"CounterCarriesAcrossItems",
     {5000, 15000, 20000, -1},
     3,
     20000,
     {"5 0", "5 1", "još 1", "5 2", "5 3", "još 3"}},
    // Found after one wait; the final wait of the run follows.
    {"AppearsAfterOneWait", {0, 5000}, -1, 10000, {"5 1"}},
};

TEST_P(WaitCounter, WaitsAtMostFourTimesInThePass)
{
    const WaitCase& c = GetParam();
    std::vector<QByteArray> sadržaji;
    for (size_t i = 0; i < c.pojava.size(); ++i) {
        sadržaji.push_back(Sadržaj(1000 + static_cast<qint64>(i), static_cast<char>('k' + i)));
        const QString ime = QStringLiteral("P%1.exe").arg(i);
        izdanje.dodaj(ime, sadržaji.back(), c.pojava[i] == 0 ? QString() : QStringLiteral("X%1.bin").arg(i));
    }
    izdanje.objavi();
    t.sat.onPause = [&] {
        for (size_t i = 0; i < c.pojava.size(); ++i) {
            const QString datoteka = t.stanje.PutanjaUpdate + QStringLiteral("P%1.exe").arg(i);
            if (c.pojava[i] > 0 && t.sat.paused() >= c.pojava[i] && !t.exists(datoteka))
                t.write(datoteka, sadržaji[i]);
        }
    };

    EXPECT_EQ(SnimitiSaMrežneLokacije(o), c.zaustavlja < 0);

    EXPECT_EQ(t.sat.paused(), c.čekanjeMs);
    // "P3.exe" is item 3.
    QStringList čekanja;
    const QString prvo = QStringLiteral("Nema fajla, moram čekati 5 s P");
    const QString drugo = QStringLiteral("Nema fajla, moram čekati još 5 s P");
    for (const QString& l : dohvatLog()) {
        if (l.startsWith(prvo))
            čekanja << QStringLiteral("5 ") + l.mid(prvo.size()).chopped(4);
        if (l.startsWith(drugo))
            čekanja << QStringLiteral("još ") + l.mid(drugo.size()).chopped(4);
    }
    EXPECT_EQ(čekanja, c.čekanja);
    if (c.zaustavlja >= 0) {
        const QString tekst =
            u(QStringLiteral("Nije nađena datoteka: {U}P%1.exe, a trebala bi postojati. Prekida se "
                             "ažuriranje!")
                  .arg(c.zaustavlja));
        EXPECT_EQ(t.log().last(), kPrefiks + tekst);
        EXPECT_EQ(t.stanje.PorukeGrešaka, QStringLiteral("\r\n") + tekst);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WaitCounter, ::testing::ValuesIn(kWaits),
                         [](const auto& info) { return std::string(info.param.naziv); });

// An unpacked file that is still empty gets up to two more looks, five seconds apart; -1: it stays empty.
struct EmptyCase {
    const char* naziv;
    qint64 raste;
    bool rezultat;
    qint64 čekanjeMs;  // the final wait of a successful run included
};

void PrintTo(const EmptyCase& c, std::ostream* os)
{
    *os << c.naziv;
}

class EmptyUnpackedFile : public NetworkFetch, public ::testing::WithParamInterface<EmptyCase> {};

const EmptyCase kEmpty[] = {
    {"GrowsDuringTheFirstWait", 5000, true, 10000},
    {"GrowsDuringTheSecondWait", 10000, true, 15000},
    {"StaysEmpty", -1, false, 10000},
};

TEST_P(EmptyUnpackedFile, IsLookedUpAgainAfterFiveAndTenSeconds)
{
    const EmptyCase& c = GetParam();
    izdanje.dodaj(QStringLiteral("A.exe"), QByteArray());
    zapis(0).polja[5] = QStringLiteral("1000");
    izdanje.objavi();
    const QString datoteka = t.stanje.PutanjaUpdate + QStringLiteral("A.exe");
    t.sat.onPause = [&] {
        if (c.raste > 0 && t.sat.paused() >= c.raste && veličina(datoteka) == 0)
            t.write(datoteka, Sadržaj(1000, 'e'));
    };

    EXPECT_EQ(SnimitiSaMrežneLokacije(o), c.rezultat);

    EXPECT_EQ(t.sat.paused(), c.čekanjeMs);
    EXPECT_TRUE(dohvatLog().filter(QStringLiteral("Nema fajla")).isEmpty());
    const QString početak =
        QStringLiteral("Veličina presnimljene datoteke A.exe je %1, a veličina originalne datoteke je 1000")
            .arg(c.rezultat ? 1000 : 0);
    if (c.rezultat) {
        EXPECT_TRUE(dohvatLog().contains(početak + QStringLiteral(". OK.")));
    } else {
        EXPECT_EQ(
            t.dijalozi.texts(),
            QStringList{početak + QStringLiteral(" i one nisu iste. Moguća greška u prijenosu datoteke. "
                                                 "Ponovite postupak. Prekida se ažuriranje!")});
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EmptyUnpackedFile, ::testing::ValuesIn(kEmpty),
                         [](const auto& info) { return std::string(info.param.naziv); });

TEST_F(NetworkFetch, SuccessfulRunShowsWhatWasCopiedAndUnpacked)
{
    const QByteArray program = Sadržaj(300000, 'p');
    const QByteArray pomoć = Sadržaj(2500, 'h');
    izdanje.dodaj(QStringLiteral("Program.exe"), program);
    izdanje.dodaj(QStringLiteral("Staro.dll"), Sadržaj(100, 's')).zastavica = 0;  // not on the list
    izdanje.dodaj(QStringLiteral("Lib.dll"), sadržajB);
    izdanje.dodaj(QStringLiteral("Pomoc.chm"), pomoć);
    izdanje.objavi();
    const qint64 ukupno = izdanje.ukupno();
    qint64 najvišeTijekom = 0;
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::ProgBar && t.model.progBarVidljiv())
            najvišeTijekom = std::max(najvišeTijekom, t.model.progBarVrijednost());
    });

    ASSERT_TRUE(SnimitiSaMrežneLokacije(o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_EQ(t.model.txtPor(), u(QStringLiteral("\r\nKopirano Program.7z\r\nUNZIP: {U}Program.7z"
                                                 "\r\nKopirano Lib.7z\r\nUNZIP: {U}Lib.7z"
                                                 "\r\nKopirano Pomoc.7z\r\nKopirano Verzije.txt")));
    EXPECT_EQ(t.model.txtPorGr(), QString());
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    for (const RedMreže& r : t.model.redovi()) {
        EXPECT_EQ(r.slika, 2) << r.polja[0].toStdString();
        EXPECT_EQ(r.ispuna, 50) << r.polja[0].toStdString();
    }
    EXPECT_EQ(t.model.redovi().size(), 3);
    EXPECT_EQ(t.model.progBarMin(), 0);
    EXPECT_EQ(t.model.progBarMax(), ukupno);
    EXPECT_EQ(t.model.progBarVrijednost(), ukupno);
    EXPECT_EQ(najvišeTijekom, ukupno);
    EXPECT_FALSE(t.model.progBarVidljiv());
    EXPECT_EQ(t.model.panel1(), QString());
    EXPECT_EQ(t.sat.paused(), 5000);

    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Program.exe")), program);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Lib.dll")), sadržajB);
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Pomoc.chm")), pomoć);
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + QStringLiteral("Staro.7z")));
    EXPECT_EQ(t.read(t.stanje.PutanjaUpdate + QStringLiteral("Verzije.txt")),
              t.read(izdanje.mapa() + QStringLiteral("Verzije.txt")));

    auto ok = [&](const QString& ime, const QString& polje) {
        return QStringLiteral(
                   "Veličina presnimljene datoteke %1 je %2, a veličina originalne datoteke je %2. OK.")
            .arg(ime, polje);
    };
    const Matrica& m = t.stanje.NoveVerzije;
    EXPECT_EQ(dohvatLog(), (QStringList{
                               QStringLiteral("Početak"),
                               QStringLiteral("Početak kopiranja Program.7z"),
                               ok(QStringLiteral("Program.7z"), m[0].polja[4]),
                               QStringLiteral("Početak kopiranja Lib.7z"),
                               ok(QStringLiteral("Lib.7z"), m[2].polja[4]),
                               QStringLiteral("Početak kopiranja Pomoc.7z"),
                               ok(QStringLiteral("Pomoc.7z"), m[3].polja[4]),
                               QStringLiteral("Početak provjere veličine datoteka"),
                               ok(QStringLiteral("Program.exe"), QStringLiteral("300000")),
                               ok(QStringLiteral("Lib.dll"), QStringLiteral("3000")),
                               ok(QStringLiteral("Pomoc.chm"), QStringLiteral("2500")),
                           }));
}

TEST_F(NetworkFetch, MarkedRowsWithoutANameAreSkipped)
{
    t.stanje.NoveVerzije[0].zastavica = 1;  // an empty row that carries the flag
    izdanje.preskoči();
    izdanje.dodaj(QStringLiteral("A.exe"), sadržajA);
    izdanje.objavi();

    ASSERT_TRUE(SnimitiSaMrežneLokacije(o));
    EXPECT_EQ(t.model.txtPor(),
              u(QStringLiteral("\r\nKopirano A.7z\r\nUNZIP: {U}A.7z\r\nKopirano Verzije.txt")));

    // With nothing else marked, no archive is fetched, but the control file is.
    TestOkruzenje prazno;
    prazno.stanje.NoveVerzije[3].zastavica = 1;
    prazno.model.postaviTxtLokacija(0, izdanje.mapa());
    EXPECT_TRUE(SnimitiSaMrežneLokacije(prazno.o));
    EXPECT_EQ(prazno.model.txtPor(), QStringLiteral("\r\nKopirano Verzije.txt"));
    EXPECT_EQ(QDir(prazno.stanje.PutanjaUpdate).entryList(QDir::Files),
              (QStringList{QStringLiteral("Update.log"), QStringLiteral("Verzije.txt")}));
}

// Items that the comparison left out of the total (new ones, scripts kept by a database change)
// still move the bar; it stops at its end.
TEST_F(NetworkFetch, BarStopsAtItsEnd)
{
    dvijeStavke();
    izdanje.objavi();
    t.stanje.UkupnoZaPrijenos = zapis(0).polja[4].toLongLong();
    std::vector<qint64> vrijednosti;
    t.model.pratiPromjene([&](ProzorModel::Kontrola k) {
        if (k == ProzorModel::Kontrola::ProgBar && t.model.progBarVidljiv())
            vrijednosti.push_back(t.model.progBarVrijednost());
    });

    ASSERT_TRUE(SnimitiSaMrežneLokacije(o));
    EXPECT_EQ(t.model.progBarMax(), t.stanje.UkupnoZaPrijenos);
    EXPECT_EQ(vrijednosti, (std::vector<qint64>{0, t.stanje.UkupnoZaPrijenos, t.stanje.UkupnoZaPrijenos}));
}

// From a program folder whose check found updates in the network folder to every needed file
// unpacked and verified in the Update folder.
TEST(NetworkFetchEndToEnd, CheckThenFetchBringsEveryNeededFile)
{
    TestOkruzenje t;
    const QString mreža = t.root(QStringLiteral("mreža"));
    const QMap<QString, QByteArray> izdanje = ObjaviStarijojInstalaciji(t, mreža);
    ASSERT_FALSE(izdanje.isEmpty());
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, mreža + u'/');

    ASSERT_TRUE(PripremiVerzijaTXT(t.o));
    ASSERT_EQ(t.model.redovi().size(), 2);
    t.dijalozi.clear();
    ASSERT_TRUE(SnimitiSaMrežneLokacije(t.o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(t.read(QStringLiteral("Update/Program.exe")), izdanje[QStringLiteral("Program.exe")]);
    EXPECT_EQ(t.read(QStringLiteral("Update/Pomoc.chm")), izdanje[QStringLiteral("Pomoc.chm")]);
    EXPECT_FALSE(t.exists(QStringLiteral("Update/Lib.7z")));
    EXPECT_EQ(t.read(QStringLiteral("Update/Verzije.txt")), t.read(mreža + QStringLiteral("/Verzije.txt")));
    for (const RedMreže& r : t.model.redovi()) EXPECT_EQ(r.slika, 2) << r.polja[0].toStdString();
    EXPECT_EQ(t.model.progBarVrijednost(), t.stanje.UkupnoZaPrijenos);
    EXPECT_EQ(t.model.txtPorGr(), QString());
}

}  // namespace
