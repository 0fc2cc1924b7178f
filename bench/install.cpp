// Installs 71 programs with UpdatePrograma and copies the same new files with cp, in each round, and
// prints both times, their ratio and where the installation's time went (the moves into the backup
// folder and into place, the syncing, the clean-up of the Update folder, the removal of the backup
// folder with the old files, the rest). Last it syncs 71 freshly written files, as the installation
// does with what the unpacker has just left, to show what syncing costs before the disk has caught up.
//
//     bench_install [size of each file in MiB, default 8] [rounds, default 4] [folder, default the
//     temporary folder]
//
// Target: UpdatePrograma, syncing included, at most 0.5 x cp.

#include "BenchPodrska.h"
#include "install/Instalacija.h"
#include "install/PripremaVerzije.h"
#include "platform/FileSystem.h"
#include "platform/LocalFileSystem.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int BrojDatoteka = 71;

// The real file system, with the time spent in each kind of operation added up.
class TimingFileSystem : public FileSystem {
public:
    explicit TimingFileSystem(FileSystem& real) : real_(real) {}

    QMap<QString, qint64> nanoseconds;
    void reset() { nanoseconds.clear(); }

    template <typename F>
    auto timed(const char* name, F f)
    {
        QElapsedTimer timer;
        timer.start();
        auto result = f();
        nanoseconds[QString::fromLatin1(name)] += timer.nsecsElapsed();
        return result;
    }

    bool fileExists(const QString& p) override
    {
        return timed("fileExists", [&] { return real_.fileExists(p); });
    }
    bool folderExists(const QString& p) override
    {
        return timed("folderExists", [&] { return real_.folderExists(p); });
    }
    FsResult createFolder(const QString& p) override
    {
        return timed("createFolder", [&] { return real_.createFolder(p); });
    }
    FsResult removeFolder(const QString& p) override
    {
        return timed("removeFolder", [&] { return real_.removeFolder(p); });
    }
    FsResult removeFile(const QString& p) override
    {
        return timed("removeFile", [&] { return real_.removeFile(p); });
    }
    FsResult removeFiles(const QString& f, const QString& m) override
    {
        return timed("removeFiles", [&] { return real_.removeFiles(f, m); });
    }
    FsResult copyReplacing(const QString& a, const QString& b) override
    {
        return timed("copyReplacing", [&] { return real_.copyReplacing(a, b); });
    }
    FsResult move(const QString& a, const QString& b) override
    {
        return timed("move", [&] { return real_.move(a, b); });
    }
    FsResult syncFile(const QString& p) override
    {
        return timed("syncFile", [&] { return real_.syncFile(p); });
    }
    FsResult syncFolder(const QString& p) override
    {
        return timed("syncFolder", [&] { return real_.syncFolder(p); });
    }
    FsResult syncFileSystem(const QString& p) override
    {
        return timed("syncFileSystem", [&] { return real_.syncFileSystem(p); });
    }
    FsResult fileSize(const QString& p, qint64& s) override
    {
        return timed("fileSize", [&] { return real_.fileSize(p, s); });
    }
    FsResult listFiles(const QString& f, QStringList& n) override
    {
        return timed("listFiles", [&] { return real_.listFiles(f, n); });
    }
    FsResult readFile(const QString& p, QByteArray& c) override
    {
        return timed("readFile", [&] { return real_.readFile(p, c); });
    }
    FsResult readInParts(const QString& p, const std::function<bool(const QByteArray&)>& part) override
    {
        return timed("readInParts", [&] { return real_.readInParts(p, part); });
    }
    FsResult appendToFile(const QString& p, const QByteArray& b) override
    {
        return timed("appendToFile", [&] { return real_.appendToFile(p, b); });
    }
    std::unique_ptr<FileWriter> replaceFile(const QString& t, FsResult& r) override
    {
        return real_.replaceFile(t, r);
    }

private:
    FileSystem& real_;
};

bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString ime(int i)
{
    return QStringLiteral("Program%1.exe").arg(i, 2, 10, QLatin1Char('0'));
}

struct Runda {
    bool ok = false;
    qint64 instalacijaMs = 0;
    qint64 cpMs = 0;
    qint64 rmMs = 0;
    QMap<QString, qint64> dijeloviNs;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 sizeMiB = argc > 1 ? std::max<qint64>(1, QByteArray(argv[1]).toLongLong()) : 8;
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 4;
    const QString base = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::tempPath();
    const qint64 size = sizeMiB * 1024 * 1024;

    QTemporaryDir dir(base + QStringLiteral("/bench_install-XXXXXX"));
    if (!dir.isValid()) {
        std::printf("Nije moguće napraviti radnu direktoriju u %s\n", qPrintable(base));
        return 1;
    }

    LocalFileSystem local;
    TimingFileSystem fs(local);
    BenchOkruzenje b(fs, dir.path());
    Okruzenje& o = b.o;
    Stanje& stanje = b.stanje;
    ProzorModel& model = b.model;
    BenchMachine& racunalo = b.racunalo;

