#include "install/PripremaVerzije.h"
#include "support/HttpServer.h"
#include "support/TestOkruzenje.h"

#include <httplib.h>

#include <gtest/gtest.h>
#include <QDir>

namespace {

using Icon = Dialogs::Icon;

const QByteArray Installed = "A.exe;20;1;0;100;200;\r\nB.dll;20;1;0;50;60;\r\n";
const QByteArray Published = "A.exe;20;2;0;110;210;\r\nB.dll;20;1;0;50;60;\r\n";

class Preparation : public ::testing::Test {
protected:
    Preparation()
    {
        t.write(QStringLiteral("Verzije.txt"), Installed);
        t.write(QStringLiteral("A.exe"), "a");
        t.write(QStringLiteral("B.dll"), "b");
        t.write(server.folder() + QStringLiteral("/Verzije.txt"), Published);
        t.postavke.write(QStringLiteral("Settings"), QStringLiteral("PrimarniServer"), QString());
        t.stanje.PrimarniServer = server.baseUrl();
        t.stanje.SekundarniServer = HttpServer::unreachableBaseUrl();
    }
    QStringList listed() const
    {
        QStringList names;
        for (const RedMreže& r : t.model.redovi()) names << r.polja[0];
        return names;
    }
    QString network(const QString& name = QString()) const { return t.root(QStringLiteral("mreža/")) + name; }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("server"))};
};

TEST_F(Preparation, FromTheServerListsWhatIsNewAndEnablesTheButton)
{
    EXPECT_TRUE(PripremiVerzijaTXT(t.o));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("A.exe")});
    EXPECT_TRUE(t.model.cmdDownloadAndUpdateOmogućen());
    EXPECT_EQ(t.read(QStringLiteral("Update/Verzije.txt")), Published);
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/download/Verzija20/Verzije.txt")});
}

TEST_F(Preparation, FirstStartCreatesTheUpdateFolderAndTheDownloadLandsInIt)
{
    QDir(t.program() + QStringLiteral("Update")).removeRecursively();
    EXPECT_TRUE(PripremiVerzijaTXT(t.o));
    EXPECT_EQ(t.read(QStringLiteral("Update/Verzije.txt")), Published);
    EXPECT_TRUE(t.dijalozi.boxes().empty());  // the log found its folder
}

TEST_F(Preparation, NothingToUpdateDisablesTheButton)
{
    t.write(server.folder() + QStringLiteral("/Verzije.txt"), Installed);
    t.model.omogućiCmdDownloadAndUpdate(true);
    EXPECT_FALSE(PripremiVerzijaTXT(t.o));
    EXPECT_FALSE(t.model.cmdDownloadAndUpdateOmogućen());
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(t.model.panel1(), QStringLiteral("Nema novih verzija Lumi-vex programa!"));
}

TEST_F(Preparation, UnreachableServerStillComparesAnEarlierControlFile)
{
    t.model.postaviOptLokacija(2);  // the secondary server, where nothing listens
    t.write(QStringLiteral("Update/Verzije.txt"), Published);
    EXPECT_TRUE(PripremiVerzijaTXT(t.o));

    const QString text = QStringLiteral(
        "Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu sa "
        "internetom i pokušajte ponovno! Prekida se ažuriranje!");
    ASSERT_EQ(t.dijalozi.boxes().size(), 2u);
    EXPECT_TRUE(t.dijalozi.boxes()[0].text.startsWith(QStringLiteral("Greška: ")));  // the transfer's own box
    EXPECT_EQ(t.dijalozi.boxes()[1].text, text);
    EXPECT_EQ(t.dijalozi.boxes()[1].icon, Icon::Exclamation);
    EXPECT_TRUE(t.log().contains(QStringLiteral("PripremiVerzijaTXT- ") + text));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("A.exe")});
    EXPECT_TRUE(t.model.cmdDownloadAndUpdateOmogućen());
}

// A control file without end is cut at its ceiling; the check goes on with the one fetched before.
TEST_F(Preparation, EndlessControlFileIsToldAndTheEarlierOneIsCompared)
{
    server.handle(QStringLiteral("/download/Verzija20/Verzije.txt"), [](const auto&, auto& r) {
        r.set_chunked_content_provider("text/plain", [](size_t offset, auto& sink) {
            static const std::string red = "A.exe;20;9;0;110;210;\r\n";
            if (offset >= 64 * 1024 * 1024) {
                sink.done();
                return true;
            }
            return sink.write(red.data(), red.size());
        });
    });
    t.write(QStringLiteral("Update/Verzije.txt"), Published);

    EXPECT_TRUE(PripremiVerzijaTXT(t.o));

    EXPECT_EQ(
        t.dijalozi.texts(),
        (QStringList{QStringLiteral("Greška: Poslužitelj šalje više podataka nego što je očekivano "
                                    "(najviše 262144 bajtova)."),
                     QStringLiteral("Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu "
                                    "sa internetom i pokušajte ponovno! Prekida se ažuriranje!")}));
    EXPECT_EQ(t.read(QStringLiteral("Update/Verzije.txt")), Published);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("A.exe")});
}

TEST_F(Preparation, MissingInstalledControlFileGivesThreeBoxesAndNoDownload)
{
    QFile::remove(t.program() + QStringLiteral("Verzije.txt"));
    t.model.omogućiCmdDownloadAndUpdate(true);
    EXPECT_FALSE(PripremiVerzijaTXT(t.o));

    const QString stara = t.program() + QStringLiteral("Verzije.txt");
    const QStringList texts = t.dijalozi.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0],
              QStringLiteral("Ne postoji datoteka ") + stara +
                  QStringLiteral(" Program za automatsko ažuriranje novih programa mora prestati sa "
                                 "ažuriranjem. Molimo da o ovoj poruci izvjestite Lumivex tim za podršku."));
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Greška u otvaranju datoteke: ") + stara));
    EXPECT_EQ(texts[2],
              QStringLiteral("PripremiVerzijaTXT - Desila se greška u čitanju zapisa u matricu. Prekida se "
                             "ažuriranje!"));
    for (const auto& box : t.dijalozi.boxes()) EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(t.model.cmdDownloadAndUpdateOmogućen());  // the button keeps its state
}

