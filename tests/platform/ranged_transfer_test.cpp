#include "platform/QtHttpTransfer.h"
#include "support/HttpServer.h"
#include "support/QtPrinters.h"

#include <httplib.h>

#include <gtest/gtest.h>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>
#include <optional>

namespace {

using namespace std::chrono_literals;
using Body = HttpTransfer::Body;
using Failure = HttpTransfer::Failure;

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char& c : bytes) c = static_cast<char>(generator.bounded(256));
    return bytes;
}

// An odd size, so no cut falls on a buffer's edge by chance.
constexpr qint64 kSize = 1024 * 1024 + 123;

struct Fetched {
    HttpTransfer::RangedResult result;
    QByteArray body;
    std::optional<Body> told;  // what the port said the body is before handing it on
    qsizetype bytesWhenTold = -1;
};

Fetched fetchRanged(HttpTransfer& http, const QString& url, const HttpTransfer::Held& held, qint64 ceiling)
{
    Fetched f;
    f.result = http.getRanged(
        url, held, HttpTransfer::Limits(ceiling), nullptr,
        [&](const HttpTransfer::RangedResult& response) {
            f.told = response.body;
            f.bytesWhenTold = f.body.size();
            return true;
        },
        [&](const QByteArray& chunk) {
            f.body += chunk;
            return true;
        });
    return f;
}

// A file the server holds; the first fetch of it is cut, and a ranged fetch asks for the rest.
struct ResumeCase {
    const char* name;
    qint64 cut;                                // body bytes of the first fetch before the server closes
    std::function<void(HttpServer&)> arrange;  // how the server serves, from the first fetch on
    bool changeFile = false;                   // the file is replaced between the two fetches
    qint64 heldOffset = -1;                    // the offset the caller gives; -1: the bytes it holds
    qint64 expectedTotal = kSize;              // the size the caller expects
    // The resumed fetch's ceiling: the whole file, or the rest after the bytes held and this many more.
    std::optional<qint64> ceilingPastTheRest;
    // What the resumed fetch must do.
    bool rangeSent;
    Body body;
    int status;
    // Body bytes of the resumed fetch that the port received and, unless the port refused the body at
    // its headers (when the server's count is what the sockets took before the connection closed), that
    // the server sent: the rest after the bytes held, the whole file, or nothing.
    enum Travel { Rest, All, Nothing } travelled;
    Failure failure = Failure::None;
};

void PrintTo(const ResumeCase& c, std::ostream* os)
{
    *os << c.name;
}

const qint64 k60 = kSize * 6 / 10;
constexpr auto Rest = ResumeCase::Rest;
constexpr auto All = ResumeCase::All;
constexpr auto Nothing = ResumeCase::Nothing;
const qint64 k99 = kSize * 99 / 100;

class ResumedFetch : public ::testing::TestWithParam<ResumeCase> {
protected:
    QTemporaryDir folder;
    QString path() const { return folder.path() + QStringLiteral("/A.7z"); }
    void write(const QByteArray& bytes, const QDateTime& modified)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
};

