#include "core/ProvjeraIzdanja.h"
#include "core/UcitavanjeMatrice.h"
#include "publish/Objava.h"
#include "support/TestOkruzenje.h"
#include "support/TestPotpis.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
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

// Each record carries its archive's SHA-256; with a key the control file is signed so that the
// minisign tool and the updater both accept it, and the updater then accepts every archive.
TEST_F(Publish, SignedReleaseVerifiesWithMinisignAndWithTheUpdater)
{
    TestKljuč ključ;
    ASSERT_TRUE(ključ.napravi(t.root(QStringLiteral("kljuc"))));
    TajniKljuč tajni;
    QString greška;
    ASSERT_TRUE(PročitajTajniKljuč(t.read(ključ.tajni), {}, tajni, greška)) << greška.toStdString();
    objava.ključ = tajni;
    objava.vrijeme = 1796000000;
    release("Program.exe;20;2;1\r\nPomoc.chm;20;1;5\r\n");
    QStringList messages;
    ASSERT_TRUE(Objavi(fs, procesi, objava, messages)) << messages.join(u'\n').toStdString();
    const QString izlaz = objava.izlaz + u'/';
    EXPECT_EQ(outputFiles(),
              (QStringList{QStringLiteral("Pomoc.7z"), QStringLiteral("Program.7z"),
                           QStringLiteral("Verzije.txt"), QStringLiteral("Verzije.txt.minisig")}));

    QString izlazAlata;
    EXPECT_TRUE(Minisign({QStringLiteral("-V"), QStringLiteral("-m"), izlaz + QStringLiteral("Verzije.txt"),
                          QStringLiteral("-p"), ključ.javni},
                         {}, &izlazAlata))
        << izlazAlata.toStdString();
    EXPECT_TRUE(izlazAlata.contains(QStringLiteral("timestamp:1796000000\tfile:Verzije.txt")));

    Matrica m;
    ASSERT_TRUE(UčitajMatricu(m, izlaz + QStringLiteral("Verzije.txt"), t.o));
    for (int i = 0; i < 2; ++i) {
        const QString arhiva = izlaz + (i == 0 ? QStringLiteral("Program.7z") : QStringLiteral("Pomoc.7z"));
        EXPECT_EQ(m[i].haš,
                  QString::fromLatin1(
                      QCryptographicHash::hash(t.read(arhiva), QCryptographicHash::Sha256).toHex()));
    }

    t.write(QStringLiteral("Verzije.pub"), ključ.datotekaJavnog());
    const ProvjeraKontrolne provjera = ProvjeriKontrolnuDatoteku(
        t.o, izlaz + QStringLiteral("Verzije.txt"), izlaz + ImePotpisa, t.program() + ImePotpisa, izlaz);
    EXPECT_EQ(provjera.ishod, ProvjeraKontrolne::Ishod::Provjereno) << provjera.poruka.toStdString();
    EXPECT_EQ(provjera.vrijeme, 1796000000);
    QString poruka;
    EXPECT_TRUE(ProvjeriArhivu(t.o, m[0], izlaz + QStringLiteral("Program.7z"), poruka))
        << poruka.toStdString();

    // Publishing again without a key leaves no signature that no longer fits the control file.
    objava.ključ.reset();
    messages.clear();
    ASSERT_TRUE(Objavi(fs, procesi, objava, messages)) << messages.join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(izlaz + ImePotpisa));
}

// The tool itself, with a password-protected key as "minisign -G" makes it: the password comes from
// standard input; a wrong one publishes nothing.
TEST_F(Publish, ToolSignsWithAPasswordProtectedKey)
{
    const QString mapa = t.root(QStringLiteral("kljuc"));
    QDir().mkpath(mapa);
    ASSERT_TRUE(Minisign({QStringLiteral("-G"), QStringLiteral("-p"), mapa + QStringLiteral("/v.pub"),
                          QStringLiteral("-s"), mapa + QStringLiteral("/v.key")},
                         "tajna lozinka\ntajna lozinka\n"));
    release("Program.exe;20;2;1\r\n");
    auto objavi = [&](const QByteArray& lozinka, QString& izlaz) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(LUMIVEX_PROGRAM_DIR "/lumivex-publish"),
                {QStringLiteral("--kljuc"), mapa + QStringLiteral("/v.key"), objava.izdanje, objava.izlaz});
        p.write(lozinka);
        p.closeWriteChannel();
        p.waitForFinished(180000);
        izlaz = QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };

    QString izlaz;
    EXPECT_EQ(objavi("kriva lozinka\n", izlaz), 1);
    EXPECT_TRUE(
        izlaz.contains(QStringLiteral("nije moguće upotrijebiti: pogrešna lozinka ili oštećen ključ")))
        << izlaz.toStdString();
    EXPECT_FALSE(QFileInfo::exists(objava.izlaz));

    ASSERT_EQ(objavi("tajna lozinka\n", izlaz), 0) << izlaz.toStdString();
    EXPECT_TRUE(
        Minisign({QStringLiteral("-V"), QStringLiteral("-m"), objava.izlaz + QStringLiteral("/Verzije.txt"),
                  QStringLiteral("-p"), mapa + QStringLiteral("/v.pub")}));
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
