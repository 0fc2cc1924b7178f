#include "install/Dnevnik.h"
#include "install/Instalacija.h"
#include "install/Oporavak.h"

#include "install/PripremaVerzije.h"
#include "support/QtPrinters.h"
#include "support/RecordingProcessRunner.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

namespace {

using Icon = Dialogs::Icon;

const QString kPoruka = QStringLiteral(
    "Prethodna instalacija novih verzija je bila prekinuta i poništena: vraćene su stare verzije "
    "programa. Nove verzije potrebno je ponovo instalirati.");
const QString kZauzeto = QStringLiteral("Datoteku koristi drugi program.");

// A program folder after an installation stopped part-way: the journal and the backup folder as the
// installation left them, and a registration tool beside the program that does nothing.
class Recovery : public ::testing::Test {
protected:
    Recovery()
    {
        procesi.hide(QStringLiteral("RegSvr32.exe"));
        const QString alat = t.program() + QStringLiteral("RegSvr32.exe");
        t.write(alat, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(alat, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        PostaviPutanje(o);
        t.mkdir(t.stanje.PutanjaBackup);
    }

    void dnevnik(const QByteArray& tekst) { t.write(t.stanje.PutanjaBackup + ImeDnevnika, tekst); }
    QByteArray zapis(char stara, const QString& ime, const QString& mapa)
    {
        return QByteArray(1, stara) + ';' + ime.toUtf8() + ';' + mapa.toUtf8() + "\r\n";
    }
    QString P() const { return t.stanje.PutanjaPrograma; }
    QString B() const { return t.stanje.PutanjaBackup; }
    QStringList oporavak() const { return t.log().filter(QStringLiteral("OporavakInstalacije")); }

    TestOkruzenje t;
    RecordingProcessRunner procesi{t.procesi};
    Okruzenje o{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, procesi,
                t.http, t.prozori,  t.registar, t.model,    t.stanje};
};

const QByteArray kZaglavlje = "LumivexLiveUpdate20 dnevnik instalacije\r\n";

// Stopped after the component was replaced and while the help file was in the backup folder: every
// record goes back, the new program without an old one goes, the component is registered again.
TEST_F(Recovery, UncommittedJournalPutsTheOldInstallationBackAndTellsTheUser)
{
    const QString help = t.stanje.PutanjaHelp;
    dnevnik(kZaglavlje + zapis('1', "A.exe", P()) + zapis('1', "B.dll", P()) + zapis('0', "Novi.exe", P()) +
            zapis('1', "Pomoc.chm", help) + zapis('1', "Verzije.txt", P()));
    t.write(B() + "A.exe", "staro A");
    t.write(P() + "A.exe", "novo A");
    t.write(B() + "B.dll", "staro B");
    t.write(P() + "B.dll", "novo B");
    t.write(P() + "Novi.exe", "novo N");
    t.write(B() + "Pomoc.chm", "staro H");
    t.write(P() + "Verzije.txt", "stara kontrolna");

    EXPECT_TRUE(OporaviPrekinutuInstalaciju(o));

    EXPECT_EQ(t.read("A.exe"), "staro A");
    EXPECT_EQ(t.read("B.dll"), "staro B");
    EXPECT_FALSE(t.exists("Novi.exe"));
    EXPECT_EQ(t.read(help + "Pomoc.chm"), "staro H");
    EXPECT_EQ(t.read("Verzije.txt"), "stara kontrolna");
    EXPECT_FALSE(QDir(B()).exists());
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Information);
    EXPECT_EQ(t.dijalozi.boxes()[0].caption, NaslovPrograma);
    EXPECT_EQ(t.dijalozi.texts(), QStringList{kPoruka});
    EXPECT_EQ(oporavak(), QStringList({"OporavakInstalacije - početak. Zapisa u dnevniku: 5",
                                       "OporavakInstalacije - Vraćanje iz backupa: Pomoc.chm",
                                       "OporavakInstalacije - Brisanje nove datoteke: Novi.exe",
                                       "OporavakInstalacije - Vraćanje iz backupa: B.dll",
                                       "OporavakInstalacije - Registracija stare komponente: B.dll",
                                       "OporavakInstalacije - Vraćanje iz backupa: A.exe",
                                       "OporavakInstalacije - Brisanje direktorije " + B(),
                                       "OporavakInstalacije - Kraj"}));
    // The new component is unregistered before the old one comes back and is registered.
    ASSERT_EQ(procesi.calls().size(), 2u);
    EXPECT_EQ(procesi.calls()[0].arguments, QStringList({P() + "B.dll", "/u", "/s"}));
    EXPECT_EQ(procesi.calls()[1].arguments, QStringList({P() + "B.dll", "/s"}));

    // Nothing is left to recover at the next start.
    t.dijalozi.clear();
    EXPECT_TRUE(OporaviPrekinutuInstalaciju(o));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

// A committed journal means the new installation stands: only the clean-up is finished, silently.
TEST_F(Recovery, CommittedJournalOnlyFinishesTheCleanUp)
{
    dnevnik(kZaglavlje + zapis('1', "A.exe", P()) + zapis('1', "Verzije.txt", P()) + "POTVRĐENO\r\n");
    t.write(B() + "A.exe", "staro A");
    t.write(P() + "A.exe", "novo A");
    t.write(t.stanje.PutanjaUpdate + "Paket.7z", "7z");

    EXPECT_TRUE(OporaviPrekinutuInstalaciju(o));

    EXPECT_EQ(t.read("A.exe"), "novo A");
    EXPECT_FALSE(QDir(B()).exists());
    EXPECT_FALSE(t.exists(t.stanje.PutanjaUpdate + "Paket.7z"));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(oporavak(), QStringList{"OporavakInstalacije - Dovršavanje čišćenja završene instalacije"});
}

struct JournalCase {
    const char* name;
    QByteArray text;
    bool readable;
    bool committed;
    int records;
};

const JournalCase kJournalCases[] = {
    {"HeaderOnly", kZaglavlje, true, false, 0},
    {"CommittedWithoutRecords", kZaglavlje + "POTVRĐENO\r\n", true, true, 0},
    // A power cut may cut the mark short.
    {"MarkCutShort", kZaglavlje + "1;A.exe;/p/\r\nPOTV", true, false, 1},
    {"LastRecordWithoutLineEnd", kZaglavlje + "0;A.exe;/p/", true, false, 1},
    {"MarkNotLast", kZaglavlje + "POTVRĐENO\r\n1;A.exe;/p/\r\n", false, false, 0},
    {"NoHeader", "1;A.exe;/p/\r\n", false, false, 0},
    {"EmptyFile", "", false, false, 0},
    {"RecordWithoutFolder", kZaglavlje + "1;A.exe;\r\n", false, false, 0},
    {"RecordWithBadFlag", kZaglavlje + "2;A.exe;/p/\r\n", false, false, 0},
};

class JournalFormat : public Recovery, public ::testing::WithParamInterface<JournalCase> {};

TEST_P(JournalFormat, ReadsWhatItWrites)
{
    const JournalCase& c = GetParam();
    dnevnik(c.text);
    DnevnikInstalacije d;
    const FsResult r = PročitajDnevnik(o, d);
    EXPECT_EQ(bool(r), c.readable) << r.error.toStdString();
    if (!c.readable)
        return;
    EXPECT_EQ(d.potvrđen, c.committed);
    EXPECT_EQ(d.zapisi.size(), c.records);
}

INSTANTIATE_TEST_SUITE_P(Table, JournalFormat, ::testing::ValuesIn(kJournalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Recovery, JournalRoundTripsFoldersWithBlanksAndDiacritics)
{
    DnevnikInstalacije d;
    d.zapisi = {{"Knjige20.exe", P(), true}, {"Skripta.enc", t.stanje.PutanjaSkripti, false}};
    ASSERT_TRUE(ZapišiDnevnik(o, d));
    ASSERT_TRUE(PotvrdiDnevnik(o));
    DnevnikInstalacije pročitan;
    ASSERT_TRUE(PročitajDnevnik(o, pročitan));
    ASSERT_EQ(pročitan.zapisi.size(), 2);
    EXPECT_EQ(pročitan.zapisi[1].putanja(), t.stanje.PutanjaSkripti + "Skripta.enc");
    EXPECT_FALSE(pročitan.zapisi[1].staraPostoji);
    EXPECT_TRUE(pročitan.zapisi[0].staraPostoji);
    EXPECT_TRUE(pročitan.potvrđen);
    // Nothing but the journal is left in its folder: no temporary file.
    EXPECT_EQ(QDir(B()).entryList(QDir::Files | QDir::Hidden), QStringList{ImeDnevnika});
}

// A journal that cannot be read is left as it is, and the installation will not empty its folder.
TEST_F(Recovery, UnreadableJournalIsKeptAndBlocksTheNextInstallation)
{
    dnevnik("nešto drugo\r\n");
    t.write(B() + "A.exe", "staro A");

    EXPECT_FALSE(OporaviPrekinutuInstalaciju(o));
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Critical);
    EXPECT_TRUE(t.dijalozi.texts()[0].startsWith("Nije moguće pročitati dnevnik prekinute instalacije: " +
                                                 B() + ImeDnevnika + "\r\nPoruka o grešci je: "));

    t.dijalozi.clear();
    EXPECT_FALSE(UpdatePrograma(o));
    EXPECT_EQ(t.read(B() + "A.exe"), "staro A");
    ASSERT_EQ(t.dijalozi.boxes().size(), 2u);
    EXPECT_EQ(t.dijalozi.boxes()[1].icon, Icon::Exclamation);
    EXPECT_EQ(
        t.dijalozi.texts()[1],
        QStringLiteral("Prethodna prekinuta instalacija nije poništena, a UpdateBackup direktorija čuva "
                       "stare verzije programa. Nova instalacija nije moguća. Kontaktirajte Lumivex!"));
}

// A step that fails keeps the journal: the user is told, and the next start tries again and succeeds.
TEST_F(Recovery, FailedStepKeepsTheJournalForTheNextStart)
{
    dnevnik(kZaglavlje + zapis('1', "A.exe", P()) + zapis('0', "Novi.exe", P()));
    t.write(B() + "A.exe", "staro A");
    t.write(P() + "A.exe", "novo A");
    t.write(P() + "Novi.exe", "novo N");
    t.fs.failPath(B() + "A.exe", kZauzeto, {QStringLiteral("move")});

    EXPECT_FALSE(OporaviPrekinutuInstalaciju(o));
    EXPECT_FALSE(t.exists("Novi.exe"));
    EXPECT_TRUE(t.exists(B() + ImeDnevnika));
    EXPECT_EQ(t.read(B() + "A.exe"), "staro A");
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Icon::Critical);
    EXPECT_EQ(t.dijalozi.texts()[0],
              QStringLiteral("Prethodna instalacija novih verzija je prekinuta, a stare verzije nije bilo "
                             "moguće vratiti u potpunosti. Program će to pokušati ponovo pri sljedećem "
                             "pokretanju."));
    EXPECT_FALSE(
        t.log().filter("OporavakInstalacije - Greška u vraćanju iz backupa: " + P() + "A.exe").isEmpty());

    t.fs.heal();
    t.dijalozi.clear();
    EXPECT_TRUE(OporaviPrekinutuInstalaciju(o));
    EXPECT_EQ(t.read("A.exe"), "staro A");
    EXPECT_EQ(t.dijalozi.texts(), QStringList{kPoruka});
    EXPECT_FALSE(QDir(B()).exists());
}

// An installation that finds an uncommitted journal undoes it first instead of emptying the backup
// folder, which holds the only copy of the old files; then it installs.
TEST_F(Recovery, InstallationUndoesAnUncommittedJournalBeforeEmptyingTheBackup)
{
    dnevnik(kZaglavlje + zapis('1', "A.exe", P()) + zapis('1', "Verzije.txt", P()));
    t.write(B() + "A.exe", "staro A");
    t.write(P() + "A.exe", "polunovo A");
    t.write(P() + "Verzije.txt", "A.exe;20;1;0;7;7;\r\n");
    t.write(t.stanje.PutanjaUpdate + "A.exe", "novo A");
    t.write(t.stanje.PutanjaUpdate + "Verzije.txt", "A.exe;20;2;0;6;6;\r\n");
    Zapis& z = t.stanje.NoveVerzije[0];
    z.polja = {"A.exe", "20", "2", "0", "6", "6"};
    z.zastavica = 1;
    // The control file is prepared again from a network folder after the installation.
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, t.root("mreža/"));
    t.write(t.root("mreža/Verzije.txt"), "A.exe;20;2;0;6;6;\r\n");

    ASSERT_TRUE(UpdatePrograma(o)) << t.dijalozi.texts().join(u'\n').toStdString();

    EXPECT_EQ(t.dijalozi.texts().value(0), kPoruka);
    EXPECT_EQ(t.read("A.exe"), "novo A");
    const QStringList log = t.log();
    EXPECT_LT(log.indexOf("OporavakInstalacije - Vraćanje iz backupa: A.exe"),
              log.indexOf("UpdatePrograma - Backup programa: A.exe"));
    EXPECT_FALSE(QDir(B()).exists());
}

}  // namespace