TEST_P(ResumedFetch, AppendsOnlyWhatFollowsTheHeldBytesOfTheSameVersion)
{
    const ResumeCase& c = GetParam();
    const QDateTime published = QDateTime::currentDateTimeUtc().addDays(-2);
    const QByteArray original = randomBytes(kSize, 1);
    write(original, published);
    HttpServer server(folder.path());
    if (c.arrange)
        c.arrange(server);
    server.cutAfter(QStringLiteral("A.7z"), c.cut);
    QtHttpTransfer http(5000);
    const QString url = server.baseUrl() + QStringLiteral("A.7z");

    // The manager may drop what it had not yet handed on when the connection closed.
    const Fetched first = fetchRanged(http, url, {0, kSize, {}, {}}, kSize);
    ASSERT_EQ(first.result.ok, c.cut >= kSize) << first.result.error.toStdString();
    ASSERT_LE(first.body.size(), c.cut);
    ASSERT_EQ(first.body, original.left(first.body.size()));
    EXPECT_EQ(first.result.body, Body::Whole);
    EXPECT_EQ(first.result.failure, c.cut >= kSize ? Failure::None : Failure::Broken);

    QByteArray onServer = original;
    if (c.changeFile) {
        onServer = randomBytes(kSize, 2);
        write(onServer, published.addSecs(3600));
    }
    const qint64 offset = c.heldOffset >= 0 ? c.heldOffset : first.body.size();
    const qint64 ceiling = c.ceilingPastTheRest ? kSize - first.body.size() + *c.ceilingPastTheRest : kSize;
    const Fetched rest = fetchRanged(
        http, url, {offset, c.expectedTotal, first.result.etag, first.result.lastModified}, ceiling);

    // The manager may send the first request again on its own after the connection closed (and give up
    // that attempt at once), so the first fetch costs at least its cut.
    std::vector<HttpServer::Served> served = server.served();
    ASSERT_GE(served.size(), 2u);
    const HttpServer::Served resumed = served.back();
    served.pop_back();
    qint64 sentFirst = 0;
    for (const HttpServer::Served& s : served) sentFirst += s.bodyBytes;
    EXPECT_GE(sentFirst, c.cut);
    EXPECT_EQ(!resumed.range.isEmpty(), c.rangeSent) << resumed.range.toStdString();
    EXPECT_EQ(rest.result.body, c.body);
    EXPECT_EQ(rest.result.status, c.status);
    EXPECT_EQ(rest.result.failure, c.failure);
    EXPECT_EQ(rest.result.ok, c.failure == Failure::None) << rest.result.error.toStdString();
    const qint64 travelled = c.travelled == ResumeCase::Rest  ? kSize - first.body.size()
                             : c.travelled == ResumeCase::All ? kSize
                                                              : 0;
    const bool refused = c.body == Body::Misplaced || c.failure == Failure::TooLarge;
    if (!refused) {
        EXPECT_EQ(resumed.bodyBytes, travelled);
    }
    EXPECT_EQ(rest.result.received, travelled);
    EXPECT_EQ(rest.result.bytes, rest.body.size());

    // The caller learns what the body is before its first byte, and only a body it can use is handed on.
    const bool handedOn = rest.result.ok && (c.body == Body::Whole || c.body == Body::Continuation);
    EXPECT_EQ(rest.told, handedOn ? std::optional<Body>(c.body) : std::nullopt);
    if (handedOn) {
        EXPECT_EQ(rest.bytesWhenTold, 0);
    }
    if (handedOn && c.body == Body::Continuation) {
        EXPECT_EQ(rest.result.total, kSize);
        EXPECT_TRUE(first.body + rest.body == onServer);
    } else if (handedOn) {
        EXPECT_TRUE(rest.body == onServer);
    } else {
        EXPECT_EQ(rest.body, QByteArray());
    }
}

