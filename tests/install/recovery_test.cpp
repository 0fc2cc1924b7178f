#include "install/Dnevnik.h"
#include "install/Instalacija.h"
#include "install/Oporavak.h"

#include "install/PripremaVerzije.h"
#include "platform/LocalFileSystem.h"
#include "support/QtPrinters.h"
#include "support/RecordingProcessRunner.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sys/wait.h>
#include <unistd.h>

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

// The hidden files of the file system's unfinished writes as a kill leaves them: a child process
// starts writing each target and dies without a word.
void UbijenTijekomPisanja(const QStringList& ciljevi)
{
    const pid_t dijete = ::fork();
    ASSERT_GE(dijete, 0);
    if (dijete == 0) {
        LocalFileSystem fs;
        for (const QString& cilj : ciljevi) {
            FsResult otvoreno;
            std::unique_ptr<FileWriter> pisač = fs.replaceFile(cilj, otvoreno);
            if (!pisač || !pisač->write("pola"))
                ::_exit(1);
            pisač.release();
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(dijete, &status, 0), dijete);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

QStringList Skrivene(const QString& mapa)
{
    QStringList imena =
        QDir(mapa).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(QRegularExpression("^\\."));
    imena.sort();
    return imena;
}

// Files of the user's that only look alike, and one of the updater's own in a subfolder, which is
// no folder of the installation.
const QStringList kTuđe{".bashrc",
                        ".Verzije.txt.Xa3k9Q",
                        ".LumivexLiveUpdate20-privremena-Xa3k9Q",
                        ".Moj.txt.LumivexLiveUpdate20-privremena-",
                        ".Moj.txt.LumivexLiveUpdate20-privremena-abc def",
                        ".Moj.txt.LumivexLiveUpdate20-privremena-abc~"};

void NapišiTuđe(TestOkruzenje& t, const QString& mapa)
{
    for (const QString& ime : kTuđe) t.write(mapa + ime, "korisnikovo");
    t.write(mapa + "Verzije.txt.LumivexLiveUpdate20-privremena-Xa3k9Q", "korisnikovo");
    t.mkdir(mapa + ".A.exe.LumivexLiveUpdate20-privremena-Xa3k9Q/");
    t.write(mapa + ".A.exe.LumivexLiveUpdate20-privremena-Xa3k9Q/.B.LumivexLiveUpdate20-privremena-X", "k");
}

// A kill while the control file is copied in, the journal written, an archive fetched or a help file
// written leaves the file system's hidden files; the next start removes them, and only them.
TEST_F(Recovery, StartRemovesTheTemporaryFilesAKillLeftAndNothingElse)
{
    t.mkdir(t.stanje.PutanjaHelp);
    UbijenTijekomPisanja({P() + "Verzije.txt", B() + ImeDnevnika, t.stanje.PutanjaUpdate + "Program.7z",
                          t.stanje.PutanjaHelp + "Pomoc.chm"});
    for (const QString& mapa : {P(), B(), t.stanje.PutanjaUpdate, t.stanje.PutanjaHelp})
        ASSERT_EQ(Skrivene(mapa).size(), 1) << mapa.toStdString();
    const QString ostavljena = P() + Skrivene(P()).value(0);
    NapišiTuđe(t, P());

    EXPECT_TRUE(OporaviPrekinutuInstalaciju(o));

    for (const QString& mapa : {B(), t.stanje.PutanjaUpdate, t.stanje.PutanjaHelp})
        EXPECT_EQ(Skrivene(mapa), QStringList()) << mapa.toStdString();
    QStringList tuđe = kTuđe;
    tuđe.sort();
    EXPECT_EQ(Skrivene(P()), tuđe);
    EXPECT_TRUE(t.exists(P() + "Verzije.txt.LumivexLiveUpdate20-privremena-Xa3k9Q"));
    EXPECT_TRUE(
        t.exists(P() + ".A.exe.LumivexLiveUpdate20-privremena-Xa3k9Q/.B.LumivexLiveUpdate20-privremena-X"));
    EXPECT_TRUE(oporavak().contains("OporavakInstalacije - Obrisana privremena datoteka " + ostavljena))
        << oporavak().join(u'\n').toStdString();
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

// The clean-up after an installation removes them too, so that a kill during one installation's copy
// of the control file leaves nothing after the next.
TEST_F(Recovery, CleanUpAfterAnInstallationRemovesTheTemporaryFilesAKillLeft)
{
    dnevnik(kZaglavlje + zapis('1', "Verzije.txt", P()) + "POTVRĐENO\r\n");
    t.mkdir(t.stanje.PutanjaSkripti);
    UbijenTijekomPisanja({P() + "Verzije.txt", t.stanje.PutanjaSkripti + "Skripta.enc"});
    NapišiTuđe(t, P());

    EXPECT_TRUE(DovršiPrekinutuInstalaciju(o));

    QStringList tuđe = kTuđe;
    tuđe.sort();
    EXPECT_EQ(Skrivene(P()), tuđe);
    EXPECT_EQ(Skrivene(t.stanje.PutanjaSkripti), QStringList());
    EXPECT_FALSE(QDir(B()).exists());
}

}  // namespace
