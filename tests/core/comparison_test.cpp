#include "core/Usporedba.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>

namespace {

struct CompareCase {
    const char* name;
    QByteArray oldFile;
    QByteArray newFile;
    QStringList installed;  // files present, relative to the program folder
    QStringList listed;     // names on the update list, in file order
    qint64 total;           // UkupnoZaPrijenos
    QStringList logged;     // log lines that must appear (with "<H>" for the help folder, "<S>" for scripts)
    QStringList notLogged;  // log lines that must not appear
};

const QString P = QStringLiteral("NapraviRsŠtoTrebaAžurirati - ");

const CompareCase kCases[] = {
    {"equalAndInstalled",
     "A.exe;20;10;3;100;200;\r\n",
     "A.exe;20;10;3;100;200;\r\n",
     {"A.exe"},
     {},
     0,
     {},
     {}},
    {"minorUp",
     "A.exe;20;9;7;100;200;\r\n",
     "A.exe;20;10;3;100;200;\r\n",
     {"A.exe"},
     {"A.exe"},
     100,
     {P + "Treba instalirati: A.exe"},
     {}},
    {"majorDownMinorUp",
     "A.exe;21;0;0;100;200;\r\n",
     "A.exe;20;9;9;100;200;\r\n",
     {"A.exe"},
     {"A.exe"},
     100,
     {},
     {}},
    {"allLowerNotListed", "A.exe;21;9;9;100;200;\r\n", "A.exe;20;9;9;100;200;\r\n", {"A.exe"}, {}, 0, {}, {}},
    {"archiveOneByteMore",
     "A.exe;20;1;0;100;200;\r\n",
     "A.exe;20;1;0;101;200;\r\n",
     {"A.exe"},
     {"A.exe"},
     101,
     {},
     {}},
    {"unpackedSizeDiffers",
     "A.exe;20;1;0;100;200;\r\n",
     "A.exe;20;1;0;100;199;\r\n",
     {"A.exe"},
     {"A.exe"},
     100,
     {},
     {}},
    {"programMissing",
     "A.exe;20;1;0;100;200;\r\n",
     "A.exe;20;1;0;100;200;\r\n",
     {},
     {"A.exe"},
     100,
     {P + "Nije nađena datoteka: A.exe pa se mora napraviti", P + "Treba instalirati: A.exe"},
     {}},
    {"helpFileMissing",
     "Pomoc.chm;20;1;0;50;60;\r\n",
     "Pomoc.chm;20;1;0;50;60;\r\n",
     {},
     {"Pomoc.chm"},
     50,
     {P + "Nije nađena datoteka: <H>Pomoc.chm pa se mora napraviti"},
     {}},
    {"scriptMissing",
     "S.enc;20;1;0;50;60;\r\n",
     "S.enc;20;1;0;50;60;\r\n",
     {},
     {"S.enc"},
     50,
     {P + "Nije nađena datoteka: <S>S.enc pa se mora napraviti"},
     {}},
    {"helpFilePresentInItsFolder",
     "Pomoc.chm;20;1;0;50;60;\r\n",
     "Pomoc.chm;20;1;0;50;60;\r\n",
     {"Help/Pomoc.chm"},
     {},
     0,
     {},
     {}},
    {"newOnly",
     "A.exe;20;1;0;100;200;\r\n",
     "A.exe;20;1;0;100;200;\r\nB.dll;20;1;0;7;8;\r\n",
     {"A.exe"},
     {"B.dll"},
     0,
     {P + "Nije pronađen zapis o starim verzija za :B.dll pa se mora kopirati"},
     {P + "Treba instalirati: B.dll"}},
    {"updaterOnlyInNew",
     "",
     "LumivexLiveUpdate20.exe;20;2;0;10;20;\r\n",
     {},
     {},
     0,
     {},
     {P + "Nije pronađen zapis o starim verzija za :LumivexLiveUpdate20.exe pa se mora kopirati"}},
    {"updaterNewerNeverListed",
     "LumivexLiveUpdate20.exe;20;1;0;10;20;\r\n",
     "LumivexLiveUpdate20.exe;20;2;0;11;21;\r\n",
     {"LumivexLiveUpdate20.exe"},
     {},
     0,
     {},
     {P + "Treba instalirati: LumivexLiveUpdate20.exe"}},
    {"databaseChangeCarriesLaterScripts",
     "S0.enc;20;1;0;5;6;\r\nLumiIzmjBaza20.dll;20;1;0;10;20;\r\nS1.enc;20;1;0;5;6;\r\n",
     "S0.enc;20;1;0;5;6;\r\nLumiIzmjBaza20.dll;20;2;0;10;20;\r\nS1.enc;20;1;0;5;6;\r\n",
     {"LumiIzmjBaza20.dll", "Skrite za izmjenu baze/S1.enc", "Skrite za izmjenu baze/S0.enc"},
     {"LumiIzmjBaza20.dll", "S1.enc"},
     10,
     {P + "Treba instalirati: LumiIzmjBaza20.dll"},
     {P + "Treba instalirati: S1.enc"}},
    {"letterCaseCountsAsAbsent",
     "a.exe;20;1;0;100;200;\r\n",
     "A.exe;20;1;0;100;200;\r\n",
     {"A.exe"},
     {"A.exe"},
     0,
     {P + "Nije pronađen zapis o starim verzija za :A.exe pa se mora kopirati"},
     {}},
    {"totalIsSixtyFourBit",
     "Velik.dll;20;1;0;1;1;\r\n",
     "Velik.dll;20;2;0;3000000000;5000000000;\r\nV2.dll;20;1;0;3000000000;1;\r\n",
     {"Velik.dll"},
     {"Velik.dll", "V2.dll"},
     3000000000LL,
     {},
     {}},
};

class Compare : public ::testing::TestWithParam<CompareCase> {
protected:
    TestOkruzenje t;
};

TEST_P(Compare, FlagsLogAndTotal)
{
    const CompareCase& c = GetParam();
    t.write(QStringLiteral("Verzije.txt"), c.oldFile);
    t.write(QStringLiteral("Update/Verzije.txt"), c.newFile);
    for (const QString& f : c.installed) t.write(f, "x");
    t.stanje.PorukeAkcija = QStringLiteral("staro");
    t.stanje.PorukeGrešaka = QStringLiteral("staro");

    const bool listed = NapraviRsŠtoTrebaAžurirati(t.o);

    QStringList flagged;
    for (const Zapis& z : t.stanje.NoveVerzije.zapisi)
        if (!z.prazan() && z.zastavica == 1)
            flagged << z.ime();
    EXPECT_EQ(flagged, c.listed);
    EXPECT_EQ(listed, !c.listed.isEmpty());
    EXPECT_EQ(t.stanje.UkupnoZaPrijenos, c.total);
    QStringList grid;
    for (const RedMreže& r : t.model.redovi()) grid << r.polja[0];
    EXPECT_EQ(grid, c.listed);
    EXPECT_EQ(t.model.panel1(),
              c.listed.isEmpty() ? QStringLiteral("Nema novih verzija Lumi-vex programa!") : QString());
    EXPECT_EQ(t.stanje.PorukeAkcija, QString());
    EXPECT_EQ(t.stanje.PorukeGrešaka, QString());

    const QStringList log = t.log();
    auto expand = [&](QString line) {
        return line.replace(QStringLiteral("<H>"), t.stanje.PutanjaHelp)
            .replace(QStringLiteral("<S>"), t.stanje.PutanjaSkripti);
    };
    for (const QString& line : c.logged) EXPECT_TRUE(log.contains(expand(line))) << line.toStdString();
    for (const QString& line : c.notLogged) EXPECT_FALSE(log.contains(expand(line))) << line.toStdString();
    EXPECT_EQ(log.first(), P + QStringLiteral("početak"));
    EXPECT_EQ(log.last(), P + QStringLiteral("kraj"));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, Compare, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class CompareFailure : public ::testing::Test {
protected:
    TestOkruzenje t;
    void keepAnEarlierGrid()
    {
        RedMreže r;
        r.polja[0] = QStringLiteral("Ranije.exe");
        t.model.postaviMrežu({r}, 1, 2);
    }
    void expectEarlierGrid()
    {
        ASSERT_EQ(t.model.redovi().size(), 1);
        EXPECT_EQ(t.model.redovi()[0].polja[0], QStringLiteral("Ranije.exe"));
    }
};

TEST_F(CompareFailure, UnreadableNewFile)
{
    keepAnEarlierGrid();
    t.write(QStringLiteral("Verzije.txt"), "A.exe;20;1;0;1;1;\r\n");
    EXPECT_FALSE(NapraviRsŠtoTrebaAžurirati(t.o));
    const QString text = QStringLiteral(
        "NapraviRsŠtoTrebaAžurirati - Desila se greška u čitanju zapisa u matricu iz "
        "datoteke. Prekida se ažuriranje!");
    ASSERT_EQ(t.dijalozi.boxes().size(), 2u);  // the reader's own box first
    EXPECT_TRUE(t.dijalozi.boxes()[0].text.startsWith(QStringLiteral("Greška u otvaranju datoteke: ")));
    EXPECT_EQ(t.dijalozi.boxes()[1].text, text);
    EXPECT_EQ(t.dijalozi.boxes()[1].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(t.log().last(), text);
    expectEarlierGrid();
}

TEST_F(CompareFailure, MissingOldFile)
{
    keepAnEarlierGrid();
    t.write(QStringLiteral("Update/Verzije.txt"), "A.exe;20;1;0;1;1;\r\n");
    EXPECT_FALSE(NapraviRsŠtoTrebaAžurirati(t.o));
    const QString text =
        QStringLiteral("Ne postoji datoteka: ") + t.program() +
        QStringLiteral("Verzije.txt te nije moguće nastaviti sa ažuriranjem. Kontaktirajte Lumivex!");
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].text, text);
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(t.log().last(), QStringLiteral("NapraviRsŠtoTrebaAžurirati ") + text);
    expectEarlierGrid();
}

TEST_F(CompareFailure, UnreadableOldFile)
{
    t.write(QStringLiteral("Update/Verzije.txt"), "A.exe;20;1;0;1;1;\r\n");
    t.write(QStringLiteral("Verzije.txt"), "A.exe;20;1\r\n");
    EXPECT_FALSE(NapraviRsŠtoTrebaAžurirati(t.o));
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].text,
              QStringLiteral("NapraviRsŠtoTrebaAžurirati - Desila se greška u čitanju "
                             "zapisa u matricu-STARI. Prekida se ažuriranje!"));
}

