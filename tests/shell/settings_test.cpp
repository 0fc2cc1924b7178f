#include "shell/Postavke.h"
#include "support/HttpProxy.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>

namespace {

const QString S = QStringLiteral("Settings");

class Settings : public ::testing::Test {
protected:
    TestOkruzenje t;

    // The window of the next start: a fresh model over the same store.
    ProzorModel restart()
    {
        ProzorModel m;
        Okruzenje o2{t.fs,   t.postavke, t.sat,      t.računalo, t.dijalozi, t.procesi,
                     t.http, t.prozori,  t.registar, m,          t.stanje};
        UčitajPostavke(o2);
        return m;
    }
    QString stored(const QString& section, const QString& key)
    {
        return t.postavke.read(section, key, QStringLiteral("<nema>"));
    }
};

TEST_F(Settings, FirstStartHasEmptyFoldersOptionZeroAndNoHours)
{
    const ProzorModel m = restart();
    EXPECT_EQ(m.txtLokacija(0), QString());
    EXPECT_EQ(m.txtLokacija(1), QString());
    EXPECT_EQ(m.optLokacija(), 0);
    EXPECT_EQ(m.numVrijemeDownloada(), 0);
    EXPECT_FALSE(QFile::exists(t.root(QStringLiteral("config/Lumivex.ini"))));  // loading writes nothing
}

struct TargetCase {
    const char* name;
    int option;
    const char* keyWritten;
    bool restartShowsTyped;  // else the value of "UpdateLokDirMr20" comes back
};

class DistributionTarget : public Settings, public ::testing::WithParamInterface<TargetCase> {};

// The option decides the key under which the distribution target is saved, and whether a restart
// shows it again.
TEST_P(DistributionTarget, SavedUnderTheOptionsKey)
{
    const TargetCase& c = GetParam();
    t.postavke.write(S, QStringLiteral("UpdateLokDirMr20"), QStringLiteral("/stara/lokacija/"));
    const QString typed = t.root(QStringLiteral("dijeljeno/"));
    QDir().mkpath(typed);

    KlikNaOpciju(t.o, c.option);
    t.model.postaviTxtLokacija(1, typed);
    ProvjeriLokaciju(t.o, 1);

    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_EQ(stored(S, QString::fromUtf8(c.keyWritten)), typed);
    EXPECT_EQ(stored(S, QStringLiteral("UpdateLok20N")), QString::number(c.option));
    const ProzorModel m = restart();
    EXPECT_EQ(m.optLokacija(), c.option);
    EXPECT_EQ(m.txtLokacija(1), c.restartShowsTyped ? typed : QStringLiteral("/stara/lokacija/"));
}

INSTANTIATE_TEST_SUITE_P(Options, DistributionTarget,
                         ::testing::Values(TargetCase{"primary", 0, "UpdateLokDirMr20", true},
                                           TargetCase{"network", 1, "UpdateLokDirMr.Lumivex.20", true},
                                           TargetCase{"secondary", 2, "UpdateLokDirMr.Lumivex.20", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Settings, NetworkOptionIgnoresAnEmptyStoredTarget)
{
    t.postavke.write(S, QStringLiteral("UpdateLok20N"), QStringLiteral("1"));
    t.postavke.write(S, QStringLiteral("UpdateLokDirMr20"), QStringLiteral("/iz/prvog/"));
    t.postavke.write(S, QStringLiteral("UpdateLokDirMr.Lumivex.20"), QString());
    EXPECT_EQ(restart().txtLokacija(1), QStringLiteral("/iz/prvog/"));
}

TEST_F(Settings, NetworkSourceFolderRoundTrips)
{
    KlikNaOpciju(t.o, 1);
    t.model.postaviTxtLokacija(0, t.root());
    ProvjeriLokaciju(t.o, 0);
    EXPECT_EQ(stored(S, QStringLiteral("UpdateLokDir20")), t.root());
    EXPECT_EQ(restart().txtLokacija(0), t.root());
}

struct StoredValueCase {
    const char* option;
    const char* hours;
    int expectedOption;
    int expectedHours;
};

class StoredValues : public Settings, public ::testing::WithParamInterface<StoredValueCase> {};

// Values that are not whole numbers in range fall back to option 0 and no automatic runs.
TEST_P(StoredValues, ReadBackOrFallBack)
{
    t.postavke.write(S, QStringLiteral("UpdateLok20N"), QString::fromUtf8(GetParam().option));
    t.postavke.write(QStringLiteral("Setting"), QStringLiteral("VrijemeAutoDownloadaNovihVerz"),
                     QString::fromUtf8(GetParam().hours));
    const ProzorModel m = restart();
    EXPECT_EQ(m.optLokacija(), GetParam().expectedOption);
    EXPECT_EQ(m.numVrijemeDownloada(), GetParam().expectedHours);
}

INSTANTIATE_TEST_SUITE_P(Table, StoredValues,
                         ::testing::Values(StoredValueCase{"2", "6", 2, 6}, StoredValueCase{"1", "23", 1, 23},
                                           StoredValueCase{"3", "24", 0, 0},
                                           StoredValueCase{"-1", "-1", 0, 0},
                                           StoredValueCase{"x", "6.5", 0, 0}, StoredValueCase{"", "", 0, 0}));

TEST_F(Settings, HoursAreStoredUnderSettingNotSettings)
{
    PromjenaVremenaDownloada(t.o, 6);
    EXPECT_EQ(stored(QStringLiteral("Setting"), QStringLiteral("VrijemeAutoDownloadaNovihVerz")),
              QStringLiteral("6"));
    EXPECT_EQ(stored(S, QStringLiteral("VrijemeAutoDownloadaNovihVerz")), QStringLiteral("<nema>"));
    EXPECT_EQ(restart().numVrijemeDownloada(), 6);
}

TEST_F(Settings, LeavingAnEmptyBoxWarnsThenOffersTheDialog)
{
    t.dijalozi.chooseFiles({QString()});  // the user cancels the dialog
    ProvjeriLokaciju(t.o, 0);

    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].text, QStringLiteral("Ne postoji direktorija:  Postavite je!"));
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Dialogs::Icon::Exclamation);
    ASSERT_EQ(t.dijalozi.fileRequests().size(), 1u);
    EXPECT_EQ(stored(S, QStringLiteral("UpdateLokDir20")), QStringLiteral("<nema>"));
}

