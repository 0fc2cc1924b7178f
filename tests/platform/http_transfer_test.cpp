#include "platform/QtHttpTransfer.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"

#include <httplib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <QTimer>
#include <thread>

namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(20);
    for (char& c : bytes) c = static_cast<char>(generator.bounded(256));
    return bytes;
}

// One transfer's outcome as the caller sees it.
struct Fetched {
    HttpTransfer::Result result;
    std::vector<int> states;
    QByteArray body;
    int chunks = 0;
};

// `stopAfter`: the receiver refuses more once it holds that many bytes. `pause`: it takes that long
// over each piece, as a slow disk would.
// Bodies up to 64 MiB are expected unless a test says otherwise.
const HttpTransfer::Limits kGenerous(64 * 1024 * 1024);

Fetched fetch(HttpTransfer& http, const QString& url, qint64 stopAfter = -1,
              std::chrono::milliseconds pause = std::chrono::milliseconds(0),
              const HttpTransfer::Limits& limits = kGenerous)
{
    Fetched f;
    f.result = http.get(
        url, limits, [&](int code) { f.states.push_back(code); },
        [&](const QByteArray& chunk) {
            f.body += chunk;
            ++f.chunks;
            std::this_thread::sleep_for(pause);
            return stopAfter < 0 || f.body.size() < stopAfter;
        });
    return f;
}

class HttpTransferTest : public ::testing::Test {
protected:
    HttpServer server;
    QtHttpTransfer http;
    QString url(const QString& name) const { return server.baseUrl() + name; }
};

TEST_F(HttpTransferTest, LargeBodyArrivesInPiecesWithStatesFromConnectingToDisconnected)
{
    const QByteArray body = randomBytes(6 * 1024 * 1024);
    server.reply(QStringLiteral("Veliki.7z"), 200, body);

    const Fetched f = fetch(http, url(QStringLiteral("Veliki.7z")));

    ASSERT_TRUE(f.result.ok) << f.result.error.toStdString();
    EXPECT_EQ(f.result.error, QString());
    EXPECT_EQ(f.result.bytes, body.size());
    EXPECT_TRUE(f.body == body);
    EXPECT_GT(f.chunks, 1);
    ASSERT_GE(f.states.size(), 4u);
    EXPECT_EQ(f.states.front(), 3);
    EXPECT_THAT(std::vector<int>(f.states.end() - 3, f.states.end()), ElementsAre(8, 12, 10));
}

TEST_F(HttpTransferTest, ErrorPageBodyIsDataAndEmptyBodyIsSuccess)
{
    server.reply(QStringLiteral("Nema.7z"), 404, "<html>nema</html>");
    server.reply(QStringLiteral("Kvar.7z"), 500, "kvar");
    server.reply(QStringLiteral("Prazno.7z"), 200, "");

    const Fetched missing = fetch(http, url(QStringLiteral("Nema.7z")));
    EXPECT_TRUE(missing.result.ok);
    EXPECT_EQ(missing.body, QByteArray("<html>nema</html>"));
    EXPECT_EQ(missing.states.back(), 10);

    const Fetched failing = fetch(http, url(QStringLiteral("Kvar.7z")));
    EXPECT_TRUE(failing.result.ok);
    EXPECT_EQ(failing.body, QByteArray("kvar"));

    const Fetched empty = fetch(http, url(QStringLiteral("Prazno.7z")));
    EXPECT_TRUE(empty.result.ok);
    EXPECT_EQ(empty.result.bytes, 0);
    EXPECT_EQ(empty.chunks, 0);
    EXPECT_THAT(std::vector<int>(empty.states.end() - 2, empty.states.end()), ElementsAre(12, 10));
}

TEST_F(HttpTransferTest, CompressedBodyArrivesDecompressed)
{
    QByteArray text;
    for (int i = 0; i < 5000; ++i) text += "Program.exe;20.1." + QByteArray::number(i) + ";0;0;5;9;1\r\n";
    const std::string body = text.toStdString();
    server.handle(QStringLiteral("/download/Verzija20/Verzije.txt"), [body](const auto&, auto& r) {
        r.set_content(body, "text/plain");  // the server compresses text for a client that accepts it
    });

    const Fetched f = fetch(http, url(QStringLiteral("Verzije.txt")));

    EXPECT_TRUE(f.result.ok) << f.result.error.toStdString();
    EXPECT_TRUE(f.body == text);
}

TEST_F(HttpTransferTest, FollowsFiveRedirectsButNotSix)
{
    server.reply(QStringLiteral("Cilj.7z"), 200, "cilj");
    // a redirect's own body is never taken for the file
    for (int i = 1; i <= 6; ++i) {
        const QString next = i == 1 ? QStringLiteral("Cilj.7z") : QStringLiteral("R%1").arg(i - 1);
        const std::string location = server.baseUrl().toStdString() + next.toStdString();
        server.handle(QStringLiteral("/download/Verzija20/R%1").arg(i), [location](const auto&, auto& r) {
            r.set_redirect(location, 302);
            r.set_content("preusmjeravanje", "application/octet-stream");
        });
    }

    const Fetched five = fetch(http, url(QStringLiteral("R5")));
    EXPECT_TRUE(five.result.ok) << five.result.error.toStdString();
    EXPECT_EQ(five.body, QByteArray("cilj"));

    const Fetched six = fetch(http, url(QStringLiteral("R6")));
    EXPECT_FALSE(six.result.ok);
    EXPECT_EQ(six.result.error, QStringLiteral("Previše preusmjeravanja."));
    EXPECT_EQ(six.body, QByteArray());
    EXPECT_THAT(std::vector<int>(six.states.end() - 2, six.states.end()), ElementsAre(11, 10));
}

