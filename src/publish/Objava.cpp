#include "publish/Objava.h"

#include "core/ImenaDatoteka.h"
#include "core/Putanje.h"
#include "core/TekstKontrolneDatoteke.h"
#include "core/VrstaDatoteke.h"
#include "platform/FileSystem.h"
#include "platform/ProcessRunner.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <utility>

namespace {

bool jeVerzija(const QString& tekst)
{
    static const QRegularExpression broj(QStringLiteral("^\\d{1,9}$"));
    return broj.match(tekst).hasMatch();
}

// Removes a staging folder and everything in it; a leftover is harmless, so failures are ignored.
void počisti(FileSystem& fs, const QString& folder)
{
    if (fs.folderExists(folder))
        fs.removeFolder(folder);
}

// The staging folder of one run, removed when the run ends, whichever way it ends.
class PripremnaMapa {
public:
    PripremnaMapa(FileSystem& fs, QString mapa) : fs_(fs), mapa_(std::move(mapa)) {}
    PripremnaMapa(const PripremnaMapa&) = delete;
    PripremnaMapa& operator=(const PripremnaMapa&) = delete;
    ~PripremnaMapa() { počisti(fs_, mapa_); }

private:
    FileSystem& fs_;
    QString mapa_;
};

// Makes the output folder and finds the 7-Zip tool; empty when the run cannot go on (told in
// `poruke`).
QString PripremiIzlazIAlat(FileSystem& fs, ProcessRunner& procesi, const QString& izlaz, QStringList& poruke)
{
    if (!fs.folderExists(izlaz)) {
        if (const FsResult r = fs.createFolder(izlaz); !r) {
            poruke << QStringLiteral("Nije moguće napraviti izlaznu direktoriju %1: %2").arg(izlaz, r.error);
            return QString();
        }
    }
    const QString alat = procesi.findOnPath(QStringLiteral("7za"));
    if (alat.isEmpty())
        poruke << QStringLiteral("Nije pronađen alat 7za (paket p7zip-full).");
    return alat;
}

// Makes the archive of one entry in the staging folder and adds its line to the control file.
bool NapraviArhivu(FileSystem& fs, ProcessRunner& procesi, const QString& alat, const QString& izdanje,
                   const QString& priprema, const StavkaObjave& s, QByteArray& kontrolna, QStringList& poruke)
{
    const QString izvor = izdanje + s.ime;
    const QString arhiva = priprema + s.arhiva;
    if (SamoKopiranje(s.ime)) {
        if (const FsResult r = fs.copyReplacing(izvor, arhiva); !r) {
            poruke << QStringLiteral("Kopiranje %1 nije uspjelo: %2").arg(izvor, r.error);
            return false;
        }
    } else {
        const ProcessRunner::Result r =
            procesi.run(alat, {QStringLiteral("a"), QStringLiteral("-t7z"), QStringLiteral("-mx=9"),
                               QStringLiteral("-bd"), QStringLiteral("-y"), arhiva, izvor});
        if (!r.started || !fs.fileExists(arhiva)) {
            poruke << QStringLiteral("Arhiva %1 nije napravljena%2")
                          .arg(s.arhiva, r.started ? QString() : QStringLiteral(": ") + r.error);
            return false;
        }
    }
    qint64 veličinaArhive = 0;
    qint64 veličina = 0;
    if (!fs.fileSize(arhiva, veličinaArhive) || !fs.fileSize(izvor, veličina)) {
        poruke << QStringLiteral("Veličinu datoteke %1 nije moguće očitati.").arg(s.ime);
        return false;
    }
    kontrolna +=
        (s.ime + u';' + s.verzije[0] + u';' + s.verzije[1] + u';' + s.verzije[2] + u';' +
         QString::number(veličinaArhive) + u';' + QString::number(veličina) + QStringLiteral(";\r\n"))
            .toLocal8Bit();
    poruke << QStringLiteral("%1: arhiva %2, %3 bajtova (raspakirano %4 bajtova)")
                  .arg(s.ime, s.arhiva)
                  .arg(veličinaArhive)
                  .arg(veličina);
    return true;
}

// The control file is checked by the updater's own reader before it is written to the staging folder.
bool UpišiKontrolnu(FileSystem& fs, const QString& priprema, const QByteArray& kontrolna, QStringList& poruke)
{
    Matrica provjera;
    if (!PročitajMatricu(provjera, kontrolna, ImeKontrolneDatoteke).ok()) {
        poruke << QStringLiteral("Napravljena kontrolna datoteka nije ispravna.");
        return false;
    }
    FsResult r;
    auto pisač = fs.replaceFile(priprema + ImeKontrolneDatoteke, r);
    if (!pisač || !(r = pisač->write(kontrolna)) || !(r = pisač->commit())) {
        poruke << QStringLiteral("Verzije.txt nije moguće upisati: %1").arg(r.error);
        return false;
    }
    return true;
}

// Archives first, the control file last: a server that serves the folder meanwhile never lists an
// archive that is not there yet.
bool PrenesiUIzlaz(FileSystem& fs, const QString& priprema, const QString& izlaz,
                   const QList<StavkaObjave>& stavke, QStringList& poruke)
{
    for (const StavkaObjave& s : stavke) {
        if (const FsResult m = fs.copyReplacing(priprema + s.arhiva, izlaz + s.arhiva); !m) {
            poruke << QStringLiteral("Premještanje %1 u %2 nije uspjelo: %3").arg(s.arhiva, izlaz, m.error);
            return false;
        }
    }
    if (const FsResult m = fs.copyReplacing(priprema + ImeKontrolneDatoteke, izlaz + ImeKontrolneDatoteke);
        !m) {
        poruke << QStringLiteral("Premještanje Verzije.txt u %1 nije uspjelo: %2").arg(izlaz, m.error);
        return false;
    }
    return true;
}

}  // namespace