    std::printf("%d datoteka od %lld MiB, %d runde, u %s\n", BrojDatoteka, sizeMiB, rounds,
                qPrintable(dir.path()));

    // Each round lays out a fresh installation: the old programs, the new ones in the Update folder and
    // the control files.
    std::vector<qint64> installTimes;
    std::vector<qint64> cpTimes;
    std::vector<qint64> rmTimes;
    std::vector<qint64> syncTimes;    // the installation's syncing of files and folders
    std::vector<qint64> deleteTimes;  // its clean-up of the Update folder and removal of the backup folder
    std::vector<Runda> runde;
    for (int round = 1; round <= rounds; ++round) {
        const QString root = dir.path() + QStringLiteral("/runda%1").arg(round);
        const QString program = root + QStringLiteral("/program/");
        const QString update = program + QStringLiteral("Update/");
        const QString mreza = root + QStringLiteral("/mreza/");
        const QString cpIzvor = root + QStringLiteral("/cpizvor/");
        const QString cpCilj = root + QStringLiteral("/cp/");
        for (const QString& d : {update, mreza, cpIzvor, cpCilj}) QDir().mkpath(d);

        QByteArray stari;
        QByteArray novi;
        stanje.NoveVerzije.očisti();
        for (int i = 0; i < BrojDatoteka; ++i) {
            if (!makeFile(program + ime(i), size, 2 * i) || !makeFile(update + ime(i), size, 2 * i + 1) ||
                !makeFile(cpIzvor + ime(i), size, 2 * i + 1)) {
                std::printf("Datoteke nisu napravljene.\n");
                return 1;
            }
            const QByteArray n = ime(i).toUtf8();
            const QByteArray v = QByteArray::number(size);
            stari += n + ";20;1;0;" + v + ';' + v + ";\r\n";
            novi += n + ";20;2;0;" + v + ';' + v + ";\r\n";
            Zapis& z = stanje.NoveVerzije[i];
            z.polja = {ime(i),
                       QStringLiteral("20"),
                       QStringLiteral("2"),
                       QStringLiteral("0"),
                       QString::fromUtf8(v),
                       QString::fromUtf8(v)};
            z.zastavica = 1;
        }
        if (!writeText(program + QStringLiteral("Verzije.txt"), stari) ||
            !writeText(update + QStringLiteral("Verzije.txt"), novi) ||
            !writeText(mreza + QStringLiteral("Verzije.txt"), novi)) {
            std::printf("Kontrolne datoteke nisu napravljene.\n");
            return 1;
        }
        racunalo.folder = program.chopped(1);
        PostaviPutanje(o);
        model.postaviOptLokacija(1);
        model.postaviTxtLokacija(0, mreza);

        // cp copies its own freshly written copy of the new files: on this kind of disk a file's first
        // copy after it was written runs much faster than a later one, and each tool gets a first copy.
        // The two take turns at going first. rm then deletes cp's copies, as much deleting as each of
        // the installation's two clean-up steps does.
        Runda r;
        QElapsedTimer timer;
        int cpIzlaz = 0;
        auto kopirajCp = [&] {
            QStringList argumenti{QStringLiteral("--")};
            QStringList kopije{QStringLiteral("--")};
            for (int i = 0; i < BrojDatoteka; ++i) {
                argumenti << cpIzvor + ime(i);
                kopije << cpCilj + ime(i);
            }
            argumenti << cpCilj;
            ::sync();
            timer.start();
            cpIzlaz = QProcess::execute(QStringLiteral("cp"), argumenti);
            r.cpMs = timer.elapsed();
            ::sync();
            timer.start();
            QProcess::execute(QStringLiteral("rm"), kopije);
            r.rmMs = timer.elapsed();
        };
        bool instalirano = false;
        auto instaliraj = [&] {
            ::sync();
            fs.reset();
            timer.start();
            instalirano = UpdatePrograma(o);
            r.instalacijaMs = timer.elapsed();
            r.dijeloviNs = fs.nanoseconds;
        };
        if (round % 2 == 1) {
            kopirajCp();
            instaliraj();
        } else {
            instaliraj();
            kopirajCp();
        }

        r.ok = cpIzlaz == 0 && instalirano && QFile(program + ime(BrojDatoteka - 1)).size() == size &&
               !QDir(program + QStringLiteral("UpdateBackup")).exists();
        if (!r.ok) {
            std::printf("Runda %d neispravna: cp %s, UpdatePrograma %s\n", round,
                        cpIzlaz == 0 ? "ispravno" : "NEISPRAVNO", instalirano ? "ispravno" : "NEISPRAVNO");
            return 1;
        }
        auto ms = [&](const char* k) { return r.dijeloviNs.value(QString::fromLatin1(k)) / 1e6; };
        double ukupnoDijelova = 0;
        for (qint64 ns : r.dijeloviNs) ukupnoDijelova += ns / 1e6;
        const double poznato = ms("move") + ms("syncFile") + ms("syncFolder") + ms("syncFileSystem") +
                               ms("copyReplacing") + ms("removeFiles") + ms("removeFolder") +
                               ms("removeFile");
        std::printf(
            "runda %d: UpdatePrograma %lld ms, cp %lld ms, omjer %.2f; rm kopija %lld ms\n"
            "          premještanje %.0f ms, sinkronizacija datoteka %.0f ms, direktorija %.0f ms i "
            "datotečnog sustava %.0f ms, "
            "kopiranje "
            "kontrolne datoteke %.0f ms, brisanje fajlova u Update %.0f ms, brisanje UpdateBackup %.0f ms, "
            "ostale datotečne operacije %.0f ms, ostalo %.0f ms%s\n",
            round, r.instalacijaMs, r.cpMs, r.cpMs > 0 ? double(r.instalacijaMs) / r.cpMs : 0.0, r.rmMs,
            ms("move"), ms("syncFile"), ms("syncFolder"), ms("syncFileSystem"), ms("copyReplacing"),
            ms("removeFiles"), ms("removeFolder") + ms("removeFile"), ukupnoDijelova - poznato,
            r.instalacijaMs - ukupnoDijelova, round % 2 == 1 ? "" : " (UpdatePrograma prvi)");
        installTimes.push_back(r.instalacijaMs);
        cpTimes.push_back(r.cpMs);
        rmTimes.push_back(r.rmMs);
        syncTimes.push_back((r.dijeloviNs.value(QStringLiteral("syncFile")) +
                             r.dijeloviNs.value(QStringLiteral("syncFolder")) +
                             r.dijeloviNs.value(QStringLiteral("syncFileSystem"))) /
                            1000000);
        deleteTimes.push_back((r.dijeloviNs.value(QStringLiteral("removeFiles")) +
                               r.dijeloviNs.value(QStringLiteral("removeFolder")) +
                               r.dijeloviNs.value(QStringLiteral("removeFile"))) /
                              1000000);
        runde.push_back(r);
        QDir(root).removeRecursively();
    }

