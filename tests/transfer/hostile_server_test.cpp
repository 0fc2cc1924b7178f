#include "transfer/DownInet.h"

#include "support/HttpServer.h"
#include "support/QtPrinters.h"
#include "support/TestOkruzenje.h"

#include <httplib.h>
#include <zlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

// The Update folder's files, hidden ones included so that a left-over partial file shows.
QStringList filesOtherThanTheLog(const TestOkruzenje& t)
{
    QStringList files = QDir(t.stanje.PutanjaUpdate).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    files.removeAll(QStringLiteral("Update.log"));
    return files;
}

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// The transfers' time-out window in these tests; the program's own is 60 seconds.
constexpr int kWindowMs = 2000;
// What a hostile server sends at most before it gives up by itself.
constexpr size_t kServerCap = 64 * 1024 * 1024;
const char* const kBinary = "application/octet-stream";

const std::string kPiece(64 * 1024, 'z');

const QString kTimeOut = QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke.");

QString tooMuch(qint64 ceiling)
{
    return QStringLiteral("Poslužitelj šalje više podataka nego što je očekivano (najviše ") +
           QString::number(ceiling) + QStringLiteral(" bajtova).");
}

std::string gzip(const std::string& text)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, text.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Sends pieces without end, up to the cap, and closes.
bool endless(size_t offset, httplib::DataSink& sink)
{
    if (offset >= kServerCap) {
        sink.done();
        return true;
    }
    return sink.write(kPiece.data(), kPiece.size());
}

// A slow server gives up by itself after a few windows and closes the connection short of its body,
// so that a stall rule that does not work fails on the message within seconds, not at the suite's
// time-out.
bool beforeTheServersEnd(std::chrono::steady_clock::time_point start)
{
    return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(4 * kWindowMs);
}