INSTANTIATE_TEST_SUITE_P(
    , ResumedFetch,
    ::testing::Values(
        // nothing held: nothing to resume, and no Range to send
        ResumeCase{"cut_at_0_percent", 0, nullptr, false, -1, kSize, {}, false, Body::Whole, 200, All},
        ResumeCase{
            "cut_at_60_percent", k60, nullptr, false, -1, kSize, {}, true, Body::Continuation, 206, Rest},
        ResumeCase{
            "cut_at_99_percent", k99, nullptr, false, -1, kSize, {}, true, Body::Continuation, 206, Rest},
        // the whole file arrived, as the caller finds when it checks the bytes it holds
        ResumeCase{"cut_exactly_at_the_end",
                   kSize,
                   nullptr,
                   false,
                   -1,
                   kSize,
                   {},
                   true,
                   Body::Unsatisfiable,
                   416,
                   Nothing},
        ResumeCase{"held_past_the_end",
                   k60,
                   nullptr,
                   false,
                   kSize + 1,
                   kSize,
                   {},
                   true,
                   Body::Unsatisfiable,
                   416,
                   Nothing},
        ResumeCase{"server_ignores_ranges",
                   k60,
                   [](HttpServer& s) { s.honourRanges(false); },
                   false,
                   -1,
                   kSize,
                   {},
                   true,
                   Body::Whole,
                   200,
                   All},
        ResumeCase{
            "file_changed_on_the_server", k60, nullptr, true, -1, kSize, {}, true, Body::Whole, 200, All},
        ResumeCase{"no_validator_offered",
                   k60,
                   [](HttpServer& s) { s.sendValidators(false); },
                   false,
                   -1,
                   kSize,
                   {},
                   false,
                   Body::Whole,
                   200,
                   All},
        ResumeCase{"206_at_a_wrong_offset",
                   k60,
                   [](HttpServer& s) { s.misplaceRanges(1); },
                   false,
                   -1,
                   kSize,
                   {},
                   true,
                   Body::Misplaced,
                   206,
                   Nothing,
                   Failure::Misplaced},
        ResumeCase{"206_of_another_total",
                   k60,
                   nullptr,
                   false,
                   -1,
                   kSize + 1,
                   {},
                   true,
                   Body::Misplaced,
                   206,
                   Nothing,
                   Failure::Misplaced},
        // the ceiling counts what this request brings, not what the caller holds
        ResumeCase{"ceiling_of_exactly_the_rest", k60, nullptr, false, -1, kSize, 0, true, Body::Continuation,
                   206, Rest},
        ResumeCase{"ceiling_one_byte_short_of_the_rest", k60, nullptr, false, -1, kSize, -1, true,
                   Body::Continuation, 206, Nothing, Failure::TooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RangedFetch, ValidatorsAndRangeSupportAreReported)
{
    QTemporaryDir folder;
    QFile f(folder.path() + QStringLiteral("/A.7z"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    HttpServer server(folder.path());
    QtHttpTransfer http;
    const QString url = server.baseUrl() + QStringLiteral("A.7z");

    const Fetched full = fetchRanged(http, url, {}, 100);
    EXPECT_TRUE(full.result.ok);
    EXPECT_TRUE(full.result.acceptsRanges);
    EXPECT_TRUE(full.result.etag.startsWith('"')) << full.result.etag.toStdString();
    EXPECT_TRUE(full.result.lastModified.endsWith(" GMT")) << full.result.lastModified.toStdString();
    EXPECT_EQ(full.result.total, 3);

    server.honourRanges(false);
    server.sendValidators(false);
    const Fetched plain = fetchRanged(http, url, {}, 100);
    EXPECT_FALSE(plain.result.acceptsRanges);
    EXPECT_EQ(plain.result.etag, QByteArray());
    EXPECT_EQ(plain.result.lastModified, QByteArray());
}

// A weak entity tag never matches in If-Range, so the date names the version.
TEST(RangedFetch, WeakEntityTagGivesWayToTheDate)
{
    QTemporaryDir folder;
    QFile f(folder.path() + QStringLiteral("/A.7z"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0123456789");
    f.close();
    HttpServer server(folder.path());
    QtHttpTransfer http;
    const QString url = server.baseUrl() + QStringLiteral("A.7z");
    const Fetched full = fetchRanged(http, url, {}, 100);
    ASSERT_FALSE(full.result.lastModified.isEmpty());

    const Fetched rest =
        fetchRanged(http, url, {4, 10, "W/" + full.result.etag, full.result.lastModified}, 100);

    EXPECT_EQ(server.served().back().ifRange, full.result.lastModified);
    EXPECT_EQ(rest.result.body, Body::Continuation);
    EXPECT_EQ(rest.body, QByteArray("456789"));
}

// Without a validator no range is asked for, and a part the server sends all the same is not appended,
// even one that starts where the held bytes end.
TEST(RangedFetch, PartNotAskedForIsNeverAContinuation)
{
    HttpServer server;
    server.handle(QStringLiteral("/download/Verzija20/A.7z"), [](const auto&, auto& r) {
        r.status = 206;
        r.set_header("Content-Range", "bytes 4-9/10");
        r.set_content("456789", "application/octet-stream");
    });
    QtHttpTransfer http;
    const Fetched f = fetchRanged(http, server.baseUrl() + QStringLiteral("A.7z"), {4, 10, {}, {}}, 100);

    EXPECT_EQ(server.served().back().range, QByteArray());
    EXPECT_EQ(f.result.body, Body::Misplaced);
    EXPECT_EQ(f.body, QByteArray());
}

TEST(RangedFetch, ReceiverThatRefusesTheResponseGetsNoByteOfIt)
{
    HttpServer server;
    server.reply(QStringLiteral("A.7z"), 404, "<html>nema</html>");
    QtHttpTransfer http;
    int status = 0;
    QByteArray body;

    const HttpTransfer::RangedResult r = http.getRanged(
        server.baseUrl() + QStringLiteral("A.7z"), {}, HttpTransfer::Limits(100), nullptr,
        [&](const HttpTransfer::RangedResult& response) {
            status = response.status;
            return response.status == 200;
        },
        [&](const QByteArray& chunk) {
            body += chunk;
            return true;
        });

    EXPECT_EQ(status, 404);
    EXPECT_EQ(body, QByteArray());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failure, Failure::Refused);
    EXPECT_EQ(r.error, QStringLiteral("Prijenos je prekinut."));
}

struct FailureCase {
    const char* name;
    std::function<QString(HttpServer&)> arrange;  // the URL to fetch
    Failure failure;
    QString error;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class RangedFetchFailure : public ::testing::TestWithParam<FailureCase> {};

// The time-outs and the stall floor hold as for a plain fetch, and the result says what kind of failure
// it was, so a caller knows whether to try again or elsewhere.
TEST_P(RangedFetchFailure, SaysWhatKindOfFailureItWas)
{
    const FailureCase& c = GetParam();
    HttpServer server;
    const QString url = c.arrange(server);
    QtHttpTransfer http(1000);

    const Fetched f = fetchRanged(http, url, {0, -1, {}, {}}, 64 * 1024);

    EXPECT_FALSE(f.result.ok);
    EXPECT_EQ(f.result.failure, c.failure);
    EXPECT_EQ(f.result.error, c.error);
}

const QByteArray kTrickle(64 * 1024, 't');

INSTANTIATE_TEST_SUITE_P(
    , RangedFetchFailure,
    ::testing::Values(
        FailureCase{"refused_connection",
                    [](HttpServer&) { return HttpServer::unreachableBaseUrl() + QStringLiteral("A.7z"); },
                    Failure::Unreachable, QStringLiteral("Poslužitelj je odbio vezu.")},
        FailureCase{"connection_closed_in_the_body",
                    [](HttpServer& s) {
                        s.replyBroken(QStringLiteral("A.7z"), "prvi dio", 100);
                        return s.baseUrl() + QStringLiteral("A.7z");
                    },
                    Failure::Broken, QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa.")},
        FailureCase{"trickle_below_the_floor",
                    [](HttpServer& s) {
                        s.replySlow(QStringLiteral("A.7z"), kTrickle, 200, 50ms);
                        return s.baseUrl() + QStringLiteral("A.7z");
                    },
                    Failure::Broken,
                    QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke.")},
        FailureCase{"announced_body_past_the_ceiling",
                    [](HttpServer& s) {
                        s.reply(QStringLiteral("A.7z"), 200, QByteArray(64 * 1024 + 1, 'x'));
                        return s.baseUrl() + QStringLiteral("A.7z");
                    },
                    Failure::TooLarge,
                    QStringLiteral(
                        "Poslužitelj šalje više podataka nego što je očekivano (najviše 65536 bajtova).")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
