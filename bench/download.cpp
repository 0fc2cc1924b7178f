// Downloads one large file from a local HTTP server with DownInet and with curl, in turns, and prints
// both throughputs, their ratio and the peak resident memory of this process while DownInet ran.
//
//     bench_download [size in MiB, default 1024] [rounds, default 4]
//
// Targets: DownInet at least 0.9 x curl; peak resident memory below 64 MiB.

#include "BenchPodrska.h"
#include "platform/LocalFileSystem.h"
#include "transfer/DownInet.h"

#include <httplib.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// A kibibyte figure from /proc/self/status, e.g. "VmHWM" (peak resident) or "VmRSS".
long statusKiB(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key) && line.size() > static_cast<qsizetype>(qstrlen(key)) &&
            line[qstrlen(key)] == ':')
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Starts a new peak-resident measurement (Linux 4.0 and later).
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Serves the files of a folder under "/download/Verzija20/", streamed from disk.
class FileServer {
public:
    explicit FileServer(const QString& folder) : folder_(folder.toStdString())
    {
        server_.Get("/download/Verzija20/(.+)", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string path = folder_ + "/" + req.matches[1].str();
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) {
                res.status = 404;
                return;
            }
            const off_t size = ::lseek(fd, 0, SEEK_END);
            auto buffer = std::make_shared<std::vector<char>>(1024 * 1024);
            res.set_content_provider(
                static_cast<size_t>(size), "application/octet-stream",
                [fd, buffer](size_t offset, size_t length, httplib::DataSink& sink) {
                    const ssize_t n = ::pread(fd, buffer->data(), std::min(length, buffer->size()),
                                              static_cast<off_t>(offset));
                    return n > 0 && sink.write(buffer->data(), static_cast<size_t>(n));
                },
                [fd](bool) { ::close(fd); });
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] {
            server_.listen_after_bind();
            listenEnded_ = true;
        });
        // A stop before the server runs would be missed and leave its thread waiting forever.
        while (!server_.is_running() && !listenEnded_)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~FileServer()
    {
        server_.stop();
        thread_.join();
    }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/download/Verzija20/").arg(port_); }

private:
    std::string folder_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> listenEnded_{false};
};

// Processor time of this process and of its waited-for children, in milliseconds.
qint64 cpuMs(int who)
{
    rusage u{};
    ::getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000;
}

struct Run {
    bool ok = false;
    qint64 ms = 0;
    qint64 cpuMs = 0;
};

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double megabytesPerSecond(qint64 bytes, qint64 ms)
{
    return ms > 0 ? bytes / 1e6 / (ms / 1e3) : 0.0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 sizeMiB = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1024;
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 4;
    const qint64 size = sizeMiB * 1024 * 1024;

    QTemporaryDir dir;
    const QString served = dir.path() + QStringLiteral("/server");
    const QString program = dir.path() + QStringLiteral("/program");
    QDir().mkpath(served);
    QDir().mkpath(program + QStringLiteral("/Update"));
    const QString name = QStringLiteral("Veliki.7z");
    std::printf("Pravim datoteku od %lld MiB u %s ...\n", sizeMiB, qPrintable(dir.path()));
    if (!makeFile(served + u'/' + name, size)) {
        std::printf("Datoteka nije napravljena.\n");
        return 1;
    }
    FileServer server(served);

    LocalFileSystem fs;
    BenchOkruzenje b(fs, dir.path());
    b.racunalo.folder = program;
    Okruzenje& o = b.o;
    Stanje& stanje = b.stanje;
    stanje.PutanjaUpdate = program + QStringLiteral("/Update/");
    stanje.PrimarniServer = server.baseUrl();

    const QString target = stanje.PutanjaUpdate + name;
    const QString curlTarget = program + QStringLiteral("/curl.7z");
    const long baseline = statusKiB("VmRSS");
    const bool peakReset = resetPeak();
    long peak = 0;

    // Each run leaves no file behind, so every run writes a new file of the same size.
    auto downInet = [&]() {
        Run r;
        resetPeak();
        const qint64 cpu = cpuMs(RUSAGE_SELF);
        QElapsedTimer timer;
        timer.start();
        r.ok = DownInet(o, name, stanje.PutanjaUpdate, HttpTransfer::Limits(size)).uspjeh;
        r.ms = timer.elapsed();
        r.cpuMs = cpuMs(RUSAGE_SELF) - cpu;
        peak = std::max(peak, statusKiB("VmHWM"));
        r.ok = r.ok && QFileInfo(target).size() == size;
        QFile::remove(target);
        return r;
    };
    auto curl = [&]() {
        Run r;
        const qint64 cpu = cpuMs(RUSAGE_SELF) + cpuMs(RUSAGE_CHILDREN);
        QElapsedTimer timer;
        timer.start();
        const int exit = QProcess::execute(
            QStringLiteral("curl"),
            {QStringLiteral("-s"), QStringLiteral("-o"), curlTarget, server.baseUrl() + name});
        r.ms = timer.elapsed();
        r.cpuMs = cpuMs(RUSAGE_SELF) + cpuMs(RUSAGE_CHILDREN) - cpu;
        r.ok = exit == 0 && QFileInfo(curlTarget).size() == size;
        QFile::remove(curlTarget);
        return r;
    };

    // The two take turns at going first, so neither always meets a cold page cache.
    std::vector<qint64> downInetTimes;
    std::vector<qint64> curlTimes;
    for (int round = 1; round <= rounds; ++round) {
        Run d;
        Run c;
        if (round % 2 == 1) {
            d = downInet();
            c = curl();
        } else {
            c = curl();
            d = downInet();
        }
        if (!d.ok || !c.ok) {
            std::printf("Runda %d neispravna: DownInet %s, curl %s\n", round,
                        d.ok ? "ispravno" : "NEISPRAVNO", c.ok ? "ispravno" : "NEISPRAVNO");
            return 1;
        }
        std::printf(
            "runda %d: DownInet %4.0f MB/s (%lld ms, procesor %lld ms), curl %4.0f MB/s (%lld ms, procesor "
            "%lld ms)%s\n",
            round, megabytesPerSecond(size, d.ms), d.ms, d.cpuMs, megabytesPerSecond(size, c.ms), c.ms,
            c.cpuMs, round % 2 == 1 ? "" : ", curl prvi");
        downInetTimes.push_back(d.ms);
        curlTimes.push_back(c.ms);
    }

    const double downInetRate = megabytesPerSecond(size, median(downInetTimes));
    const double curlRate = megabytesPerSecond(size, median(curlTimes));
    std::printf("\nDatoteka: %lld MiB, medijan od %d rundi\n", sizeMiB, rounds);
    std::printf("DownInet: %.0f MB/s (najbolje %.0f MB/s)\n", downInetRate,
                megabytesPerSecond(size, *std::min_element(downInetTimes.begin(), downInetTimes.end())));
    std::printf("curl:     %.0f MB/s (najbolje %.0f MB/s)\n", curlRate,
                megabytesPerSecond(size, *std::min_element(curlTimes.begin(), curlTimes.end())));
    std::printf("Omjer DownInet / curl: %.2f (cilj >= 0.90)\n", curlRate > 0 ? downInetRate / curlRate : 0.0);
    std::printf("Rezidentna memorija: %.1f MiB prije, vrh tijekom DownInet %.1f MiB%s (cilj < 64 MiB)\n",
                baseline / 1024.0, peak / 1024.0, peakReset ? "" : " (vrh cijelog procesa)");
    return 0;
}
