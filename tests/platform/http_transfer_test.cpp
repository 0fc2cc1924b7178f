#include "platform/QtHttpTransfer.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"

#include <httplib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <QTimer>

namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

QByteArray randomBytes(qsizetype size) {
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

Fetched fetch(HttpTransfer& http, const QString& url, qint64 stopAfter = -1) {
    Fetched f;
    f.result = http.get(
        url, [&](int code) { f.states.push_back(code); },
        [&](const QByteArray& chunk) {
            f.body += chunk;
            ++f.chunks;
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

TEST_F(HttpTransferTest, LargeBodyArrivesInPiecesWithStatesFromConnectingToDisconnected) {
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

TEST_F(HttpTransferTest, ErrorPageBodyIsDataAndEmptyBodyIsSuccess) {
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

TEST_F(HttpTransferTest, FollowsFiveRedirectsButNotSix) {
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

TEST_F(HttpTransferTest, BlankInNameIsSentEncodedAndArrivesDecoded) {
    server.reply(QStringLiteral("Novi Program.7z"), 200, "x");
    const Fetched f = fetch(http, url(QStringLiteral("Novi%20Program.7z")));
    EXPECT_TRUE(f.result.ok);
    EXPECT_THAT(server.requests(), ElementsAre(QStringLiteral("/download/Verzija20/Novi Program.7z")));
}

struct FailureCase {
    const char* name;
    std::function<void(HttpServer&)> arrange;
    qint64 stopAfter;  // the receiver refuses once it holds this many bytes; -1 never
    QString error;
    QByteArray received;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class HttpTransferFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(HttpTransferFailure, ReportsWhyAndEndsWithErrorThenDisconnected) {
    const FailureCase& c = GetParam();
    HttpServer server;
    c.arrange(server);
    QtHttpTransfer http(1000);

    const Fetched f = fetch(http, server.baseUrl() + QStringLiteral("A.7z"), c.stopAfter);

    EXPECT_FALSE(f.result.ok);
    EXPECT_EQ(f.result.error, c.error);
    EXPECT_EQ(f.body, c.received);
    EXPECT_EQ(f.states.front(), 3);
    EXPECT_THAT(std::vector<int>(f.states.end() - 2, f.states.end()), ElementsAre(11, 10));
}

const QByteArray kHalf(64 * 1024, 'h');

INSTANTIATE_TEST_SUITE_P(
    , HttpTransferFailure,
    ::testing::Values(
        FailureCase{"connection_closed_half_way",
                    [](HttpServer& s) { s.replyBroken(QStringLiteral("A.7z"), kHalf, 2 * kHalf.size()); }, -1,
                    QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa."), kHalf},
        FailureCase{"nothing_more_within_the_time_out",
                    [](HttpServer& s) { s.replyStalled(QStringLiteral("A.7z"), "prvi dio", 100); }, -1,
                    QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke."), "prvi dio"},
        FailureCase{"receiver_refuses_more",
                    [](HttpServer& s) { s.replySlow(QStringLiteral("A.7z"), "abcdef", 3, 10ms); }, 2,
                    QStringLiteral("Prijenos je prekinut."), "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpTransferUnreachable, RefusedConnectionIsAnError) {
    QtHttpTransfer http;
    const Fetched f = fetch(http, HttpServer::unreachableBaseUrl() + QStringLiteral("A.7z"));
    EXPECT_FALSE(f.result.ok);
    EXPECT_EQ(f.result.error, QStringLiteral("Poslužitelj je odbio vezu."));
    EXPECT_THAT(f.states, ElementsAre(3, 11, 10));
}

// A steady trickle is not a time-out, however long the whole transfer takes, and the window's events
// go on meanwhile.
TEST(HttpTransferSlow, SlowButSteadyReplyCompletesWhileEventsAreProcessed) {
    HttpServer server;
    const QByteArray body = randomBytes(1000);
    server.replySlow(QStringLiteral("A.7z"), body, 10, 150ms);
    QtHttpTransfer http(600);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);

    const Fetched f = fetch(http, server.baseUrl() + QStringLiteral("A.7z"));

    EXPECT_TRUE(f.result.ok) << f.result.error.toStdString();
    EXPECT_TRUE(f.body == body);
    EXPECT_GT(ticks, 10);
}

}  // namespace
