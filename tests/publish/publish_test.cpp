#include "core/UcitavanjeMatrice.h"
#include "publish/Objava.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>

namespace {

class Publish : public ::testing::Test {
protected:
    TestOkruzenje t;
    LocalFileSystem fs;
    QtProcessRunner procesi;
    Objava objava{t.root(QStringLiteral("izdanje")), t.root(QStringLiteral("izdanje/izdanje.txt")),
                  t.root(QStringLiteral("objava"))};

    QByteArray random(int size)
    {
        QByteArray b(size, '\0');
        QRandomGenerator gen(size);
        for (char& c : b) c = static_cast<char>(gen.bounded(256));
        return b;
    }
    void release(const QByteArray& list)
    {
        t.write(t.root(QStringLiteral("izdanje/Program.exe")), random(200000));
        t.write(t.root(QStringLiteral("izdanje/LumiIzmjBaza20.dll")), QByteArray(50000, 'd'));
        t.write(t.root(QStringLiteral("izdanje/Skripta.enc")), "ALTER TABLE x;");
        t.write(t.root(QStringLiteral("izdanje/Pomoc.chm")), random(3000));
        t.write(objava.popis, list);
    }
    QStringList outputFiles() const
    {
        return QDir(objava.izlaz).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(Publish, ArchivesUnpackToTheSameBytesAndTheControlFileReadsBackWithMeasuredSizes)
{
    release(
        "# izdanje "
        "20.2\r\nProgram.exe;20;2;1\r\nLumiIzmjBaza20.dll;20;2;0\r\n\r\nSkripta.enc;20;2;0\r\nPomoc.chm;20;1;"
        "5\r\n");
    QStringList messages;
    ASSERT_TRUE(Objavi(fs, procesi, objava, messages)) << messages.join(u'\n').toStdString();
    EXPECT_EQ(outputFiles(), (QStringList{QStringLiteral("LumiIzmjBaza20.7z"), QStringLiteral("Pomoc.7z"),
                                          QStringLiteral("Program.7z"), QStringLiteral("Skripta.7z"),
                                          QStringLiteral("Verzije.txt")}));

    Matrica m;
    ASSERT_TRUE(UčitajMatricu(m, objava.izlaz + QStringLiteral("/Verzije.txt"), t.o));
    const QStringList names = {QStringLiteral("Program.exe"), QStringLiteral("LumiIzmjBaza20.dll"),
                               QStringLiteral("Skripta.enc"), QStringLiteral("Pomoc.chm")};
    const QStringList archives = {QStringLiteral("Program.7z"), QStringLiteral("LumiIzmjBaza20.7z"),
                                  QStringLiteral("Skripta.7z"), QStringLiteral("Pomoc.7z")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m[i].ime(), names[i]);
        EXPECT_EQ(m[i].polja[4].toLongLong(), QFileInfo(objava.izlaz + u'/' + archives[i]).size());
        EXPECT_EQ(m[i].polja[5].toLongLong(), QFileInfo(objava.izdanje + u'/' + names[i]).size());
    }
    EXPECT_EQ(m[0].polja[1], QStringLiteral("20"));
    EXPECT_EQ(m[0].polja[3], QStringLiteral("1"));
    EXPECT_EQ(m[3].polja[3], QStringLiteral("5"));
    EXPECT_TRUE(m[4].prazan());

    // 7-Zip gives back exactly the published bytes; copied kinds are the file itself.
    const QString unpacked = t.root(QStringLiteral("raspakirano"));
    QDir().mkpath(unpacked);
    for (const QString& a : {QStringLiteral("Program.7z"), QStringLiteral("LumiIzmjBaza20.7z")})
        ASSERT_EQ(QProcess::execute(QStringLiteral("7za"),
                                    {QStringLiteral("e"), objava.izlaz + u'/' + a, QStringLiteral("-aoa"),
                                     QStringLiteral("-o") + unpacked}),
                  0);
    EXPECT_EQ(t.read(unpacked + QStringLiteral("/Program.exe")),
              t.read(objava.izdanje + QStringLiteral("/Program.exe")));
    EXPECT_EQ(t.read(unpacked + QStringLiteral("/LumiIzmjBaza20.dll")), QByteArray(50000, 'd'));
    EXPECT_EQ(t.read(objava.izlaz + QStringLiteral("/Pomoc.7z")),
              t.read(objava.izdanje + QStringLiteral("/Pomoc.chm")));
    EXPECT_EQ(t.read(objava.izlaz + QStringLiteral("/Verzije.txt")).count("\r\n"), 4);
}

struct BadListCase {
    const char* name;
    QByteArray list;
    QString message;  // a line the user reads
};

class PublishBadInput : public Publish, public ::testing::WithParamInterface<BadListCase> {};

TEST_P(PublishBadInput, SaysWhatIsWrongAndWritesNothing)
{
    release(GetParam().list);
    QStringList messages;
    EXPECT_FALSE(Objavi(fs, procesi, objava, messages));
    QString expected = GetParam().message;
    expected.replace(QStringLiteral("<izdanje>"), objava.izdanje)
        .replace(QStringLiteral("<popis>"), objava.popis);
    EXPECT_TRUE(messages.contains(expected)) << messages.join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(objava.izlaz));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PublishBadInput,
    ::testing::Values(
        BadListCase{
            "unsafeName", "Program.exe;20;1;0\n../Program.exe;20;1;0\n",
            QStringLiteral(
                "Popis, red 2: ime \"../Program.exe\" nije dozvoljeno: mora biti obično ime datoteke, "
                "bez direktorija, uređaja, kontrolnih znakova i praznina na rubovima.")},
        BadListCase{
            "deviceName", "CON.exe;20;1;0\n",
            QStringLiteral("Popis, red 1: ime \"CON.exe\" nije dozvoljeno: mora biti obično ime datoteke, "
                           "bez direktorija, uređaja, kontrolnih znakova i praznina na rubovima.")},
        BadListCase{"missingFile", "Program.exe;20;1;0\nNema.dll;20;1;0\n",
                    QStringLiteral("Popis, red 2: ne postoji datoteka <izdanje>/Nema.dll.")},
        BadListCase{"versionNotANumber", "Program.exe;20;1.5;0\n",
                    QStringLiteral("Popis, red 1: verzija \"1.5\" za Program.exe nije cijeli broj.")},
        BadListCase{"wrongFieldCount", "Program.exe;20;1\n",
                    QStringLiteral(
                        "Popis, red 1: očekuju se četiri polja \"Ime;Ver_Gl;Ver_Pom;Ver_Rev\", a ima ih 3.")},
        BadListCase{"sharedArchiveName", "Program.exe;20;1;0\nProgram.dll;20;1;0\n",
                    QStringLiteral(
                        "Popis, red 2: arhiva Program.7z za Program.dll već pripada drugoj stavci popisa.")},
        BadListCase{"duplicate", "Pomoc.chm;20;1;0\nPomoc.chm;20;1;0\n",
                    QStringLiteral("Popis, red 2: Pomoc.chm je već na popisu.")},
        BadListCase{"empty", "# ništa\n", QStringLiteral("Popis izdanja <popis> nema nijedne stavke.")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
