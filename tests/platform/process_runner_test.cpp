#include "platform/QtProcessRunner.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <csignal>

namespace {

struct CapturedCase {
    const char* name;
    QString script;
    int exitCode;
    QString output;
};

void PrintTo(const CapturedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RunCaptured : public ::testing::TestWithParam<CapturedCase> {};

TEST_P(RunCaptured, ReturnsTheExitStatusAndBothStreamsInTheOrderWritten)
{
    const CapturedCase& c = GetParam();
    QtProcessRunner runner;
    const ProcessRunner::Result r =
        runner.runCaptured(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), c.script}, 60000);
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.output, c.output);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunCaptured,
    ::testing::Values(
        CapturedCase{"Silent", QStringLiteral("exit 0"), 0, QString()},
        CapturedCase{"Interleaved", QStringLiteral("echo jedan; echo dva >&2; echo tri; exit 4"), 4,
                     QStringLiteral("jedan\ndva\ntri\n")},
        CapturedCase{"Croatian", QStringLiteral("printf 'čćžšđ'; exit 1"), 1, QStringLiteral("čćžšđ")},
        // More than a pipe holds: the program must not block on a full pipe.
        CapturedCase{"Large", QStringLiteral("head -c 300000 /dev/zero | tr '\\0' x"), 0,
                     QString(300000, u'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunCapturedLimits, ProgramStillRunningAtTheTimeOutIsEndedAndSaysSo)
{
    QtProcessRunner runner;
    bool eventSeen = false;
    QTimer::singleShot(0, [&] { eventSeen = true; });
    const ProcessRunner::Result r =
        runner.runCaptured(QStringLiteral("/bin/sh"),
                           {QStringLiteral("-c"), QStringLiteral("echo počinjem; exec sleep 600")}, 300);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.finished);
    EXPECT_EQ(r.error, QStringLiteral("program nije završio u 0.3 s pa je prekinut"));
    EXPECT_EQ(r.output, QStringLiteral("počinjem\n"));
    EXPECT_TRUE(eventSeen);
    ASSERT_GT(r.id, 0);
    EXPECT_NE(::kill(pid_t(r.id), 0), 0) << "the program still runs";
}

// Whether a process still runs: it exists and is no zombie waiting for a parent to reap it.
bool Živ(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype kraj = text.lastIndexOf(')');
    return kraj >= 0 && text.mid(kraj + 2, 1) != "Z";
}

// A script that started a program of its own (as the registration stand-in starts Wine) is ended
// with everything it started.
TEST(RunCapturedLimits, TimeOutEndsWhatTheProgramStartedToo)
{
    QtProcessRunner runner;
    const ProcessRunner::Result r = runner.runCaptured(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 600 & echo $!; wait")}, 300);
    EXPECT_FALSE(r.finished);
    bool ok = false;
    const qint64 dijete = r.output.trimmed().toLongLong(&ok);
    ASSERT_TRUE(ok) << r.output.toStdString();
    // A killed process is gone a moment after the signal, not at once.
    const QDeadlineTimer rok(10000);
    while (Živ(dijete) && !rok.hasExpired()) QThread::msleep(10);
    EXPECT_FALSE(Živ(dijete));
    if (Živ(dijete))
        ::kill(pid_t(dijete), SIGKILL);
}

TEST(RunCapturedLimits, MissingProgramIsNotStartedAndSaysWhy)
{
    QtProcessRunner runner;
    const ProcessRunner::Result r =
        runner.runCaptured(QStringLiteral("/nonexistent/RegSvr32.exe"), {}, 60000);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.finished);
    EXPECT_FALSE(r.error.isEmpty());
}

}  // namespace