TEST_F(Settings, ChoosingAFileTakesItsFolderWithTheSeparator)
{
    t.model.postaviTxtLokacija(1, QStringLiteral("/početna/"));
    t.dijalozi.chooseFiles({t.root(QStringLiteral("mreža/Verzije.txt"))});
    OdaberiLokaciju(t.o, 1);

    EXPECT_EQ(t.model.txtLokacija(1), t.root(QStringLiteral("mreža/")));
    EXPECT_EQ(stored(S, QStringLiteral("UpdateLokDirMr20")), t.root(QStringLiteral("mreža/")));
    const Dialogs::FileRequest& r = t.dijalozi.fileRequests().at(0);
    EXPECT_EQ(r.title, QStringLiteral("Izaberite uređaj i direktoriju gdje se nalaze novi Lumivex programi"));
    EXPECT_EQ(r.filter, QStringLiteral("Verzije (*.txt)"));
    EXPECT_EQ(r.fileName, QStringLiteral("Verzije.txt"));
    EXPECT_EQ(r.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(r.initialFolder, QStringLiteral("/početna/"));
}

TEST_F(Settings, CancelledDialogChangesNothing)
{
    t.model.postaviTxtLokacija(1, QStringLiteral("/ostaje/"));
    OdaberiLokaciju(t.o, 1);
    EXPECT_EQ(t.model.txtLokacija(1), QStringLiteral("/ostaje/"));
    EXPECT_EQ(stored(S, QStringLiteral("UpdateLokDirMr20")), QStringLiteral("<nema>"));
}

TEST(Servers, StoreOverridesBuildDefaultsAndCaptionsShowBaseUrls)
{
    TestOkruzenje t;
    t.postavke.write(S, QStringLiteral("PrimarniServer"), QStringLiteral("127.0.0.1:8080"));
    UčitajServere(t.o);
    EXPECT_EQ(t.stanje.PrimarniServer, QStringLiteral("http://127.0.0.1:8080/download/Verzija20/"));
    EXPECT_EQ(t.stanje.SekundarniServer,
              QStringLiteral("http://download2.lumivex.example/download/Verzija20/"));
    EXPECT_EQ(t.model.natpisOpcije(0), QStringLiteral("Internet (http://127.0.0.1:8080/download/Verzija20)"));
    EXPECT_EQ(t.model.natpisOpcije(1), QStringLiteral("Sa mrežne lokacije"));
    EXPECT_EQ(t.model.natpisOpcije(2),
              QStringLiteral("Internet (http://download2.lumivex.example/download/Verzija20)"));
    EXPECT_EQ(BaznaAdresa(QStringLiteral("https://primjer.hr/")),
              QStringLiteral("https://primjer.hr/download/Verzija20/"));
}

// The stored proxy carries every transfer, even to a host only it knows; an address that cannot be
// used is told and leaves the system's configuration.
TEST(ProxySetting, StoredProxyCarriesTheTransfersAndABadOneIsTold)
{
    TestOkruzenje t;
    HttpServer server;
    server.reply(QStringLiteral("A.7z"), 200, "a");
    HttpProxy proxy;
    const QString url = QStringLiteral("http://posluzitelj.ured:") + QString::number(server.port()) +
                        QStringLiteral("/download/Verzija20/A.7z");
    t.postavke.write(S, QStringLiteral("Proxy"), proxy.address());

    UčitajProxy(t.o);
    const HttpTransfer::Result r = t.http.get(url, HttpTransfer::Limits(10), {}, {});

    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_THAT(proxy.forwarded(), ::testing::ElementsAre(url));
    EXPECT_TRUE(t.dijalozi.texts().isEmpty());

    t.postavke.write(S, QStringLiteral("Proxy"), QStringLiteral("proxy.ured"));
    UčitajProxy(t.o);

    EXPECT_THAT(
        t.dijalozi.texts(),
        ::testing::ElementsAre(QStringLiteral(
            "Proxy poslužitelj iz postavki (Settings/Proxy) nije ispravno upisan: adresa \"proxy.ured\" "
            "nije oblika http://poslužitelj:port, pa vrijedi proxy iz postavki sustava.")));
    EXPECT_EQ(t.dijalozi.boxes()[0].icon, Dialogs::Icon::Exclamation);
}

}  // namespace
