#include "distribution/Distribucija.h"
#include "install/PripremaVerzije.h"
#include "shell/Naredbe.h"
#include "shell/Pokretanje.h"
#include "support/DemoPosluzitelj.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>

namespace {

// The README's demo without its window: the demo scripts prepare a release, a local server and an
// older installation, and the updater's procedures then run on it as the window's buttons run them.
class DemoTest : public ::testing::Test {
protected:
    // The demo is prepared in the fixture's root, so its program and settings folders are the ones the
    // fixture's ports already use.
    void SetUp() override
    {
        ASSERT_TRUE(t.dir.isValid());
        demo = t.dir.path();
        ASSERT_TRUE(poslužitelj.pripremi(demo));
        ASSERT_TRUE(poslužitelj.posluži());
        // The demo's release is signed at the real time, which may lie days after the virtual clock's
        // day: a release signed ahead of the clock is refused.
        t.sat.set(QDateTime::currentDateTime());
    }

    QByteArray read(const QString& relative) const { return t.read(t.root(relative)); }

    QStringList gridNames() const
    {
        QStringList names;
        for (const RedMreže& red : model.redovi()) names << red.polja[0];
        return names;
    }

    TestOkruzenje t;
    DemoPosluzitelj poslužitelj;
    QString demo;
    Okruzenje& o = t.o;
    ProzorModel& model = t.model;
    ScriptedDialogs& dijalozi = t.dijalozi;
};

TEST_F(DemoTest, StartUpFindsTheDemoUpdatesOnTheLocalServer)
{
    UčitajProzor(o);

    EXPECT_EQ(gridNames(),
              (QStringList{"LumiKnjigovodstvo20.exe", "LumiMaloprodaja20.exe", "LumiIzvjestaji20.dll",
                           "LumiIzmjBaza20.dll", "Izmjena_2026_12.enc", "LumivexPomoc.chm"}));
    EXPECT_TRUE(model.cmdDownloadAndUpdateOmogućen());
    EXPECT_TRUE(dijalozi.boxes().empty()) << dijalozi.texts().join(u'\n').toStdString();
    EXPECT_TRUE(read(QStringLiteral("program/LumiKnjigovodstvo20.exe"))
                    .startsWith("Lumivex demo LumiKnjigovodstvo20.exe 20.1.7\n"));
}

// The button "Download programa i instalacija" on the demo: everything is fetched, the user says yes,
// and the installation ends with the release's files in place and nothing left over.
TEST_F(DemoTest, OneClickInstallsEveryDemoUpdate)
{
    UčitajProzor(o);
    dijalozi.answer({Dialogs::Answer::Yes});
    cmdDownloadAndUpdate_KlikUzZaštitu(o);

    ASSERT_FALSE(dijalozi.boxes().empty());
    EXPECT_EQ(dijalozi.boxes().back().text, QStringLiteral("Uspješno instalirani novi programi!"))
        << dijalozi.texts().join(u'\n').toStdString();
    const struct {
        const char* installed;
        const char* released;
    } files[] = {
        {"program/LumiKnjigovodstvo20.exe", "izdanje/LumiKnjigovodstvo20.exe"},
        {"program/LumiMaloprodaja20.exe", "izdanje/LumiMaloprodaja20.exe"},
        {"program/LumiFakturiranje20.exe", "izdanje/LumiFakturiranje20.exe"},
        {"program/LumiIzvjestaji20.dll", "izdanje/LumiIzvjestaji20.dll"},
        {"program/LumiIzmjBaza20.dll", "izdanje/LumiIzmjBaza20.dll"},
        {"program/Skrite za izmjenu baze/Izmjena_2026_12.enc", "izdanje/Izmjena_2026_12.enc"},
        {"program/Help/LumivexPomoc.chm", "izdanje/LumivexPomoc.chm"},
        {"program/Verzije.txt", "posluzitelj/download/Verzija20/Verzije.txt"},
        {"program/Verzije.txt.minisig", "posluzitelj/download/Verzija20/Verzije.txt.minisig"},
    };
    for (const auto& f : files) {
        const QByteArray expected = read(QString::fromUtf8(f.released));
        ASSERT_FALSE(expected.isEmpty()) << f.released;
        EXPECT_TRUE(read(QString::fromUtf8(f.installed)) == expected) << f.installed;
    }
    // The demo release is signed and the demo installation trusts its key: every step was verified.
    EXPECT_FALSE(t.log()
                     .filter(QStringLiteral("Provjera izdanja - Izdanje "))
                     .filter(QStringLiteral(" je potpisano ključem "))
                     .isEmpty());
    EXPECT_EQ(t.log().filter(QStringLiteral("Provjera izdanja - SHA-256 sažetak arhive ")).size(), 6);
    EXPECT_FALSE(t.exists(QStringLiteral("UpdateBackup")));
    EXPECT_TRUE(model.redovi().isEmpty());
    EXPECT_FALSE(model.cmdDownloadAndUpdateOmogućen());
    EXPECT_TRUE(model.dugeNaredbeOmogućene());
    const QByteArray registry = read(QStringLiteral("config/Lumivex/registry.ini"));
    EXPECT_TRUE(registry.contains("BitMapMagnifDenominator") && registry.contains("BitMapMagnifNumerator"))
        << registry.toStdString();
}

// One office computer fills the shared folder from the demo server; another, pointed at that folder,
// finds the same updates there.
TEST_F(DemoTest, OfficeCopyFillsTheSharedFolderThatAnotherComputerUpdatesFrom)
{
    UčitajProzor(o);
    const QString dijeljeno = demo + QStringLiteral("/dijeljeno/");
    ASSERT_EQ(model.txtLokacija(1), dijeljeno);

    dijalozi.answer({Dialogs::Answer::Yes});
    PrijenosNaLokaciju(o, true);

    // Every file of the release travels as a 7-Zip archive named after it.
    const QStringList arhive{"LumivexLiveUpdate20.7z", "LumiKnjigovodstvo20.7z", "LumiMaloprodaja20.7z",
                             "LumiFakturiranje20.7z",  "LumiIzvjestaji20.7z",    "LumiIzmjBaza20.7z",
                             "Izmjena_2026_12.7z",     "LumivexPomoc.7z"};
    for (const QString& arhiva : arhive) {
        const QByteArray poslano = read(QStringLiteral("posluzitelj/download/Verzija20/") + arhiva);
        EXPECT_FALSE(poslano.isEmpty()) << arhiva.toStdString();
        EXPECT_EQ(read(QStringLiteral("dijeljeno/") + arhiva), poslano) << arhiva.toStdString();
    }
    EXPECT_EQ(read(QStringLiteral("dijeljeno/Verzije.txt")),
              read(QStringLiteral("posluzitelj/download/Verzija20/Verzije.txt")));
    EXPECT_EQ(read(QStringLiteral("dijeljeno/Verzije.txt.minisig")),
              read(QStringLiteral("posluzitelj/download/Verzija20/Verzije.txt.minisig")));
    ASSERT_FALSE(dijalozi.boxes().empty());
    EXPECT_TRUE(dijalozi.boxes().back().text.startsWith(
        QStringLiteral("Uspješno skinuti programi na lokaciju ") + dijeljeno))
        << dijalozi.texts().join(u'\n').toStdString();

    model.postaviOptLokacija(1);
    model.postaviTxtLokacija(0, dijeljeno);
    PripremiVerzijaTXT(o);
    EXPECT_EQ(gridNames(),
              (QStringList{"LumiKnjigovodstvo20.exe", "LumiMaloprodaja20.exe", "LumiIzvjestaji20.dll",
                           "LumiIzmjBaza20.dll", "Izmjena_2026_12.enc", "LumivexPomoc.chm"}));
}

}  // namespace