struct HostileCase {
    const char* name;
    // Makes `path` answer as the hostile server does, for a body whose ceiling is `ceiling`.
    std::function<void(HttpServer&, const QString& path, qint64 ceiling)> arrange;
    bool timesOut;  // else the body is more than expected
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

const HostileCase kHostileCases[] = {
    {"endless_body_with_content_length",
     [](HttpServer& s, const QString& path, qint64) {
         s.handle(path, [](const httplib::Request&, httplib::Response& r) {
             r.set_content_provider(
                 size_t(1) << 40, kBinary, [](size_t offset, size_t, httplib::DataSink& sink) {
                     return offset < kServerCap && sink.write(kPiece.data(), kPiece.size());
                 });
         });
     },
     false},
    {"endless_chunked_body",
     [](HttpServer& s, const QString& path, qint64) {
         s.handle(path, [](const httplib::Request&, httplib::Response& r) {
             r.set_chunked_content_provider(kBinary, endless);
         });
     },
     false},
    {"endless_body_until_the_connection_closes",
     [](HttpServer& s, const QString& path, qint64) {
         s.handle(path, [](const httplib::Request&, httplib::Response& r) {
             r.set_content_provider(kBinary, endless);
         });
     },
     false},
    {"content_length_over_the_ceiling",
     [](HttpServer& s, const QString& path, qint64 ceiling) {
         const std::string body(static_cast<size_t>(ceiling) + 1, 'v');
         s.handle(path,
                  [body](const httplib::Request&, httplib::Response& r) { r.set_content(body, kBinary); });
     },
     false},
    {"one_byte_over_without_a_length",
     [](HttpServer& s, const QString& path, qint64 ceiling) {
         const auto body = std::make_shared<std::string>(static_cast<size_t>(ceiling) + 1, 'v');
         s.handle(path, [body](const httplib::Request&, httplib::Response& r) {
             r.set_chunked_content_provider(kBinary, [body](size_t offset, httplib::DataSink& sink) {
                 if (offset >= body->size()) {
                     sink.done();
                     return true;
                 }
                 return sink.write(body->data() + offset, std::min<size_t>(16 * 1024, body->size() - offset));
             });
         });
     },
     false},
    {"gzip_that_expands_past_the_ceiling",
     [](HttpServer& s, const QString& path, qint64 ceiling) {
         const std::string body = gzip(std::string(static_cast<size_t>(ceiling) * 16, '\0'));
         s.handle(path, [body](const httplib::Request&, httplib::Response& r) {
             r.set_header("Content-Encoding", "gzip");
             r.set_content(body, kBinary);
         });
     },
     false},
    {"one_byte_a_second",
     [](HttpServer& s, const QString& path, qint64 ceiling) {
         s.handle(path, [&s, ceiling](const httplib::Request&, httplib::Response& r) {
             const auto start = std::chrono::steady_clock::now();
             r.set_content_provider(
                 static_cast<size_t>(ceiling), kBinary, [&s, start](size_t, size_t, httplib::DataSink& sink) {
                     return beforeTheServersEnd(start) && s.pause(1s) && sink.write("x", 1);
                 });
         });
     },
     true},
    // The floor met in the first window must not carry the next windows: each is counted afresh.
    {"fast_start_then_a_trickle",
     [](HttpServer& s, const QString& path, qint64 ceiling) {
         s.handle(path, [&s, ceiling](const httplib::Request&, httplib::Response& r) {
             const auto start = std::chrono::steady_clock::now();
             r.set_content_provider(static_cast<size_t>(ceiling), kBinary,
                                    [&s, start](size_t offset, size_t, httplib::DataSink& sink) {
                                        if (offset == 0)
                                            return sink.write(kPiece.data(), kPiece.size());
                                        return beforeTheServersEnd(start) && s.pause(250ms) &&
                                               sink.write("x", 1);
                                    });
         });
     },
     true},
    {"silence_after_the_headers",
     [](HttpServer& s, const QString& path, qint64 ceiling) {
         s.replyStalled(path.mid(path.lastIndexOf(u'/') + 1), QByteArray(), ceiling);
     },
     true},
};

// A control file and an archive, each with the ceiling its caller gives.
struct Target {
    const char* name;
    QString file;
    HttpTransfer::Limits limits;
};

const Target kTargets[] = {
    {"control_file", QStringLiteral("Verzije.txt"), HttpTransfer::Limits(NajvećaKontrolnaDatoteka)},
    {"archive", QStringLiteral("Program.7z"), GraniceArhive(QStringLiteral("100000"))},
};

void PrintTo(const Target& t, std::ostream* os)
{
    *os << t.name;
}

class HostileServer : public ::testing::TestWithParam<std::tuple<Target, HostileCase>> {};

TEST_P(HostileServer, EndsWithItsMessageWritesAtMostTheCeilingAndKeepsTheOldFile)
{
    const auto& [target, c] = GetParam();
    TestOkruzenje t(kWindowMs);
    HttpServer server;
    t.stanje.PrimarniServer = server.baseUrl();
    const qint64 ceiling = target.limits.maxBodyBytes;
    c.arrange(server, QStringLiteral("/download/Verzija20/") + target.file, ceiling);
    const QString path = t.stanje.PutanjaUpdate + target.file;
    const QByteArray old = "stara datoteka";
    t.write(path, old);

    QElapsedTimer timer;
    timer.start();
    const Ishod fetched = DownInet(t.o, target.file, t.stanje.PutanjaUpdate, target.limits);
    const qint64 elapsed = timer.elapsed();

    const QString reason = c.timesOut ? kTimeOut : tooMuch(ceiling);
    EXPECT_FALSE(fetched.uspjeh);
    EXPECT_THAT(t.dijalozi.texts(), ElementsAre(QStringLiteral("Greška: ") + reason));
    EXPECT_EQ(fetched.poruka, reason);
    EXPECT_LE(t.fs.written(path), ceiling);
    EXPECT_EQ(t.read(path), old);
    EXPECT_THAT(filesOtherThanTheLog(t), ElementsAre(target.file));
    // A stall is given up one window after the headers; every other case needs no window at all.
    EXPECT_LT(elapsed, c.timesOut ? 2 * kWindowMs + 2000 : kWindowMs);
    std::printf("[ figures  ] %s/%s: %lld bytes written, message after %lld ms: %s\n", target.name, c.name,
                static_cast<long long>(t.fs.written(path)), static_cast<long long>(elapsed),
                fetched.poruka.toUtf8().constData());
}

INSTANTIATE_TEST_SUITE_P(
    , HostileServer, ::testing::Combine(::testing::ValuesIn(kTargets), ::testing::ValuesIn(kHostileCases)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
