#include "publish/Objava.h"

#include "core/TekstKontrolneDatoteke.h"
#include "platform/FileSystem.h"
#include "platform/ProcessRunner.h"
#include "transfer/Raspakiravanje.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

namespace {

QString saKosomCrtom(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

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
        if (!fs.fileExists(saKosomCrtom(objava.izdanje) + stavka.ime)) {
            greške << gdje + QStringLiteral("ne postoji datoteka %1%2.")
                                 .arg(saKosomCrtom(objava.izdanje), stavka.ime);
            continue;
        }
        imena.insert(stavka.ime);
        arhive.insert(stavka.arhiva);
        stavke << stavka;
    }
    if (greške.isEmpty() && stavke.isEmpty())
        greške << QStringLiteral("Popis izdanja %1 nema nijedne stavke.").arg(objava.popis);
    if (stavke.size() > 71)
        greške << QStringLiteral("Popis ima %1 stavki, a kontrolna datoteka ih može imati najviše 71.")
                      .arg(stavke.size());
    return greške.isEmpty();
}

bool Objavi(FileSystem& fs, ProcessRunner& procesi, const Objava& objava, QStringList& poruke)
{
    QList<StavkaObjave> stavke;
    if (!ProvjeriPopis(fs, objava, stavke, poruke))
        return false;

    const QString izlaz = saKosomCrtom(objava.izlaz);
    const QString izdanje = saKosomCrtom(objava.izdanje);
    if (!fs.folderExists(izlaz)) {
        if (const FsResult r = fs.createFolder(izlaz); !r) {
            poruke << QStringLiteral("Nije moguće napraviti izlaznu direktoriju %1: %2").arg(izlaz, r.error);
            return false;
        }
    }
    QString alat = procesi.findOnPath(QStringLiteral("7za"));
    if (alat.isEmpty()) {
        poruke << QStringLiteral("Nije pronađen alat 7za (paket p7zip-full).");
        return false;
    }

    const QString priprema = izlaz + QStringLiteral(".objava-%1/").arg(QCoreApplication::applicationPid());
    počisti(fs, priprema);
    if (const FsResult r = fs.createFolder(priprema); !r) {
        poruke
            << QStringLiteral("Nije moguće napraviti privremenu direktoriju %1: %2").arg(priprema, r.error);
        return false;
    }

    QByteArray kontrolna;
    for (const StavkaObjave& s : stavke) {
        const QString izvor = izdanje + s.ime;
        const QString arhiva = priprema + s.arhiva;
        const bool samoKopija =
            s.ime.endsWith(QStringLiteral("chm")) || s.ime.endsWith(QStringLiteral("enc"));
        if (samoKopija) {
            if (const FsResult r = fs.copyReplacing(izvor, arhiva); !r) {
                poruke << QStringLiteral("Kopiranje %1 nije uspjelo: %2").arg(izvor, r.error);
                počisti(fs, priprema);
                return false;
            }
        } else {
            const ProcessRunner::Result r =
                procesi.run(alat, {QStringLiteral("a"), QStringLiteral("-t7z"), QStringLiteral("-mx=9"),
                                   QStringLiteral("-bd"), QStringLiteral("-y"), arhiva, izvor});
            if (!r.started || !fs.fileExists(arhiva)) {
                poruke << QStringLiteral("Arhiva %1 nije napravljena%2")
                              .arg(s.arhiva, r.started ? QString() : QStringLiteral(": ") + r.error);
                počisti(fs, priprema);
                return false;
            }
        }
        qint64 veličinaArhive = 0;
        qint64 veličina = 0;
        if (!fs.fileSize(arhiva, veličinaArhive) || !fs.fileSize(izvor, veličina)) {
            poruke << QStringLiteral("Veličinu datoteke %1 nije moguće očitati.").arg(s.ime);
            počisti(fs, priprema);
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
    }

    // The control file is checked by the updater's own reader before anything is published.
    Matrica provjera;
    if (!PročitajMatricu(provjera, kontrolna, QStringLiteral("Verzije.txt")).ok()) {
        poruke << QStringLiteral("Napravljena kontrolna datoteka nije ispravna.");
        počisti(fs, priprema);
        return false;
    }
    FsResult r;
    auto pisač = fs.replaceFile(priprema + QStringLiteral("Verzije.txt"), r);
    if (!pisač || !(r = pisač->write(kontrolna)) || !(r = pisač->commit())) {
        poruke << QStringLiteral("Verzije.txt nije moguće upisati: %1").arg(r.error);
        počisti(fs, priprema);
        return false;
    }
    pisač.reset();

    // Archives first, the control file last: a server that serves the folder meanwhile never lists
    // an archive that is not there yet.
    for (const StavkaObjave& s : stavke) {
        if (const FsResult m = fs.copyReplacing(priprema + s.arhiva, izlaz + s.arhiva); !m) {
            poruke << QStringLiteral("Premještanje %1 u %2 nije uspjelo: %3").arg(s.arhiva, izlaz, m.error);
            počisti(fs, priprema);
            return false;
        }
    }
    if (const FsResult m =
            fs.copyReplacing(priprema + QStringLiteral("Verzije.txt"), izlaz + QStringLiteral("Verzije.txt"));
        !m) {
        poruke << QStringLiteral("Premještanje Verzije.txt u %1 nije uspjelo: %2").arg(izlaz, m.error);
        počisti(fs, priprema);
        return false;
    }
    počisti(fs, priprema);
    poruke << QStringLiteral("Objavljeno %1 stavki u %2").arg(stavke.size()).arg(izlaz);
    return true;
}
