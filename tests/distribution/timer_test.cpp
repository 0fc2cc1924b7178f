#include "shell/MainWindow.h"
#include "shell/Naredbe.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestIzdanje.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

namespace {

using Answer = Dialogs::Answer;

const QString kZahtjevKontrolne = QStringLiteral("/download/Verzija20/Verzije.txt");

// A release of two items on a local download server and a distribution target that already holds it,
// so that every copy fetches only the control file and each run shows in the server's requests.
class AutomatskiPrijenos : public ::testing::Test {
public:
    AutomatskiPrijenos()
    {
        t.stanje.PrimarniServer = server.baseUrl();
        t.stanje.SekundarniServer = HttpServer::unreachableBaseUrl();
        izdanje.dodaj(QStringLiteral("Pomoc.chm"), Sadržaj(1200, 'h'));
        izdanje.dodaj(QStringLiteral("Skripta.enc"), Sadržaj(700, 's'));
        izdanje.objavi();
        for (const QString& ime :
             {QStringLiteral("Verzije.txt"), QStringLiteral("Pomoc.7z"), QStringLiteral("Skripta.7z")})
            t.write(cilj + ime, t.read(server.folder() + u'/' + ime));
        t.model.postaviTxtLokacija(1, cilj);
    }

    void u(int sat, int minuta, int sekunda = 0)
    {
        t.sat.set(QDateTime(QDate(2026, 12, 10), QTime(sat, minuta, sekunda)));
    }
    int pokretanja() const { return static_cast<int>(server.requests().count(kZahtjevKontrolne)); }
    QStringList preskočeno() const { return t.log().filter(QStringLiteral("tmrUpdate - ")); }

