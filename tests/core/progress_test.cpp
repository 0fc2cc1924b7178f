#include "core/ProgresBar.h"

#include "shell/MainWindow.h"
#include "shell/Naredbe.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

TEST(ProgressBar, RangeZeroAndShown)
{
    TestOkruzenje t;
    t.model.postaviProgBarVrijednost(17);

    PostaviProgresBar(t.o, 0, 3000000000LL);

    EXPECT_EQ(t.model.progBarMin(), 0);
    EXPECT_EQ(t.model.progBarMax(), 3000000000LL);
    EXPECT_EQ(t.model.progBarVrijednost(), 0);
    EXPECT_TRUE(t.model.progBarVidljiv());
}

struct ClockCase {
    const char* naziv;
    QDateTime početak;
    qint64 protekloMs;
    QString c;   // the caption in the C locale
    QString hr;  // the caption in the Croatian locale
};

const QDateTime kPodne(QDate(2026, 12, 9), QTime(12, 0, 0));

// Test names and failure messages show the case by its name.
void PrintTo(const ClockCase& c, std::ostream* os)
{
    *os << c.naziv;
}

const ClockCase kClockCases[] = {
    {"SeventyFiveSeconds", kPodne, 75000, QStringLiteral("Vrijeme prijenosa: 75.00 s"),
     QStringLiteral("Vrijeme prijenosa: 75,00 s")},
    {"HalfASecondHasNoLeadingZero", kPodne, 500, QStringLiteral("Vrijeme prijenosa: .50 s"),
     QStringLiteral("Vrijeme prijenosa: ,50 s")},
    {"TwelveAndAHalf", kPodne, 12500, QStringLiteral("Vrijeme prijenosa: 12.50 s"),
     QStringLiteral("Vrijeme prijenosa: 12,50 s")},
    {"AtTheStart", kPodne, 0, QStringLiteral("Vrijeme prijenosa: .00 s"),
     QStringLiteral("Vrijeme prijenosa: ,00 s")},
    {"HundredthsAreRounded", kPodne, 1235, QStringLiteral("Vrijeme prijenosa: 1.24 s"),
     QStringLiteral("Vrijeme prijenosa: 1,24 s")},
    {"NoThousandsGrouping", kPodne, 3723500, QStringLiteral("Vrijeme prijenosa: 3723.50 s"),
     QStringLiteral("Vrijeme prijenosa: 3723,50 s")},
    // Started ten seconds before midnight: the clock shows the true length, not a negative time.
    {"AcrossMidnight", QDateTime(QDate(2026, 12, 9), QTime(23, 59, 50)), 25500,
     QStringLiteral("Vrijeme prijenosa: 25.50 s"), QStringLiteral("Vrijeme prijenosa: 25,50 s")},
};

class TransferClock : public ::testing::TestWithParam<ClockCase> {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    TestOkruzenje t;
};

TEST_P(TransferClock, CaptionShowsElapsedSeconds)
{
    const ClockCase& c = GetParam();
    t.stanje.PočetakPrijenosa = c.početak;
    t.sat.set(c.početak.addMSecs(c.protekloMs));

    QLocale::setDefault(QLocale::c());
    tmrPrijenos_Tick(t.o);
    EXPECT_EQ(t.model.lblVrijemePrijenosa(), c.c);

    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    // The window's timer reaches the same tick.
    tmrPrijenos_Timer(t.o);
    EXPECT_EQ(t.model.lblVrijemePrijenosa(), c.hr);
}

INSTANTIATE_TEST_SUITE_P(Elapsed, TransferClock, ::testing::ValuesIn(kClockCases),
                         [](const auto& info) { return std::string(info.param.naziv); });

// The real window lays the bar over the check button and above it.
TEST(ProgressBarInWindow, CoversTheCheckButtonExactly)
{
    TestOkruzenje t;
    MainWindow w(t.o, [] {});
    w.resize(900, 700);
    w.show();
    auto* bar = w.findChild<QProgressBar*>(QStringLiteral("progBar"));
    auto* gumb = w.findChild<QPushButton*>(QStringLiteral("cmdVerzija"));
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(gumb, nullptr);
    ASSERT_EQ(bar->parentWidget(), gumb->parentWidget());

    PostaviProgresBar(t.o, 0, 30);

    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), gumb->geometry());
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 30);
    EXPECT_EQ(bar->value(), 0);
    // Siblings are stacked in their order among the parent's children: the later one is on top.
    const QObjectList& djeca = gumb->parentWidget()->children();
    EXPECT_GT(djeca.indexOf(bar), djeca.indexOf(gumb));
    EXPECT_EQ(gumb->parentWidget()->childAt(gumb->geometry().center()), bar);

    // It follows the button when the window changes size.
    w.resize(1100, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->geometry(), gumb->geometry());

    t.model.postaviProgBarVrijednost(15);
    EXPECT_EQ(bar->value(), 15);

    t.model.prikažiProgBar(false);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(gumb->isVisible());
    EXPECT_EQ(gumb->parentWidget()->childAt(gumb->geometry().center()), gumb);
}

// A total above what the bar itself counts still moves in proportion.
TEST(ProgressBarInWindow, LargeTotalIsScaled)
{
    TestOkruzenje t;
    MainWindow w(t.o, [] {});
    w.show();
    auto* bar = w.findChild<QProgressBar*>(QStringLiteral("progBar"));
    ASSERT_NE(bar, nullptr);

    PostaviProgresBar(t.o, 0, 5000000000LL);
    t.model.postaviProgBarVrijednost(2500000000LL);

    EXPECT_GT(bar->maximum(), 0);
    EXPECT_NEAR(static_cast<double>(bar->value()) / bar->maximum(), 0.5, 0.001);
    t.model.postaviProgBarVrijednost(5000000000LL);
    EXPECT_EQ(bar->value(), bar->maximum());
}

}  // namespace
