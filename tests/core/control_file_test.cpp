#include "core/TekstKontrolneDatoteke.h"
#include "core/UcitavanjeMatrice.h"
#include "core/Usporedba.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>

namespace {

QByteArray lines(int n, const char* ending = "\r\n")
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += "P" + QByteArray::number(i) + ".exe;20;1;" + QByteArray::number(i) + ";100;200;" + ending;
    return out;
}

struct ReadCase {
    const char* name;
    QByteArray file;
    bool ok;
    int records;
    QString logged;  // the log line the read leaves, empty when none
};

const QString Path = QStringLiteral("<putanja>");

const ReadCase kReadCases[] = {
    {"emptyFile", "", true, 0, ""},
    {"blankLinesSkipped", "\r\n   \r\nA.exe;1;0;0;5;9;\r\n\r\nB.dll;2;0;0;6;8;\r\n", true, 2, ""},
    {"loneLfAccepted", "A.exe;1;0;0;5;9;\nB.dll;2;0;0;6;8;\n", true, 2, ""},
    {"noFinalLineEnd", "A.exe;1;0;0;5;9;", true, 1, ""},
    {"textAfterSixthSeparatorIgnored", "A.exe;1;0;0;5;9;komentar\r\n", true, 1, ""},
    {"fiveSeparators", "A.exe;1;0;0;5;9\r\n", false, 0,
     "Greška u splitu - ima : 6 članova! Datoteka: <putanja> Red: A.exe;1;0;0;5;9"},
    {"sevenSeparators", "A.exe;1;0;0;5;9;;\r\n", false, 0,
     "Greška u splitu - ima : 8 članova! Datoteka: <putanja> Red: A.exe;1;0;0;5;9;;"},
    {"failingLineAfterGoodOnes", "A.exe;1;0;0;5;9;\r\nbez separatora\r\n", false, 1,
     "Greška u splitu - ima : 1 članova! Datoteka: <putanja> Red: bez separatora"},
    {"exactly71", lines(71), true, 71, ""},
    {"the72ndFails", lines(72), false, 71,
     "Greška u dodjeljivanju vrijednosti matrici! Indeks je izvan raspona."},
    {"unsafeName", "A.exe;1;0;0;5;9;\r\n../B.exe;1;0;0;5;9;\r\n", false, 1,
     "Nedozvoljeno ime datoteke u datoteci: <putanja> Red: ../B.exe;1;0;0;5;9;"},
};

class ReadControlFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadControlFile, MatchesTable)
{
    const ReadCase& c = GetParam();
    Matrica m;
    m[5].polja[0] = QStringLiteral("ostatak prošlog čitanja");
    const RezultatČitanja r = PročitajMatricu(m, c.file, Path);
    EXPECT_EQ(r.ok(), c.ok);
    EXPECT_EQ(r.brojZapisa, c.records);
    EXPECT_EQ(r.ok() ? QString() : r.poruka, c.logged);
    for (int i = c.records; i < Matrica::BrojZapisa; ++i) {
        EXPECT_TRUE(m[i].prazan()) << i;
        EXPECT_EQ(m[i].polja[4], QStringLiteral("0"));
        EXPECT_EQ(m[i].polja[5], QStringLiteral("0"));
        EXPECT_EQ(m[i].zastavica, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ReadControlFile, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadControlFileFields, KeptUntrimmedInFileOrder)
{
    Matrica m;
    ASSERT_TRUE(PročitajMatricu(m, " A.exe ; 20;10 ;3;1 024;2048;\r\nB.chm;1;2;3;4;5;\r\n", Path).ok());
    const std::array<QString, 6> a{QStringLiteral(" A.exe "), QStringLiteral(" 20"),
                                   QStringLiteral("10 "),     QStringLiteral("3"),
                                   QStringLiteral("1 024"),   QStringLiteral("2048")};
    EXPECT_EQ(m[0].polja, a);
    EXPECT_EQ(m[1].ime(), QStringLiteral("B.chm"));
    EXPECT_EQ(m[0].zastavica, 0);
}

// A published control file must never make the installation write or delete outside the
// program's folders: every such name fails the read.
TEST(UnsafeNames, AreRefusedAndPlainNamesAccepted)
{
    const char* hostile[] = {
        "/etc/passwd",
        "../Program.exe",
        "..",
        ".",
        "a/b.exe",
        "a\\b.exe",
        "..\\..\\Windows\\x.dll",
        "\\\\server\\share\\x.exe",
        "C:",
        "C:Program.exe",
        "c:\\x.exe",
        "Z:x",
        "CON",
        "con",
        "PRN.txt",
        "AUX.chm",
        "NUL",
        "nul.exe",
        "COM1",
        "com9.dll",
        "LPT1",
        "LPT9.enc",
        "Lpt5.exe",
        "CON.tar.gz",
        "ime\tsa tabom.exe",
        "ime\x01.exe",
        "ime\x1b[31m.exe",
        "kraj\x7f.exe",
        "\x0b.dll",
        "Update/../../x.exe",
        "./Program.exe",
        "Program.exe/",
        "/",
        "\\",
    };
    for (const char* name : hostile) EXPECT_FALSE(JeDozvoljenoIme(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(JeDozvoljenoIme(QString(256, u'a')));
    EXPECT_FALSE(JeDozvoljenoIme(QStringLiteral("a") + QChar(0x2028) + QStringLiteral(".exe")));

    const char* plain[] = {"Program.exe", "LumiIzmjBaza20.dll", "Pomoć.chm", "Skripta 1.enc",
                           "CONSOLE.exe", "COM10.dll",          "LPT0.exe",  "NULL.txt",
                           "Readme.TXT",  "a..b.exe",           "...x",      ""};
    for (const char* name : plain) EXPECT_TRUE(JeDozvoljenoIme(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(JeDozvoljenoIme(QString(255, u'a')));
}

TEST(UnsafeNames, StopTheComparisonBeforeAnyFileIsTouched)
{
    TestOkruzenje t;
    t.write(QStringLiteral("Verzije.txt"), "Program.exe;20;1;0;5;9;\r\n");
    t.write(QStringLiteral("Update/Verzije.txt"),
            "Program.exe;20;1;0;5;9;\r\n..\\..\\Windows\\x.dll;20;1;1;5;9;\r\n");
    t.fs.clearRecord();
    EXPECT_FALSE(NapraviRsŠtoTrebaAžurirati(t.o));
    for (const auto& op : t.fs.operations()) {
        const bool allowed =
            (op.name == u"readFile" && op.path == t.program() + QStringLiteral("Update/Verzije.txt")) ||
            op.name == u"appendToFile";
        EXPECT_TRUE(allowed) << op.name.toStdString() << " " << op.path.toStdString();
    }
    EXPECT_TRUE(
        t.log().contains(QStringLiteral("Nedozvoljeno ime datoteke u datoteci: ") + t.program() +
                         QStringLiteral("Update/Verzije.txt Red: ..\\..\\Windows\\x.dll;20;1;1;5;9;")));
}

class ReadFromDisk : public ::testing::Test {
protected:
    TestOkruzenje t;
    Matrica m;
};

TEST_F(ReadFromDisk, MissingFileShowsTheOpenBoxAndLogsNothing)
{
    const QString path = t.program() + QStringLiteral("Verzije.txt");
    EXPECT_FALSE(UčitajMatricu(m, path, t.o));
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(t.dijalozi.boxes()[0].text, QStringLiteral("Greška u otvaranju datoteke: ") + path +
                                              QStringLiteral(" Datoteka ili direktorija nije pronađena."));
    EXPECT_TRUE(t.log().isEmpty());
}

TEST_F(ReadFromDisk, ReadErrorInsideTheFileLogsTheLineAsFarAsRead)
{
    const QString path = t.program() + QStringLiteral("Verzije.txt");
    t.write(path, "Prvi.exe;20;1;0;5;9;\r\nDrugi.exe;20;1;0;5;9;\r\n");
    t.fs.failPath(path, QStringLiteral("Greška u čitanju ili pisanju na uređaj."),
                  {QStringLiteral("readFile")}, FsResult::Stage::Transfer);
    EXPECT_FALSE(UčitajMatricu(m, path, t.o));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    // The first half of the file is the first record and the start of the second.
    EXPECT_EQ(m[0].ime(), QStringLiteral("Prvi.exe"));
    EXPECT_TRUE(m[1].prazan());
    EXPECT_EQ(t.log(), QStringList{QStringLiteral("Greška u čitanju datoteke: ") + path +
                                   QStringLiteral(" Red:  Greška u čitanju ili pisanju na uređaj.")});
}

TEST_F(ReadFromDisk, SplitFailureIsLoggedWithoutABox)
{
    const QString path = t.program() + QStringLiteral("Verzije.txt");
    t.write(path, "A.exe;1;0\r\n");
    EXPECT_FALSE(UčitajMatricu(m, path, t.o));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(t.log(), QStringList{QStringLiteral("Greška u splitu - ima : 3 članova! Datoteka: ") + path +
                                   QStringLiteral(" Red: A.exe;1;0")});
}

struct NumberCase {
    const char* field;
    double value;
    qint64 whole;
};

TEST(NumericValue, LeadingNumberOnly)
{
    const NumberCase cases[] = {
        {"", 0, 0},
        {"abc", 0, 0},
        {"  42", 42, 42},
        {"20", 20, 20},
        {"10 ", 10, 10},
        {"3.5", 3.5, 4},
        {"2.5", 2.5, 2},
        {"1,5", 1, 1},
        {"12abc", 12, 12},
        {"-7", -7, -7},
        {".5", 0.5, 0},
        {"1.2.3", 1.2, 1},
        {"4294967296", 4294967296.0, 4294967296LL},
        {"1 024", 1, 1},
        {"+9", 9, 9},
    };
    for (const NumberCase& c : cases) {
        EXPECT_DOUBLE_EQ(BrojčanaVrijednost(QString::fromUtf8(c.field)), c.value) << c.field;
        EXPECT_EQ(CijeliBroj(QString::fromUtf8(c.field)), c.whole) << c.field;
    }
}

}  // namespace
