// Fetches one file from the tests' HTTP server whose first transfer is cut at 60 %, and then the rest:
// once through the HTTP port's ranged request (Range with If-Range) and once with curl's
// `--continue-at -`, in the same run and from the same server. Prints, for each, the body bytes the
// server sent for the cut transfer and for the rest, their sum against the file's size, the time, and
// whether the joined file is the server's.
//
//     bench_resume [size in MiB, default 64] [cut in per cent, default 60]
//
// Target: the bytes fetched in all at most 1.1 x the file's size, as curl's.

#include "BenchPodrska.h"
#include "platform/QtHttpTransfer.h"
#include "support/HttpServer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray sha256(const QString& path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        return {};
    return hash.result();
}

// What one way of fetching did: the server's body bytes for each of its requests.
struct Outcome {
    std::vector<qint64> sent;
    qint64 ms = 0;
    bool whole = false;
    QString note;
};

// The body bytes the server sent for the requests after the first `from`.
std::vector<qint64> sentSince(const HttpServer& server, size_t from)
{
    std::vector<qint64> bytes;
    const std::vector<HttpServer::Served> served = server.served();
    for (size_t i = from; i < served.size(); ++i) bytes.push_back(served[i].bodyBytes);
    return bytes;
}

// The first fetch through the port is cut; the second asks for the rest with the validators the first
// response gave, and starts the file over when the server sends it whole.
Outcome throughPort(HttpServer& server, const QString& url, const QString& target, qint64 size)
{
    Outcome o;
    QtHttpTransfer http;
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return o;
    auto append = [&file](const QByteArray& chunk) { return file.write(chunk) == chunk.size(); };
    auto startOverUnlessContinued = [&file](const HttpTransfer::RangedResult& response) {
        if (response.body == HttpTransfer::Body::Continuation)
            return true;
        return response.status == 200 && file.resize(0) && file.seek(0);
    };
    const size_t from = server.served().size();
    QElapsedTimer timer;
    timer.start();
    const HttpTransfer::RangedResult first = http.getRanged(
        url, {0, size, {}, {}}, HttpTransfer::Limits(size), nullptr, startOverUnlessContinued, append);
    const HttpTransfer::RangedResult rest =
        http.getRanged(url, {file.pos(), size, first.etag, first.lastModified}, HttpTransfer::Limits(size),
                       nullptr, startOverUnlessContinued, append);
    o.ms = timer.elapsed();
    file.close();
    o.sent = sentSince(server, from);
    o.whole = rest.ok;
    o.note =
        QStringLiteral("prvi prijenos: %1; drugi: HTTP %2%3, primljeno %4 + %5 bajtova")
            .arg(first.ok ? QStringLiteral("cijeli") : first.error)
            .arg(rest.status)
            .arg(rest.body == HttpTransfer::Body::Continuation ? QStringLiteral(" (nastavak)") : QString())
            .arg(first.received)
            .arg(rest.received);
    return o;
}

// curl leaves the cut file as it is, and `--continue-at -` asks for the rest from its size (with no
// validator).
Outcome throughCurl(HttpServer& server, const QString& url, const QString& target)
{
    Outcome o;
    const size_t from = server.served().size();
    QElapsedTimer timer;
    timer.start();
    const int cut =
        QProcess::execute(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-o"), target, url});
    const int rest =
        QProcess::execute(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("--continue-at"),
                                                   QStringLiteral("-"), QStringLiteral("-o"), target, url});
    o.ms = timer.elapsed();
    o.sent = sentSince(server, from);
    o.whole = rest == 0;
    o.note = QStringLiteral("izlazni kodovi curla: %1, %2").arg(cut).arg(rest);
    return o;
}

void print(const char* who, const Outcome& o, qint64 size, bool sameFile)
{
    qint64 all = 0;
    QStringList parts;
    for (qint64 b : o.sent) {
        all += b;
        parts << QString::number(b);
    }
    std::printf("%-6s zahtjeva %zu, poslano %s = %lld bajtova, %.4f x veličina, %lld ms, datoteka %s\n", who,
                o.sent.size(), qPrintable(parts.join(QStringLiteral(" + "))), all,
                size > 0 ? static_cast<double>(all) / size : 0.0, o.ms, sameFile ? "ista" : "RAZLIČITA");
    std::printf("       %s\n", qPrintable(o.note));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 sizeMiB = argc > 1 ? std::max(1LL, QByteArray(argv[1]).toLongLong()) : 64;
    const qint64 percent = argc > 2 ? std::clamp(QByteArray(argv[2]).toLongLong(), 0LL, 100LL) : 60;
    const qint64 size = sizeMiB * 1024 * 1024;
    const qint64 cut = size * percent / 100;

    QTemporaryDir dir;
    const QString served = dir.path() + QStringLiteral("/server");
    QDir().mkpath(served);
    const QString name = QStringLiteral("Veliki.7z");
    std::printf("Pravim datoteku od %lld MiB u %s ...\n", sizeMiB, qPrintable(dir.path()));
    if (!makeFile(served + u'/' + name, size)) {
        std::printf("Datoteka nije napravljena.\n");
        return 1;
    }
    const QByteArray expected = sha256(served + u'/' + name);
    HttpServer server(served);
    const QString url = server.baseUrl() + name;
    std::printf("Prvi prijenos se prekida nakon %lld bajtova (%lld %%).\n\n", cut, percent);

    server.cutAfter(name, cut);
    const QString portFile = dir.path() + QStringLiteral("/port.7z");
    const Outcome port = throughPort(server, url, portFile, size);
    print("port", port, size, port.whole && sha256(portFile) == expected);

    if (QStandardPaths::findExecutable(QStringLiteral("curl")).isEmpty()) {
        std::printf("curl nije pronađen (scripts/setup ga instalira): usporedba se preskače.\n");
        return 0;
    }
    server.cutAfter(name, cut);
    const QString curlFile = dir.path() + QStringLiteral("/curl.7z");
    const Outcome curl = throughCurl(server, url, curlFile);
    print("curl", curl, size, curl.whole && sha256(curlFile) == expected);
    return 0;
}
