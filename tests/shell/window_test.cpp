#include "core/Obavijesti.h"
#include "shell/MainWindow.h"
#include "shell/Pokretanje.h"
#include "support/HttpServer.h"
#include "support/IstaVerzija.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace {

// An installation whose primary server publishes the same control file: start-up finds nothing new.
class Window : public ::testing::Test {
protected:
    Window() { ObjaviIstuVerziju(t, server); }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("server"))};
    int exits = 0;
    std::unique_ptr<MainWindow> w;

    void start()
    {
        w = std::make_unique<MainWindow>(t.o, [this] { ++exits; });
        UčitajProzor(t.o);
        w->show();
    }
    template <typename T = QWidget>
    T* child(const char* name)
    {
        T* c = w->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
};

TEST_F(Window, CaptionCarriesTheVersion)
{
    start();
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Lumivex Live Update - Automatsko ažuriranje Lumi-vex programa V20.1.0"));
    EXPECT_EQ(w->objectName(), QStringLiteral("frmLiveUpdate"));
}

TEST_F(Window, TabsAndControlsCarryTheirCaptions)
{
    start();
    auto* tabs = child<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Potrebna &ažuriranja"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Poruke o &akcijama"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Poruke o &greškama"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Kopiranje novih (svih) programa na disk/mrežnu lokaciju"));
    EXPECT_EQ(tabs->currentIndex(), 0);

    const std::pair<const char*, QString> buttons[] = {
        {"cmdDownloadAndUpdate", QStringLiteral("Download programa i instalacija")},
        {"cmdDownlNaLokaciju", QStringLiteral("Presnimavanje datoteka na unesenu lokaciju")},
        {"cmdVerzija", QStringLiteral("Provjeri postoje li nove verzije i pripremi za download/prijenos")},
        {"cmdIzlaz", QStringLiteral("Izlaz")},
        {"optLokacija_0",
         QStringLiteral("Internet (") + server.url(QStringLiteral("/download/Verzija20")) + u')'},
        {"optLokacija_1", QStringLiteral("Sa mrežne lokacije")},
        {"optLokacija_2", QStringLiteral("Internet (http://download2.lumivex.example/download/Verzija20)")},
        {"cmdLokacija_0", QString()},
        {"cmdLokacija_1", QString()},
    };
    for (const auto& [name, caption] : buttons) {
        auto* b = child<QAbstractButton>(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), caption) << name;
    }
    EXPECT_FALSE(child<QAbstractButton>("cmdLokacija_0")->icon().isNull());
    EXPECT_EQ(child<QGroupBox>("fraLokacija")->title(),
              QStringLiteral("Lokacija ažuriranja - novih verzija"));
    EXPECT_EQ(
        child<QLabel>("Label1")->text(),
        QStringLiteral("Lokacija za presnimavanje novih programa i komponenti radi distribucije u mreži "
                       "(prvo treba ažurirati lokalno računalo)"));
    EXPECT_EQ(
        child<QLabel>("lblVrijemeDownloada")->text(),
        QStringLiteral("Vrijeme automatskog preuzimanja novih verzija svakih n sati (0-23) 0-ne preuzimati "
                       "automatski:"));
    auto* hours = child<QSpinBox>("numVrijemeDownloada");
    EXPECT_EQ(hours->minimum(), 0);
    EXPECT_EQ(hours->maximum(), 23);
    EXPECT_EQ(child<QLabel>("lblVrijemePrijenosa")->text(), QString());
    EXPECT_FALSE(child<QProgressBar>("progBar")->isVisible());
    EXPECT_NE(child<QLineEdit>("txtLokacija_0"), nullptr);
    EXPECT_NE(child<QLineEdit>("txtLokacija_1"), nullptr);
    EXPECT_NE(child("fgAžuriranja"), nullptr);
    EXPECT_NE(child("txtPor"), nullptr);
    EXPECT_NE(child("txtPorGr"), nullptr);

    const char* tips[] = {"Trenutna akcija", "Trenutno stanje", "Datum", "Vrijeme"};
    const auto panels = w->statusBar()->findChildren<QLabel*>();
    ASSERT_GE(panels.size(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(panels[i]->toolTip(), QString::fromUtf8(tips[i]));
    EXPECT_FALSE(panels[2]->text().isEmpty());  // the date is shown from the start

    EXPECT_EQ(w->tmrUpdate()->interval(), 60000);
    EXPECT_TRUE(w->tmrUpdate()->isActive());
    EXPECT_EQ(w->tmrPrijenos()->interval(), 500);
    EXPECT_FALSE(w->tmrPrijenos()->isActive());
}

TEST_F(Window, EveryNamedControlHasAnAccessibleName)
{
    start();
    for (QWidget* c : w->findChildren<QWidget*>()) {
        const QString name = c->objectName();
        const bool named = name.startsWith(QStringLiteral("cmd")) || name.startsWith(QStringLiteral("txt")) ||
                           name.startsWith(QStringLiteral("opt")) || name.startsWith(QStringLiteral("num")) ||
                           name.startsWith(QStringLiteral("fg")) || name.startsWith(QStringLiteral("lbl"));
        if (named) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << name.toStdString();
        }
    }
}

