#include "shell/PokretanjeUPrefiksu.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A Wine prefix with its drive_c, the package's folder with the updater's files, and a recording
// folder dialog.
class Launcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.mkdir(prefiks() + QStringLiteral("/drive_c/windows"));
        t.write(paket() + QStringLiteral("LumivexLiveUpdate20"), "updater 20.2");
        t.write(paket() + QStringLiteral("RegSvr32.exe"), "#!/bin/sh\n");
    }

    QString prefiks() const { return t.root(QStringLiteral("korisnik/.wine")); }
    QString paket() const { return t.root(QStringLiteral("opt/lumivex/")); }
    QString uobičajena() const { return prefiks() + QStringLiteral("/drive_c/Lumivex V20/"); }

    bool Pripremi()
    {
        return PripremiPokretanjeUPrefiksu(t.fs, t.postavke, prefiks(), paket(), odaberi, pokretanje, greška);
    }

    TestOkruzenje t;
    QStringList upiti;  // the folders the dialog started in
    QString odgovor;    // what the user picks; empty cancels
    std::function<QString(const QString&)> odaberi = [this](const QString& početna) {
        upiti << početna;
        return odgovor;
    };
    PokretanjeUPrefiksu pokretanje;
    QString greška;
};

TEST(WinePrefix, IsWinePrefixOrElseDotWineInTheHomeFolder)
{
    EXPECT_EQ(WinePrefiks(QString(), QStringLiteral("/home/ana")), QStringLiteral("/home/ana/.wine"));
    EXPECT_EQ(WinePrefiks(QStringLiteral("/srv/wine/ured/"), QStringLiteral("/home/ana")),
              QStringLiteral("/srv/wine/ured"));
}

TEST_F(Launcher, FirstStartAsksFromTheSuitesUsualFolderAndPutsTheUpdaterThere)
{
    t.mkdir(uobičajena());
    odgovor = prefiks() + QStringLiteral("/drive_c/Lumivex V20");
    ASSERT_TRUE(Pripremi()) << greška.toStdString();
    EXPECT_EQ(upiti, QStringList{uobičajena()});
    EXPECT_EQ(pokretanje.mapaPaketa, uobičajena());
    EXPECT_EQ(pokretanje.program, uobičajena() + QStringLiteral("LumivexLiveUpdate20"));
    EXPECT_EQ(pokretanje.winDir, prefiks() + QStringLiteral("/drive_c/windows"));
    EXPECT_EQ(t.read(uobičajena() + QStringLiteral("LumivexLiveUpdate20")), "updater 20.2");
    EXPECT_EQ(t.read(uobičajena() + QStringLiteral("RegSvr32.exe")), "#!/bin/sh\n");
    EXPECT_TRUE(QFileInfo(uobičajena() + QStringLiteral("LumivexLiveUpdate20")).exists());

    // The choice is kept: the next start asks nothing.
    ASSERT_TRUE(Pripremi());
    EXPECT_EQ(upiti.size(), 1);
    EXPECT_EQ(pokretanje.mapaPaketa, uobičajena());
}

TEST_F(Launcher, WithoutTheUsualFolderTheDialogStartsInDriveC)
{
    const QString druga = prefiks() + QStringLiteral("/drive_c/Program Files/Lumivex čćž/");
    t.mkdir(druga);
    odgovor = druga;
    ASSERT_TRUE(Pripremi()) << greška.toStdString();
    EXPECT_EQ(upiti, QStringList{prefiks() + QStringLiteral("/drive_c/")});
    EXPECT_EQ(pokretanje.program, druga + QStringLiteral("LumivexLiveUpdate20"));
}

TEST_F(Launcher, CancelledChoiceStartsNothingAndSavesNothing)
{
    ASSERT_FALSE(Pripremi());
    EXPECT_EQ(greška, QString());
    EXPECT_EQ(t.postavke.read(QStringLiteral("Wine"), QStringLiteral("MapaPaketa"), QStringLiteral("-")),
              QStringLiteral("-"));
    ASSERT_FALSE(Pripremi());
    EXPECT_EQ(upiti.size(), 2);
}

TEST_F(Launcher, ChoiceIsAskedAgainForAnotherPrefixOrAVanishedFolder)
{
    t.mkdir(uobičajena());
    odgovor = uobičajena();
    ASSERT_TRUE(Pripremi());
    t.postavke.write(QStringLiteral("Wine"), QStringLiteral("Prefiks"), QStringLiteral("/drugi/prefiks"));
    ASSERT_TRUE(Pripremi());
    EXPECT_EQ(upiti.size(), 2);

    QDir(uobičajena()).removeRecursively();
    const QString nova = prefiks() + QStringLiteral("/drive_c/Lumivex/");
    t.mkdir(nova);
    odgovor = nova;
    ASSERT_TRUE(Pripremi());
    EXPECT_EQ(upiti.size(), 3);
    EXPECT_EQ(pokretanje.mapaPaketa, nova);
}

TEST_F(Launcher, OlderUpdaterIsReplacedAndTheSameOneLeftAlone)
{
    t.mkdir(uobičajena());
    odgovor = uobičajena();
    t.write(uobičajena() + QStringLiteral("LumivexLiveUpdate20"), "updater 20.1");
    t.write(uobičajena() + QStringLiteral("RegSvr32.exe"), "#!/bin/sh\n");
    // The stand-in is the same already: a copy over it would fail.
    t.fs.failPath(uobičajena() + QStringLiteral("RegSvr32.exe"), QStringLiteral("Pristup je odbijen."),
                  {QStringLiteral("copyReplacing")});
    ASSERT_TRUE(Pripremi()) << greška.toStdString();
    EXPECT_EQ(t.read(uobičajena() + QStringLiteral("LumivexLiveUpdate20")), "updater 20.2");
}

TEST_F(Launcher, FailuresSayWhatIsWrong)
{
    t.mkdir(uobičajena());
    odgovor = uobičajena();
    t.fs.failPath(uobičajena() + QStringLiteral("LumivexLiveUpdate20"), QStringLiteral("Pristup je odbijen."),
                  {QStringLiteral("copyReplacing")});
    EXPECT_FALSE(Pripremi());
    EXPECT_EQ(greška, QStringLiteral("Program za ažuriranje se ne može postaviti u mapu ") + uobičajena() +
                          QStringLiteral(": LumivexLiveUpdate20 - Pristup je odbijen."));

    QDir(prefiks()).removeRecursively();
    EXPECT_FALSE(Pripremi());
    EXPECT_EQ(greška, QStringLiteral("Wine prefiks ") + prefiks() +
                          QStringLiteral(" ne postoji ili nije pripremljen (nema mape drive_c). Pokrenite "
                                         "programe paketa jednom pod Wine-om ili naredbu wineboot, pa "
                                         "pokušajte ponovno."));
}

}  // namespace