TEST(CompareFiles, AnOldUpdateListFileIsDeleted)
{
    TestOkruzenje t;
    t.write(QStringLiteral("Verzije.txt"), "");
    t.write(QStringLiteral("Update/Verzije.txt"), "");
    t.write(QStringLiteral("Update/Update.txt"), "<xml/>");
    EXPECT_FALSE(NapraviRsŠtoTrebaAžurirati(t.o));
    EXPECT_FALSE(t.exists(QStringLiteral("Update/Update.txt")));
    EXPECT_TRUE(t.model.redovi().isEmpty());
}

TEST(MarkRow, StatusesSetPictureAndFillOfTheFirstMatchingRow)
{
    TestOkruzenje t;
    RedMreže a, b;
    a.polja[0] = QStringLiteral("A.exe");
    b.polja[0] = QStringLiteral("B.dll");
    t.model.postaviMrežu({a, b}, 0, 0);

    using enum StanjeStavke;
    const std::tuple<StanjeStavke, int, int> statuses[] = {{SkinutaSInterneta, 1, 25},
                                                           {KopiranaSMreže, 4, 25},
                                                           {Raspakirana, 2, 50},
                                                           {UInstalaciji, 5, 75},
                                                           {Instalirana, 3, 100}};
    for (const auto& [status, picture, fill] : statuses) {
        OznačiStavku(t.o, QStringLiteral("B.dll"), status);
        EXPECT_EQ(t.model.redovi()[1].slika, picture);
        EXPECT_EQ(t.model.redovi()[1].ispuna, fill);
        EXPECT_EQ(t.model.vidljiviRed(), 1);
    }
    EXPECT_EQ(t.model.redovi()[0].slika, 6);
    OznačiStavku(t.o, QStringLiteral("b.dll"), Instalirana);                   // names match exactly
    OznačiStavku(t.o, QStringLiteral("A.exe"), static_cast<StanjeStavke>(9));  // not a status
    EXPECT_EQ(t.model.redovi()[0].slika, 6);
    EXPECT_EQ(t.model.redovi()[0].ispuna, 0);
}

}  // namespace