struct ColourCase {
    const char* name;
    const char* stored;  // nullptr: no setting
    QColor expected;
};

class Colour : public Window, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(Colour, AppliedToWindowOptionsTabsFrameAndGrid)
{
    if (GetParam().stored)
        t.postavke.write(QStringLiteral("Settings"), QStringLiteral("BojaIntegratora"),
                         QString::fromUtf8(GetParam().stored));
    start();
    const QColor expected = GetParam().expected;
    EXPECT_EQ(w->palette().color(QPalette::Window), expected);
    for (const char* name :
         {"optLokacija_0", "optLokacija_1", "optLokacija_2", "SSTab1", "fraLokacija", "fgAžuriranja"})
        EXPECT_EQ(child(name)->palette().color(QPalette::Window), expected) << name;
}

INSTANTIATE_TEST_SUITE_P(Stored, Colour,
                         ::testing::Values(ColourCase{"none", nullptr, QColor(203, 218, 217)},
                                           ColourCase{"red", "255", QColor(255, 0, 0)},
                                           ColourCase{"lightBlue", "16761024", QColor(192, 192, 255)},
                                           ColourCase{"notANumber", "zelena", QColor(203, 218, 217)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Window, CloseWritesTheClosingLineLast)
{
    start();
    w->close();
    ASSERT_FALSE(t.log().isEmpty());
    EXPECT_EQ(t.log().last(),
              QStringLiteral("*************************** KRAJ PROGRAMA **********************************"));
    EXPECT_EQ(exits, 0);
}

TEST_F(Window, ExitButtonEndsAtOnceWithoutTheClosingLine)
{
    start();
    child<QAbstractButton>("cmdIzlaz")->click();
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(t.log().contains(
        QStringLiteral("*************************** KRAJ PROGRAMA **********************************")));
}

TEST_F(Window, NeitherExitNorCloseEndsTheProgramWhileAnOperationRuns)
{
    start();
    t.stanje.OperacijaUTijeku = true;
    t.model.omogućiDugeNaredbe(false);
    EXPECT_FALSE(child<QAbstractButton>("cmdIzlaz")->isEnabled());
    EXPECT_FALSE(w->close());
    EXPECT_FALSE(t.log().contains(
        QStringLiteral("*************************** KRAJ PROGRAMA **********************************")));

    t.stanje.OperacijaUTijeku = false;
    t.model.omogućiDugeNaredbe(true);
    EXPECT_TRUE(child<QAbstractButton>("cmdIzlaz")->isEnabled());
    EXPECT_TRUE(w->close());
}

TEST_F(Window, ProbeFolderIsGoneAfterStartUpEvenWhenLeftOver)
{
    t.mkdir(QStringLiteral("UpdateADM/ostatak"));
    start();
    EXPECT_FALSE(t.exists(QStringLiteral("UpdateADM")));
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

TEST_F(Window, ProbeThatCannotCreateWarnsTheOperatorAndStartUpGoesOn)
{
    t.računalo.user = QStringLiteral("marko");
    t.fs.failPath(t.program() + QStringLiteral("UpdateADM"), QStringLiteral("Pristup je odbijen."),
                  {QStringLiteral("createFolder")});
    start();
    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    const auto& box = t.dijalozi.boxes()[0];
    EXPECT_EQ(box.icon, Dialogs::Icon::Critical);
    EXPECT_EQ(box.caption, QStringLiteral("Lumivex"));
    EXPECT_EQ(box.text,
              QStringLiteral("Prijavljeni operater: MARKO izgleda nema administratorska prava za "
                             "instalaciju programa.\r\nProces automatskog ažuriranja novih verzija možda "
                             "neće biti ispravan, ali ipak pokušajte!"));
    EXPECT_TRUE(w->isVisible());
}

// The window's timer runs from the moment the window exists: a copy falling due while start-up fetches
// the control file is refused, and logged once, instead of fetching into the same matrices.
TEST_F(Window, TickDuringStartUpPreparationIsSkipped)
{
    const QString target = t.root(QStringLiteral("distribucija/"));
    t.mkdir(target);
    t.postavke.write(QStringLiteral("Settings"), QStringLiteral("UpdateLokDirMr20"), target);
    t.postavke.write(QStringLiteral("Setting"), QStringLiteral("VrijemeAutoDownloadaNovihVerz"),
                     QStringLiteral("1"));
    t.sat.set(QDateTime(QDate(2026, 12, 10), QTime(14, 0)));
    server.replySlow(QStringLiteral("Verzije.txt"), t.read(server.folder() + QStringLiteral("/Verzije.txt")),
                     4, std::chrono::milliseconds(20));
    w = std::make_unique<MainWindow>(t.o, [this] { ++exits; });
    w->tmrUpdate()->setInterval(0);

    UčitajProzor(t.o);
    w->tmrUpdate()->stop();

    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/download/Verzija20/Verzije.txt")});
    EXPECT_EQ(t.log().filter(QStringLiteral("tmrUpdate - ")),
              QStringList{QStringLiteral("tmrUpdate - Automatski prijenos na lokaciju u 14:00 nije pokrenut "
                                         "jer je u tijeku druga operacija.")});
    EXPECT_FALSE(t.stanje.OperacijaUTijeku);
    EXPECT_TRUE(t.model.dugeNaredbeOmogućene());
}

// A start after an interrupted installation undoes it before anything else reads the files: the user
// is told first, and the control file is then prepared from the old installation.
TEST_F(Window, StartUpUndoesAnInterruptedInstallationFirst)
{
    t.write(QStringLiteral("UpdateBackup/Instalacija.dnevnik"),
            "LumivexLiveUpdate20 dnevnik instalacije\r\n1;A.exe;" + t.program().toUtf8() + "\r\n0;Novi.exe;" +
                t.program().toUtf8() + "\r\n");
    t.write(QStringLiteral("UpdateBackup/A.exe"), "a");
    t.write(QStringLiteral("A.exe"), "novo");
    t.write(QStringLiteral("Novi.exe"), "novo");

    start();

    EXPECT_EQ(t.dijalozi.texts().value(0),
              QStringLiteral("Prethodna instalacija novih verzija je bila prekinuta i poništena: vraćene su "
                             "stare verzije programa. Nove verzije potrebno je ponovo instalirati."));
    EXPECT_EQ(t.read(QStringLiteral("A.exe")), "a");
    EXPECT_FALSE(t.exists(QStringLiteral("Novi.exe")));
    EXPECT_FALSE(t.exists(QStringLiteral("UpdateBackup")));
    const QStringList log = t.log();
    const qsizetype kraj = log.indexOf(QStringLiteral("OporavakInstalacije - Kraj"));
    ASSERT_GE(kraj, 0) << log.join(u'\n').toStdString();
    EXPECT_TRUE(log.mid(0, kraj).filter(QStringLiteral("NapraviRsŠtoTrebaAžurirati")).isEmpty());
    EXPECT_FALSE(log.mid(kraj).filter(QStringLiteral("NapraviRsŠtoTrebaAžurirati - početak")).isEmpty());
}

TEST_F(Window, OptionClickSavesButLoadingDoesNot)
{
    t.postavke.write(QStringLiteral("Settings"), QStringLiteral("UpdateLok20N"), QStringLiteral("2"));
    const QString ini = t.root(QStringLiteral("config/Lumivex.ini"));
    start();
    EXPECT_EQ(t.model.optLokacija(), 2);
    EXPECT_EQ(t.postavke.read(QStringLiteral("Settings"), QStringLiteral("UpdateLokDir20"),
                              QStringLiteral("<nema>")),
              QStringLiteral("<nema>"));
    child<QAbstractButton>("optLokacija_1")->click();
    EXPECT_EQ(t.postavke.read(QStringLiteral("Settings"), QStringLiteral("UpdateLok20N"), QString()),
              QStringLiteral("1"));
    EXPECT_EQ(t.postavke.read(QStringLiteral("Settings"), QStringLiteral("UpdateLokDir20"),
                              QStringLiteral("<nema>")),
              QString());
    child<QSpinBox>("numVrijemeDownloada")->setValue(7);
    EXPECT_EQ(t.postavke.read(QStringLiteral("Setting"), QStringLiteral("VrijemeAutoDownloadaNovihVerz"),
                              QString()),
              QStringLiteral("7"));
}

TEST_F(Window, ModelChangesReachTheControlsAtOnce)
{
    start();
    PostaviTrenutnuAkciju(t.o, QStringLiteral("Download: Program.7z"));
    t.model.postaviTxtPor(QStringLiteral("\r\nKopirano A.7z"));
    t.model.postaviProgBarRaspon(0, 5000000000LL);
    t.model.postaviProgBarVrijednost(2500000000LL);
    t.model.prikažiProgBar(true);

    const auto panels = w->statusBar()->findChildren<QLabel*>();
    EXPECT_EQ(panels[0]->text(), QStringLiteral("Download: Program.7z"));
    auto* bar = child<QProgressBar>("progBar");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), child("cmdVerzija")->geometry());
    // A total above an int's range is scaled, and half of it still shows half.
    EXPECT_NEAR(double(bar->value()) / bar->maximum(), 0.5, 0.001);
}

// An office's distribution computer: the primary server publishes newer Program.exe and Pomoc.chm
// than the installation has, and the office folder is still empty.
class DistributionComputer : public ::testing::Test {
protected:
    DistributionComputer()
    {
        datoteke = ObjaviStarijojInstalaciji(t, server.folder());
        t.postavke.write(QStringLiteral("Settings"), QStringLiteral("PrimarniServer"), server.url(QString()));
        t.postavke.write(QStringLiteral("Settings"), QStringLiteral("UpdateLokDirMr20"), cilj);
        t.mkdir(cilj);
    }

    void start()
    {
        w = std::make_unique<MainWindow>(t.o, [] {});
        UčitajProzor(t.o);
        w->show();
    }
    QAbstractButton* button(const char* name)
    {
        return w->findChild<QAbstractButton*>(QString::fromUtf8(name));
    }
    QStringList gridNames() const
    {
        QStringList names;
        for (const RedMreže& red : t.model.redovi()) names << red.polja[0];
        return names;
    }

    // The office folder has the release, and the grid still lists the updates with the button enabled.
    void expectCopiedAndStillListed()
    {
        EXPECT_EQ(t.read(cilj + QStringLiteral("Verzije.txt")),
                  t.read(server.folder() + QStringLiteral("/Verzije.txt")));
        EXPECT_EQ(gridNames(), (QStringList{QStringLiteral("Program.exe"), QStringLiteral("Pomoc.chm")}));
        EXPECT_TRUE(button("cmdDownloadAndUpdate")->isEnabled());
    }

    // The button installs every listed update.
    void expectInstallInstalls()
    {
        t.dijalozi.clear();
        t.dijalozi.answer({Dialogs::Answer::Yes});
        button("cmdDownloadAndUpdate")->click();
        ASSERT_FALSE(t.dijalozi.boxes().empty());
        EXPECT_EQ(t.dijalozi.boxes().back().text, QStringLiteral("Uspješno instalirani novi programi!"))
            << t.dijalozi.texts().join(u'\n').toStdString();
        EXPECT_EQ(t.read(QStringLiteral("Program.exe")), datoteke.value(QStringLiteral("Program.exe")));
        EXPECT_EQ(t.read(t.stanje.PutanjaHelp + QStringLiteral("Pomoc.chm")),
                  datoteke.value(QStringLiteral("Pomoc.chm")));
        EXPECT_TRUE(t.model.redovi().isEmpty());
    }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("server"))};
    const QString cilj = t.root(QStringLiteral("distribucija/"));
    QMap<QString, QByteArray> datoteke;
    std::unique_ptr<MainWindow> w;
};

