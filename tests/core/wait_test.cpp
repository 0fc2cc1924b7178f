#include "core/Cekanje.h"

#include "platform/SystemClock.h"
#include "support/TestOkruzenje.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTimer>

namespace {

struct WaitCase {
    const char* naziv;
    QDateTime početak;
    int sekundi;
    qint64 najmanjeMs;  // the virtual time that must pass at least
};

// Test names and failure messages show the case by its name.
void PrintTo(const WaitCase& c, std::ostream* os)
{
    *os << c.naziv;
}

const WaitCase kWaitCases[] = {
    {"ZeroReturnsAtOnce", QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0)), 0, 0},
    {"NegativeReturnsAtOnce", QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0)), -3, 0},
    {"FiveSeconds", QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0)), 5, 5000},
    // The time of day restarts at midnight; the wait still ends five seconds later.
    {"AcrossMidnight", QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58)), 5, 5000},
};

class Wait : public ::testing::TestWithParam<WaitCase> {
protected:
    TestOkruzenje t;
};

TEST_P(Wait, LastsAtLeastTheGivenSeconds)
{
    const WaitCase& c = GetParam();
    t.sat.set(c.početak);
    int pauze = 0;
    t.sat.onPause = [&] { ++pauze; };

    Čekaj(t.o, c.sekundi);

    const qint64 proteklo = c.početak.msecsTo(t.sat.now());
    EXPECT_GE(proteklo, c.najmanjeMs);
    // It ends within one pause of the deadline, in short pauses that let the window work.
    EXPECT_LT(proteklo, c.najmanjeMs + 100);
    if (c.sekundi > 0)
        EXPECT_GE(pauze, c.sekundi * 10);
    else
        EXPECT_EQ(pauze, 0);
}

INSTANTIATE_TEST_SUITE_P(Seconds, Wait, ::testing::ValuesIn(kWaitCases),
                         [](const auto& info) { return std::string(info.param.naziv); });

// The one test on the computer's clock: a timer of the window fires while the program waits.
TEST(WaitOnRealClock, WindowEventsAreProcessedMeanwhile)
{
    TestOkruzenje t;
    SystemClock sat;
    Okruzenje o{t.fs,   t.postavke, sat,        t.računalo, t.dijalozi, t.procesi,
                t.http, t.prozori,  t.registar, t.model,    t.stanje};
    qint64 okinutoMs = -1;
    QElapsedTimer mjerač;
    mjerač.start();
    QTimer::singleShot(300, [&] { okinutoMs = mjerač.elapsed(); });

    Čekaj(o, 1);

    const qint64 trajanje = mjerač.elapsed();
    // The clock reads whole milliseconds, so the second it counts may begin up to one before the call.
    EXPECT_GE(mjerač.nsecsElapsed(), 999000000);
    EXPECT_GE(okinutoMs, 300);
    EXPECT_LT(okinutoMs, trajanje);
}

}  // namespace