bool ProvjeriPopis(FileSystem& fs, const Objava& objava, QList<StavkaObjave>& stavke, QStringList& greške)
{
    stavke.clear();
    QByteArray sadržaj;
    if (const FsResult pročitano = fs.readFile(objava.popis, sadržaj); !pročitano) {
        greške << QStringLiteral("Popis izdanja %1 nije moguće pročitati: %2")
                      .arg(objava.popis, pročitano.error);
        return false;
    }
    if (!fs.folderExists(objava.izdanje))
        greške << QStringLiteral("Ne postoji direktorija izdanja: %1").arg(objava.izdanje);

    QSet<QString> imena;
    QSet<QString> arhive;
    const QStringList redovi = QString::fromUtf8(sadržaj).split(u'\n');
    for (int i = 0; i < redovi.size(); ++i) {
        QString red = redovi[i];
        if (red.endsWith(u'\r'))
            red.chop(1);
        if (red.trimmed().isEmpty() || red.trimmed().startsWith(u'#'))
            continue;
        const QString gdje = QStringLiteral("Popis, red %1: ").arg(i + 1);
        const QStringList dijelovi = red.split(u';');
        if (dijelovi.size() != 4) {
            greške << gdje + QStringLiteral(
                                 "očekuju se četiri polja \"Ime;Ver_Gl;Ver_Pom;Ver_Rev\", a ima ih %1.")
                                 .arg(dijelovi.size());
            continue;
        }
        StavkaObjave stavka;
        stavka.ime = dijelovi[0];
        if (stavka.ime.isEmpty() || stavka.ime.trimmed() != stavka.ime || !JeDozvoljenoIme(stavka.ime)) {
            greške << gdje + QStringLiteral(
                                 "ime \"%1\" nije dozvoljeno: mora biti obično ime datoteke, bez "
                                 "direktorija, uređaja, kontrolnih znakova i praznina na rubovima.")
                                 .arg(stavka.ime);
            continue;
        }
        bool verzijeUredu = true;
        for (int v = 0; v < 3; ++v) {
            stavka.verzije[v] = dijelovi[v + 1].trimmed();
            if (!jeVerzija(stavka.verzije[v])) {
                greške << gdje + QStringLiteral("verzija \"%1\" za %2 nije cijeli broj.")
                                     .arg(dijelovi[v + 1], stavka.ime);
                verzijeUredu = false;
            }
        }
        if (!verzijeUredu)
            continue;
        stavka.arhiva = ImeArhive(stavka.ime);
        if (imena.contains(stavka.ime)) {
            greške << gdje + QStringLiteral("%1 je već na popisu.").arg(stavka.ime);
            continue;
        }
        if (arhive.contains(stavka.arhiva)) {
            greške << gdje + QStringLiteral("arhiva %1 za %2 već pripada drugoj stavci popisa.")
                                 .arg(stavka.arhiva, stavka.ime);
            continue;
        }
        if (!fs.fileExists(SaKosomCrtom(objava.izdanje) + stavka.ime)) {
            greške << gdje + QStringLiteral("ne postoji datoteka %1%2.")
                                 .arg(SaKosomCrtom(objava.izdanje), stavka.ime);
            continue;
        }
        imena.insert(stavka.ime);
        arhive.insert(stavka.arhiva);
        stavke << stavka;
    }
    if (greške.isEmpty() && stavke.isEmpty())
        greške << QStringLiteral("Popis izdanja %1 nema nijedne stavke.").arg(objava.popis);
    if (stavke.size() > Matrica::BrojZapisa)
        greške << QStringLiteral("Popis ima %1 stavki, a kontrolna datoteka ih može imati najviše %2.")
                      .arg(stavke.size())
                      .arg(Matrica::BrojZapisa);
    return greške.isEmpty();
}

bool Objavi(FileSystem& fs, ProcessRunner& procesi, const Objava& objava, QStringList& poruke)
{
    QList<StavkaObjave> stavke;
    if (!ProvjeriPopis(fs, objava, stavke, poruke))
        return false;

    const QString izlaz = SaKosomCrtom(objava.izlaz);
    const QString izdanje = SaKosomCrtom(objava.izdanje);
    const QString alat = PripremiIzlazIAlat(fs, procesi, izlaz, poruke);
    if (alat.isEmpty())
        return false;

    const QString priprema = izlaz + QStringLiteral(".objava-%1/").arg(QCoreApplication::applicationPid());
    počisti(fs, priprema);
    if (const FsResult r = fs.createFolder(priprema); !r) {
        poruke
            << QStringLiteral("Nije moguće napraviti privremenu direktoriju %1: %2").arg(priprema, r.error);
        return false;
    }
    const PripremnaMapa pripremna(fs, priprema);

    QByteArray kontrolna;
    for (const StavkaObjave& s : stavke)
        if (!NapraviArhivu(fs, procesi, alat, izdanje, priprema, s, kontrolna, poruke))
            return false;
    if (!UpišiKontrolnu(fs, priprema, kontrolna, poruke) ||
        !PrenesiUIzlaz(fs, priprema, izlaz, stavke, poruke))
        return false;
    poruke << QStringLiteral("Objavljeno %1 stavki u %2").arg(stavke.size()).arg(izlaz);
    return true;
}