TEST_F(Preparation, NetworkSourceWithoutEarlierCopyLogsTheFailedDeleteAndCopies)
{
    t.write(network(QStringLiteral("Verzije.txt")), Published);
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, network());
    EXPECT_TRUE(PripremiVerzijaTXT(t.o));

    const QStringList deleteLines = t.log().filter(QStringLiteral("KI-PripremiVerzijaTXT- "));
    EXPECT_EQ(deleteLines, QStringList{QStringLiteral("KI-PripremiVerzijaTXT- Greška u brisanju datoteke ") +
                                       t.program() + QStringLiteral("Update/Verzije.txt")});
    EXPECT_EQ(t.read(QStringLiteral("Update/Verzije.txt")), Published);
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(Preparation, NetworkFolderWithoutControlFile)
{
    QDir().mkpath(network());
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, network());
    EXPECT_FALSE(PripremiVerzijaTXT(t.o));
    const QString text = QStringLiteral("Ne postoji kontrolna datoteka na mrežnoj lokaciji: ") + network() +
                         QStringLiteral(" Prekida se ažuriranje!");
    ASSERT_GE(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].text, text);
    EXPECT_TRUE(t.log().contains(QStringLiteral("PripremiVerzijaTXT-  ") + text));
}

TEST_F(Preparation, NetworkCopyThatFailsIsReported)
{
    t.write(network(QStringLiteral("Verzije.txt")), Published);
    t.model.postaviOptLokacija(1);
    t.model.postaviTxtLokacija(0, network());
    t.fs.failPath(t.program() + QStringLiteral("Update/Verzije.txt"), QStringLiteral("Pristup je odbijen."),
                  {QStringLiteral("copyReplacing")});
    EXPECT_FALSE(PripremiVerzijaTXT(t.o));
    const QStringList texts = t.dijalozi.texts();
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[0],
              QStringLiteral("Nije moguće učitati kontrolnu datoteku sa mrežne lokacije! Provjerite i "
                             "pokušajte ponovno! Prekida se ažuriranje!"));
    EXPECT_EQ(texts[1], QStringLiteral("Podaci o novim verzijama na postoje na lokaciji: ") + network());
    EXPECT_EQ(t.dijalozi.boxes()[1].icon, Icon::None);
}

struct FolderCase {
    const char* name;
    QString executable;
    QString computer;
    QString winDir;
    QString program;
    QString help;
};

TEST(Folders, LayoutFollowsTheExecutableTheComputerAndWinDir)
{
    const FolderCase cases[] = {
        {"plain", "/opt/lumivex", "URED-3", "", "/opt/lumivex/", "/opt/lumivex/Help/"},
        {"trailingSlash", "/opt/lumivex/", "URED-3", "", "/opt/lumivex/", "/opt/lumivex/Help/"},
        {"rootOfTheTree", "/", "URED-3", "", "/", "/Help/"},
        {"winDir", "/opt/lumivex", "URED-3", "/srv/windows/", "/opt/lumivex/", "/srv/windows/Help/"},
        {"developmentComputer", "/home/dev/build", "ORVEL-TOSH", "",
         "D:/Lumivex software/Lumivex knjigovodstvo V20/",
         "D:/Lumivex software/Lumivex knjigovodstvo V20/Help/"},
        {"otherCaseIsNotTheDevelopmentComputer", "/x", "orvel-tosh", "", "/x/", "/x/Help/"},
    };
    for (const FolderCase& c : cases) {
        TestOkruzenje t;
        t.računalo.folder = c.executable;
        t.računalo.name = c.computer;
        if (!c.winDir.isEmpty())
            t.računalo.env[QStringLiteral("WinDir")] = c.winDir;
        PostaviPutanje(t.o);
        EXPECT_EQ(t.stanje.PutanjaPrograma, c.program) << c.name;
        EXPECT_EQ(t.stanje.PutanjaUpdate, c.program + QStringLiteral("Update/")) << c.name;
        EXPECT_EQ(t.stanje.PutanjaBackup, c.program + QStringLiteral("UpdateBackup/")) << c.name;
        EXPECT_EQ(t.stanje.PutanjaSkripti, c.program + QStringLiteral("Skrite za izmjenu baze/")) << c.name;
        EXPECT_EQ(t.stanje.PutanjaHelp, c.help) << c.name;
    }
}

TEST(Folders, DevelopmentComputerStillLogsBesideTheExecutable)
{
    TestOkruzenje t;
    t.računalo.name = QStringLiteral("ORVEL-TOSH");
    PripremiVerzijaTXT(t.o);
    EXPECT_EQ(t.stanje.PutanjaPrograma, QStringLiteral("D:/Lumivex software/Lumivex knjigovodstvo V20/"));
    EXPECT_TRUE(t.exists(QStringLiteral("Update/Update.log")));
}

TEST(ComputerName, FailedQueryGivesTheEmptyString)
{
    TestOkruzenje t;
    EXPECT_EQ(ImeRačunala(t.računalo), QStringLiteral("RACUNALO-1"));
    t.računalo.nameFails = true;
    EXPECT_EQ(ImeRačunala(t.računalo), QString());
}

}  // namespace
