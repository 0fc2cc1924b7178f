#include "core/Obavijesti.h"
#include "core/Usporedba.h"
#include "platform/SettingsStore.h"
#include "shell/MainWindow.h"
#include "shell/MrezaAzuriranja.h"
#include "shell/Pokretanje.h"
#include "support/HttpServer.h"
#include "support/IstaVerzija.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>

namespace {

// The settings store, counting how often the source choice is saved: a handler that ran twice saves
// it twice.
class CountingSettings : public SettingsStore {
public:
    explicit CountingSettings(SettingsStore& inner) : inner_(inner) {}
    QString read(const QString& section, const QString& key, const QString& defaultValue) override
    {
        return inner_.read(section, key, defaultValue);
    }
    bool write(const QString& section, const QString& key, const QString& value, QString* error) override
    {
        if (key == u"UpdateLok20N")
            ++sourceWrites;
        return inner_.write(section, key, value, error);
    }
    int sourceWrites = 0;

private:
    SettingsStore& inner_;
};

// The window driven as a screen reader drives it: through the accessibility interfaces that the
// bus (AT-SPI) exposes, never through the widgets' own methods.
class Accessibility : public ::testing::Test {
protected:
    Accessibility()
    {
        ObjaviIstuVerziju(t, server);
        t.postavke.write(QStringLiteral("Settings"), QStringLiteral("SekundarniServer"),
                         server.url(QString()));
        t.postavke.write(QStringLiteral("Settings"), QStringLiteral("UpdateLok20N"), QStringLiteral("2"));
    }

    void start()
    {
        w = std::make_unique<MainWindow>(o, [this] { ++exits; });
        UčitajProzor(o);
        w->show();
    }