    const qint64 install = median(installTimes);
    const qint64 cp = median(cpTimes);
    const double megabajta = BrojDatoteka * size / 1e6;
    std::printf("\n%d datoteka od %lld MiB (%.0f MB), medijan od %d rundi\n", BrojDatoteka, sizeMiB,
                megabajta, rounds);
    std::printf("UpdatePrograma: %lld ms (%.0f MB/s)\n", install,
                install > 0 ? megabajta / (install / 1e3) : 0.0);
    std::printf("cp:             %lld ms (%.0f MB/s)\n", cp, cp > 0 ? megabajta / (cp / 1e3) : 0.0);
    std::printf("Omjer UpdatePrograma / cp: %.2f (cilj <= 0.50)\n", cp > 0 ? double(install) / cp : 0.0);
    const qint64 syncs = median(syncTimes);
    const qint64 deletes = median(deleteTimes);
    const qint64 rm = median(rmTimes);
    std::printf(
        "Od toga sinkronizacija %lld ms (bez nje omjer %.2f), a brisanje fajlova u Update i direktorije "
        "UpdateBackup sa starim datotekama %lld ms (%.0f %% instalacije); rm istih datoteka: %lld ms\n",
        syncs, cp > 0 ? double(install - syncs) / cp : 0.0, deletes,
        install > 0 ? 100.0 * deletes / install : 0.0, rm);

    // What the syncing costs when the files were just written, as right after the unpacking.
    const QString svjeze = dir.path() + QStringLiteral("/svjeze/");
    QDir().mkpath(svjeze);
    for (int i = 0; i < BrojDatoteka; ++i)
        if (!makeFile(svjeze + ime(i), size, 7 * i + 3)) {
            std::printf("Datoteke nisu napravljene.\n");
            return 1;
        }
    QElapsedTimer timer;
    timer.start();
    local.syncFileSystem(svjeze);
    const qint64 svježeMs = timer.elapsed();
    std::printf(
        "Sinkronizacija %d svježe napisanih datoteka (kao odmah nakon raspakiravanja): %lld ms (%.2f x cp); "
        "taj upis na disk sustav bi inače obavio kasnije sam\n",
        BrojDatoteka, svježeMs, cp > 0 ? double(svježeMs) / cp : 0.0);
    timer.start();
    for (int i = 0; i < BrojDatoteka; ++i) local.syncFile(svjeze + ime(i));
    std::printf(
        "Iste, već sinkronizirane datoteke, jedna po jedna (syncFile): %lld ms, a cijeli disk jednom: ",
        timer.elapsed());
    timer.start();
    local.syncFileSystem(svjeze);
    std::printf("%lld ms\n", timer.elapsed());
    return 0;
}