// Filling the office folder works with tables of its own: the updates the check found stay flagged.
TEST_F(DistributionComputer, InstallsAfterTheFolderWasFilledByTheButton)
{
    ASSERT_FALSE(datoteke.isEmpty());
    start();
    ASSERT_EQ(gridNames(), (QStringList{QStringLiteral("Program.exe"), QStringLiteral("Pomoc.chm")}));

    t.dijalozi.answer({Dialogs::Answer::Yes});  // the empty folder is filled completely
    button("cmdDownlNaLokaciju")->click();
    ASSERT_FALSE(t.dijalozi.boxes().empty());
    EXPECT_TRUE(
        t.dijalozi.boxes().back().text.startsWith(QStringLiteral("Uspješno skinuti programi na lokaciju ")))
        << t.dijalozi.texts().join(u'\n').toStdString();
    expectCopiedAndStillListed();

    expectInstallInstalls();
}

TEST_F(DistributionComputer, InstallsAfterTheHourlyCopyFellDue)
{
    ASSERT_FALSE(datoteke.isEmpty());
    t.postavke.write(QStringLiteral("Setting"), QStringLiteral("VrijemeAutoDownloadaNovihVerz"),
                     QStringLiteral("1"));
    start();
    ASSERT_EQ(gridNames(), (QStringList{QStringLiteral("Program.exe"), QStringLiteral("Pomoc.chm")}));

    t.dijalozi.answer({Dialogs::Answer::Yes});  // asked by the silent copy too
    t.sat.set(QDateTime(QDate(2026, 12, 10), QTime(14, 0)));
    w->tmrUpdate()->setInterval(0);
    for (int i = 0; i < 100 && !t.exists(cilj + QStringLiteral("Verzije.txt")); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    w->tmrUpdate()->stop();
    expectCopiedAndStillListed();

    expectInstallInstalls();
}

}  // namespace