    QAccessibleInterface* iface(const char* name)
    {
        QWidget* c = w->findChild<QWidget*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c ? QAccessible::queryAccessibleInterface(c) : nullptr;
    }
    static void doAction(QAccessibleInterface* i, const QString& action)
    {
        ASSERT_NE(i, nullptr);
        ASSERT_NE(i->actionInterface(), nullptr);
        ASSERT_TRUE(i->actionInterface()->actionNames().contains(action))
            << i->actionInterface()->actionNames().join(u',').toStdString();
        i->actionInterface()->doAction(action);
    }
    // A press is animated: the click follows from the event loop.
    static bool until(const std::function<bool()>& done)
    {
        QDeadlineTimer rok(10000);
        while (!done() && !rok.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    QString saved(const char* key)
    {
        return t.postavke.read(QStringLiteral("Settings"), QString::fromUtf8(key), QStringLiteral("<nema>"));
    }
    // The options on screen and in the bus show exactly the model's choice.
    void expectOptionsShowTheModel()
    {
        for (int i = 0; i < 3; ++i) {
            auto* opcija = w->findChild<QAbstractButton*>(QStringLiteral("optLokacija_%1").arg(i));
            EXPECT_EQ(opcija->isChecked(), t.model.optLokacija() == i) << i;
            EXPECT_EQ(bool(QAccessible::queryAccessibleInterface(opcija)->state().checked),
                      t.model.optLokacija() == i)
                << i;
        }
    }

    TestOkruzenje t;
    CountingSettings postavke{t.postavke};
    Okruzenje o{t.fs,   postavke,  t.sat,      t.računalo, t.dijalozi, t.procesi,
                t.http, t.prozori, t.registar, t.model,    t.stanje};
    HttpServer server{t.root(QStringLiteral("server"))};
    int exits = 0;
    std::unique_ptr<MainWindow> w;
};

TEST_F(Accessibility, StatusPanelsAndTheClockReadWhatTheyShow)
{
    start();
    QAccessibleInterface* akcija = iface("p1");
    ASSERT_NE(akcija, nullptr);
    EXPECT_EQ(akcija->text(QAccessible::Name), QStringLiteral("Nema novih verzija Lumi-vex programa!"));
    EXPECT_EQ(akcija->text(QAccessible::Description), QStringLiteral("Trenutna akcija"));

    PostaviTrenutnoStanje(o, QStringLiteral("Download: A.7z"));
    EXPECT_EQ(iface("p2")->text(QAccessible::Name), QStringLiteral("Download: A.7z"));
    // An empty panel says what it is.
    PostaviTrenutnoStanje(o, QString());
    EXPECT_EQ(iface("p2")->text(QAccessible::Name), QStringLiteral("Trenutno stanje"));

    // The date and time come from the clock port (the virtual clock stands at 9.12.2026 10:30:00).
    const QLocale locale;
    EXPECT_EQ(iface("SBar_datum")->text(QAccessible::Name),
              locale.toString(QDate(2026, 12, 9), QLocale::ShortFormat));
    EXPECT_TRUE(iface("SBar_vrijeme")->text(QAccessible::Name).contains(QStringLiteral("30")))
        << iface("SBar_vrijeme")->text(QAccessible::Name).toStdString();
    EXPECT_EQ(iface("SBar_vrijeme")->text(QAccessible::Description), QStringLiteral("Vrijeme"));
}

TEST_F(Accessibility, TransferClockAndProgressBarAreReadable)
{
    start();
    EXPECT_EQ(iface("lblVrijemePrijenosa")->text(QAccessible::Name), QStringLiteral("Vrijeme prijenosa"));
    t.model.postaviLblVrijemePrijenosa(QStringLiteral("Vrijeme prijenosa: 12,50 s"));
    EXPECT_EQ(iface("lblVrijemePrijenosa")->text(QAccessible::Name),
              QStringLiteral("Vrijeme prijenosa: 12,50 s"));

    t.model.postaviProgBarRaspon(0, 30);
    t.model.postaviProgBarVrijednost(12);
    t.model.prikažiProgBar(true);
    QAccessibleInterface* bar = iface("progBar");
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Napredak prijenosa"));
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 12);
    EXPECT_EQ(bar->valueInterface()->maximumValue().toInt(), 30);
}

// Each progress mark of a row is readable in every cell of the row.
TEST_F(Accessibility, EachRowSaysItsStateAfterEveryMark)
{
    start();
    RedMreže red;
    red.polja = {QStringLiteral("B.dll"), QStringLiteral("20"), QStringLiteral("2"),
                 QStringLiteral("0"),     QStringLiteral("10"), QStringLiteral("20")};
    t.model.postaviMrežu({red}, 10, 20);
    QAccessibleInterface* mreža = iface("fgAžuriranja");
    ASSERT_NE(mreža->tableInterface(), nullptr);
    auto opis = [&](int stupac) {
        QAccessibleInterface* ćelija = mreža->tableInterface()->cellAt(1, stupac);
        return ćelija ? ćelija->text(QAccessible::Description) : QStringLiteral("<nema ćelije>");
    };
    EXPECT_EQ(opis(0), QStringLiteral("još nije obrađeno"));

    using enum StanjeStavke;
    const std::pair<StanjeStavke, const char*> oznake[] = {{SkinutaSInterneta, "preuzeto s interneta"},
                                                           {KopiranaSMreže, "kopirano s mrežne lokacije"},
                                                           {Raspakirana, "raspakirano"},
                                                           {UInstalaciji, "instalira se"},
                                                           {Instalirana, "instalirano"}};
    for (const auto& [status, tekst] : oznake) {
        OznačiStavku(o, QStringLiteral("B.dll"), status);
        for (int stupac = 0; stupac < 6; ++stupac)
            EXPECT_EQ(opis(stupac), QString::fromUtf8(tekst)) << static_cast<int>(status);
    }
    // The totals row carries no state.
    EXPECT_TRUE(mreža->tableInterface()->cellAt(0, 0)->text(QAccessible::Description).isEmpty());
}

// "Toggle" is the radio button's only action on the bus: it must do what a click does, once.
TEST_F(Accessibility, AnOptionToggledThroughTheBusRunsItsHandlerOnce)
{
    start();
    EXPECT_EQ(postavke.sourceWrites, 0);  // showing the saved choice at start-up saves nothing
    expectOptionsShowTheModel();

    doAction(iface("optLokacija_1"), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(t.model.optLokacija(), 1);
    EXPECT_EQ(saved("UpdateLok20N"), QStringLiteral("1"));
    EXPECT_EQ(postavke.sourceWrites, 1);
    expectOptionsShowTheModel();

    // Toggling the chosen option again changes nothing, as on screen.
    doAction(iface("optLokacija_1"), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(postavke.sourceWrites, 1);
    expectOptionsShowTheModel();

    // A click after the toggle is over still runs the handler once, also on the chosen option.
    QCoreApplication::processEvents();
    w->findChild<QAbstractButton*>(QStringLiteral("optLokacija_0"))->click();
    EXPECT_EQ(t.model.optLokacija(), 0);
    EXPECT_EQ(postavke.sourceWrites, 2);
    QCoreApplication::processEvents();
    w->findChild<QAbstractButton*>(QStringLiteral("optLokacija_0"))->click();
    EXPECT_EQ(postavke.sourceWrites, 3);
    expectOptionsShowTheModel();

    // A choice the model makes shows on screen without running the handler.
    t.model.postaviOptLokacija(2);
    EXPECT_EQ(postavke.sourceWrites, 3);
    expectOptionsShowTheModel();
}

TEST_F(Accessibility, ButtonsPressedThroughTheBusDoWhatAClickDoes)
{
    start();
    // The folder button opens the file dialog and takes the chosen folder.
    const QString mapa = t.root(QStringLiteral("mreža/"));
    t.mkdir(mapa);
    t.dijalozi.chooseFiles({mapa + QStringLiteral("Verzije.txt")});
    doAction(iface("cmdLokacija_0"), QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(until([&] { return t.model.txtLokacija(0) == mapa; }))
        << t.model.txtLokacija(0).toStdString();
    EXPECT_EQ(saved("UpdateLokDir20"), mapa);

    // The check runs again: its log lines appear once more.
    const qsizetype provjere = t.log().filter(QStringLiteral("NapraviRsŠtoTrebaAžurirati - kraj")).size();
    doAction(iface("cmdVerzija"), QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(until([&] {
        return t.log().filter(QStringLiteral("NapraviRsŠtoTrebaAžurirati - kraj")).size() == provjere + 1;
    }));

    doAction(iface("cmdIzlaz"), QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(until([&] { return exits == 1; }));
}

TEST_F(Accessibility, FieldsAndTabsSetThroughTheBusReachTheModel)
{
    start();
    const QString mapa = t.root(QStringLiteral("dijeljeno/"));
    t.mkdir(mapa);
    w->activateWindow();
    ASSERT_TRUE(until([&] { return w->isActiveWindow(); }));
    QAccessibleInterface* polje = iface("txtLokacija_1");
    ASSERT_NE(polje->editableTextInterface(), nullptr);
    doAction(polje, QAccessibleActionInterface::setFocusAction());
    polje->setText(QAccessible::Value, mapa);
    EXPECT_EQ(t.model.txtLokacija(1), mapa);
    EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("txtLokacija_1"))->text(), mapa);
    // Leaving the field checks and saves the folder, as leaving it with the mouse or the keyboard does.
    doAction(iface("cmdVerzija"), QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(saved("UpdateLokDirMr.Lumivex.20"), mapa);

    QAccessibleInterface* sati = iface("numVrijemeDownloada");
    ASSERT_NE(sati->valueInterface(), nullptr);
    sati->valueInterface()->setCurrentValue(7);
    EXPECT_EQ(t.model.numVrijemeDownloada(), 7);
    EXPECT_EQ(t.postavke.read(QStringLiteral("Setting"), QStringLiteral("VrijemeAutoDownloadaNovihVerz"),
                              QString()),
              QStringLiteral("7"));

    QAccessibleInterface* kartice = QAccessible::queryAccessibleInterface(w->findChild<QTabBar*>());
    ASSERT_NE(kartice, nullptr);
    // The tabs come first; the bar's scroll buttons follow them.
    ASSERT_GE(kartice->childCount(), 4);
    EXPECT_EQ(kartice->child(3)->text(QAccessible::Name),
              QStringLiteral("Kopiranje novih (svih) programa na disk/mrežnu lokaciju"));
    doAction(kartice->child(3), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(t.model.kartica(), 3);
}

}  // namespace