    TestOkruzenje t;
    HttpServer server{t.root(QStringLiteral("server"))};
    TestIzdanje izdanje{t, t.root(QStringLiteral("server/"))};
    const QString cilj = t.root(QStringLiteral("distribucija/"));
};

struct TickCase {
    int sati;
    int sat;
    int minuta;
    bool pokreće;
};

void PrintTo(const TickCase& c, std::ostream* os)
{
    *os << c.sati << " h at " << c.sat << ':' << c.minuta;
}

const TickCase kTicks[] = {
    {0, 0, 0, false},  {0, 14, 0, false},  {1, 0, 0, true},    {1, 9, 0, true},   {1, 23, 0, true},
    {7, 14, 0, true},  {7, 15, 0, false},  {7, 0, 0, true},    {5, 20, 0, true},  {5, 4, 0, false},
    {12, 12, 0, true}, {23, 0, 0, true},   {23, 22, 0, false}, {1, 10, 1, false}, {6, 10, 1, false},
    {23, 23, 0, true}, {1, 14, 59, false},
};

class Tick : public AutomatskiPrijenos, public ::testing::WithParamInterface<TickCase> {};

// A due tick starts one silent copy; any other tick does nothing.
TEST_P(Tick, RunsAtTheFullHoursTheSettingDivides)
{
    const TickCase& c = GetParam();
    t.model.postaviNumVrijemeDownloada(c.sati);
    u(c.sat, c.minuta);

    tmrUpdate_Timer(t.o);

    EXPECT_EQ(pokretanja(), c.pokreće ? 1 : 0);
    EXPECT_TRUE(t.dijalozi.boxes().empty());
    EXPECT_TRUE(preskočeno().isEmpty());
    EXPECT_TRUE(t.model.dugeNaredbeOmogućene());
}

INSTANTIATE_TEST_SUITE_P(Timer, Tick, ::testing::ValuesIn(kTicks));

// The window's timer as it ticks through a day: once a minute, reading the field each time.
TEST_F(AutomatskiPrijenos, HoursCountFromMidnightNotFromTheChange)
{
    u(5, 30, 17);
    t.model.postaviNumVrijemeDownloada(6);
    QStringList sati;
    for (int minuta = 0; minuta < 7 * 60; ++minuta) {
        const int prije = pokretanja();
        tmrUpdate_Timer(t.o);
        if (pokretanja() != prije)
            sati << t.sat.now().time().toString(QStringLiteral("HH:mm"));
        t.sat.advance(60000);
    }
    EXPECT_EQ(sati, (QStringList{QStringLiteral("06:00"), QStringLiteral("12:00")}));

    // A change counts from the next tick: 4 divides 16 but not 13.
    u(12, 30);
    t.model.postaviNumVrijemeDownloada(4);
    sati.clear();
    for (int minuta = 0; minuta < 4 * 60; ++minuta) {
        const int prije = pokretanja();
        tmrUpdate_Timer(t.o);
        if (pokretanja() != prije)
            sati << t.sat.now().time().toString(QStringLiteral("HH:mm"));
        t.sat.advance(60000);
    }
    EXPECT_EQ(sati, (QStringList{QStringLiteral("16:00")}));
}

// A timer that fires twice within minute 0 does not copy twice in that hour.
TEST_F(AutomatskiPrijenos, TwoTicksInTheSameFullHourStartOneRun)
{
    t.model.postaviNumVrijemeDownloada(1);
    u(9, 0, 1);
    tmrUpdate_Timer(t.o);
    u(9, 0, 58);
    tmrUpdate_Timer(t.o);
    EXPECT_EQ(pokretanja(), 1);
    u(10, 0, 0);
    tmrUpdate_Timer(t.o);
    EXPECT_EQ(pokretanja(), 2);
}

// The question about a target without a control file waits for someone even in an automatic run.
TEST_F(AutomatskiPrijenos, TargetWithoutControlFileAsksAndWaits)
{
    QFile::remove(cilj + QStringLiteral("Verzije.txt"));
    t.model.postaviNumVrijemeDownloada(1);
    u(14, 0);
    t.dijalozi.answer({Answer::No});

    tmrUpdate_Timer(t.o);

    ASSERT_EQ(t.dijalozi.boxes().size(), 1u);
    EXPECT_EQ(t.dijalozi.boxes()[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(t.dijalozi.boxes()[0].text,
              QStringLiteral("Ne postoji datoteka: ") + cilj +
                  QStringLiteral("Verzije.txt. Kopiraju se sve datoteke. Želite li "
                                 "nastaviti sa download-om?"));
    EXPECT_EQ(server.requests(), QStringList{kZahtjevKontrolne});
}

// One operation at a time, through the window: its buttons, its 60-second timer, and the events the
// transfers process while they wait.
class JednaOperacija : public AutomatskiPrijenos {
public:
    JednaOperacija()
    {
        w = std::make_unique<MainWindow>(t.o, [] {});
        t.model.postaviNumVrijemeDownloada(1);
        u(14, 0);
    }
    QPushButton* gumb(const char* ime) { return w->findChild<QPushButton*>(QString::fromUtf8(ime)); }

    std::unique_ptr<MainWindow> w;
};

TEST_F(JednaOperacija, TimerIsWiredToTheTick)
{
    EXPECT_EQ(w->tmrUpdate()->interval(), 60000);
    EXPECT_EQ(w->tmrUpdate()->timerType(), Qt::PreciseTimer);
    w->tmrUpdate()->setInterval(0);
    for (int i = 0; i < 10000 && pokretanja() == 0; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(pokretanja(), 1);
    EXPECT_TRUE(t.dijalozi.boxes().empty());
}

// The window's timer fires all through a manual run; every due tick is refused and logged once.
TEST_F(JednaOperacija, TickDuringAManualRunIsSkipped)
{
    w->tmrUpdate()->setInterval(0);
    server.replySlow(QStringLiteral("Verzije.txt"), t.read(server.folder() + QStringLiteral("/Verzije.txt")),
                     4, std::chrono::milliseconds(20));
    gumb("cmdDownlNaLokaciju")->click();
    w->tmrUpdate()->stop();

    EXPECT_EQ(pokretanja(), 1);
    EXPECT_EQ(preskočeno(), QStringList{QStringLiteral("tmrUpdate - Automatski prijenos na lokaciju u 14:00 "
                                                       "nije pokrenut jer je u tijeku druga operacija.")});
    ASSERT_EQ(t.dijalozi.texts().size(), 1);
    EXPECT_TRUE(t.dijalozi.texts()[0].startsWith(QStringLiteral("Uspješno skinuti programi na lokaciju ")));

    // This hour's copy was refused once; a later tick in the same hour adds nothing.
    tmrUpdate_Timer(t.o);
    EXPECT_EQ(pokretanja(), 1);
    EXPECT_EQ(preskočeno().size(), 1);
}

TEST_F(JednaOperacija, SecondClickDuringARunDoesNothing)
{
    server.replySlow(QStringLiteral("Verzije.txt"), t.read(server.folder() + QStringLiteral("/Verzije.txt")),
                     4, std::chrono::milliseconds(20));
    QTimer::singleShot(0, w.get(), [this] { cmdDownlNaLokaciju_KlikUzZaštitu(t.o); });
    gumb("cmdDownlNaLokaciju")->click();

    EXPECT_EQ(pokretanja(), 1);
    EXPECT_EQ(t.dijalozi.texts().size(), 1);
}

// While the result box is open the run is still in progress: the long commands' buttons are off.
TEST_F(JednaOperacija, ButtonsDisabledDuringTheRunAndEnabledAfter)
{
    t.model.omogućiCmdDownloadAndUpdate(true);
    std::vector<bool> uTijeku;
    t.dijalozi.onShow = [&](const ScriptedDialogs::Box&) {
        for (const char* ime : {"cmdDownlNaLokaciju", "cmdVerzija", "cmdDownloadAndUpdate"})
            uTijeku.push_back(gumb(ime)->isEnabled());
    };

    gumb("cmdDownlNaLokaciju")->click();

    EXPECT_EQ(uTijeku, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(gumb("cmdDownlNaLokaciju")->isEnabled());
    EXPECT_TRUE(gumb("cmdVerzija")->isEnabled());
    EXPECT_TRUE(gumb("cmdDownloadAndUpdate")->isEnabled());
    EXPECT_FALSE(t.stanje.OperacijaUTijeku);
}

}  // namespace