TEST_F(HttpTransferTest, BlankInNameIsSentEncodedAndArrivesDecoded)
{
    server.reply(QStringLiteral("Novi Program.7z"), 200, "x");
    const Fetched f = fetch(http, url(QStringLiteral("Novi%20Program.7z")));
    EXPECT_TRUE(f.result.ok);
    EXPECT_THAT(server.requests(), ElementsAre(QStringLiteral("/download/Verzija20/Novi Program.7z")));
}

struct FailureCase {
    const char* name;
    std::function<void(HttpServer&)> arrange;
    qint64 stopAfter;                 // the receiver refuses once it holds this many bytes; -1 never
    std::chrono::milliseconds pause;  // the receiver's time for each piece
    QString error;
    QByteArray sent;  // what the server sends; the receiver gets no more, and never a byte twice
    HttpTransfer::Limits limits = kGenerous;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class HttpTransferFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(HttpTransferFailure, ReportsWhyAndEndsWithErrorThenDisconnected)
{
    const FailureCase& c = GetParam();
    HttpServer server;
    c.arrange(server);
    QtHttpTransfer http(1000);

    const Fetched f = fetch(http, server.baseUrl() + QStringLiteral("A.7z"), c.stopAfter, c.pause, c.limits);

    EXPECT_FALSE(f.result.ok);
    EXPECT_EQ(f.result.error, c.error);
    EXPECT_TRUE(c.sent.startsWith(f.body)) << f.body.size() << " bytes received";
    EXPECT_EQ(f.states.front(), 3);
    EXPECT_THAT(std::vector<int>(f.states.end() - 2, f.states.end()), ElementsAre(11, 10));
}

const QByteArray kHalf(64 * 1024, 'h');
// as much as the transfer buffers before it stops reading from the network
const QByteArray kReadBufferFull = randomBytes(256 * 1024);

INSTANTIATE_TEST_SUITE_P(
    , HttpTransferFailure,
    ::testing::Values(
        FailureCase{"connection_closed_half_way",
                    [](HttpServer& s) { s.replyBroken(QStringLiteral("A.7z"), kHalf, 2 * kHalf.size()); }, -1,
                    0ms, QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa."), kHalf},
        // the manager may send the request again and start the body over, or call the cut body complete
        FailureCase{"connection_closed_as_the_read_buffer_fills",
                    [](HttpServer& s) {
                        s.replyBroken(QStringLiteral("A.7z"), kReadBufferFull, 2 * kReadBufferFull.size());
                    },
                    -1, 2ms, QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa."),
                    kReadBufferFull},
        FailureCase{"nothing_more_within_the_time_out",
                    [](HttpServer& s) { s.replyStalled(QStringLiteral("A.7z"), "prvi dio", 100); }, -1, 0ms,
                    QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke."), "prvi dio"},
        // the body keeps coming, but brings less than its floor in a window
        FailureCase{"trickle_below_the_floor",
                    [](HttpServer& s) { s.replySlow(QStringLiteral("A.7z"), kHalf, 200, 50ms); }, -1, 0ms,
                    QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke."), kHalf,
                    HttpTransfer::Limits(kHalf.size(), 16 * 1024)},
        FailureCase{"receiver_refuses_more",
                    [](HttpServer& s) { s.replyStalled(QStringLiteral("A.7z"), "ab", 100); }, 1, 0ms,
                    QStringLiteral("Prijenos je prekinut."), "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpTransferUnreachable, RefusedConnectionIsAnError)
{
    QtHttpTransfer http;
    const Fetched f = fetch(http, HttpServer::unreachableBaseUrl() + QStringLiteral("A.7z"));
    EXPECT_FALSE(f.result.ok);
    EXPECT_EQ(f.result.error, QStringLiteral("Poslužitelj je odbio vezu."));
    EXPECT_THAT(f.states, ElementsAre(3, 11, 10));
}

// A steady trickle is not a time-out, however long the whole transfer takes, and the window's events
// go on meanwhile.
TEST(HttpTransferSlow, SlowButSteadyReplyCompletesWhileEventsAreProcessed)
{
    HttpServer server;
    const QByteArray body = randomBytes(1000);
    server.replySlow(QStringLiteral("A.7z"), body, 15, 100ms);
    QtHttpTransfer http(1000);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);

    // about 660 bytes a window: above this floor, as a slow honest line is above the program's
    const Fetched f = fetch(http, server.baseUrl() + QStringLiteral("A.7z"), -1, 0ms,
                            HttpTransfer::Limits(body.size(), 256));

    EXPECT_TRUE(f.result.ok) << f.result.error.toStdString();
    EXPECT_TRUE(f.body == body);
    EXPECT_GT(ticks, 10);
}

}  // namespace
