#include "install/Dnevnik.h"

#include "core/Okruzenje.h"
#include "core/Putanje.h"
#include "core/VrstaDatoteke.h"
#include "install/PrivremeneDatoteke.h"

#include <memory>

namespace {

const QByteArray Zaglavlje = QByteArrayLiteral("LumivexLiveUpdate20 dnevnik instalacije");
const QByteArray Potvrda = QStringLiteral("POTVRĐENO").toUtf8();
const QByteArray CRLF = QByteArrayLiteral("\r\n");

FsResult neispravan(const QString& razlog)
{
    return FsResult::failure(QStringLiteral("Dnevnik instalacije nije ispravan: ") + razlog);
}

}  // namespace

QString PutanjaDnevnika(Okruzenje& o)
{
    return o.stanje.PutanjaBackup + ImeDnevnika;
}

FsResult ZapišiDnevnik(Okruzenje& o, const DnevnikInstalacije& dnevnik)
{
    QByteArray tekst = Zaglavlje + CRLF;
    for (const ZapisDnevnika& z : dnevnik.zapisi)
        tekst += (z.staraPostoji ? "1;" : "0;") + z.ime.toUtf8() + ';' + z.direktorija.toUtf8() + CRLF;
    if (dnevnik.potvrđen)
        tekst += Potvrda + CRLF;

    FsResult otvoreno;
    std::unique_ptr<FileWriter> pisač = o.fs.replaceFile(PutanjaDnevnika(o), otvoreno);
    if (!pisač)
        return otvoreno;
    if (FsResult r = pisač->write(tekst); !r)
        return r;
    return pisač->commit();
}

FsResult PotvrdiDnevnik(Okruzenje& o)
{
    if (FsResult r = o.fs.appendToFile(PutanjaDnevnika(o), Potvrda + CRLF); !r)
        return r;
    return o.fs.syncFile(PutanjaDnevnika(o));
}

FsResult PročitajDnevnik(Okruzenje& o, DnevnikInstalacije& dnevnik)
{
    dnevnik = {};
    QByteArray tekst;
    if (FsResult r = o.fs.readFile(PutanjaDnevnika(o), tekst); !r)
        return r;
    QList<QByteArray> redovi = tekst.split('\n');
    // The last line ends in CR LF, so the split leaves an empty piece after it.
    if (!redovi.isEmpty() && redovi.last().isEmpty())
        redovi.removeLast();
    for (QByteArray& red : redovi)
        if (red.endsWith('\r'))
            red.chop(1);
    if (redovi.value(0) != Zaglavlje)
        return neispravan(QStringLiteral("nema zaglavlja."));
    for (qsizetype i = 1; i < redovi.size(); ++i) {
        const QByteArray& red = redovi[i];
        const bool zadnji = i == redovi.size() - 1;
        if (zadnji && red == Potvrda) {
            dnevnik.potvrđen = true;
            break;
        }
        const qsizetype prvi = red.indexOf(';');
        const qsizetype drugi = red.indexOf(';', prvi + 1);
        if (prvi == 1 && drugi > 2 && (red[0] == '0' || red[0] == '1') && drugi + 1 < red.size()) {
            dnevnik.zapisi.push_back({QString::fromUtf8(red.mid(2, drugi - 2)),
                                      QString::fromUtf8(red.mid(drugi + 1)), red[0] == '1'});
            continue;
        }
        // A power cut may cut the mark short; the journal is then simply not committed.
        if (zadnji && Potvrda.startsWith(red))
            break;
        return neispravan(QStringLiteral("redak ") + QString::number(i + 1) + QStringLiteral("."));
    }
    return FsResult::success();
}

namespace {

// The clean-up logs as the installation that it finishes.
Zapisnik::SPrefiksom logiraj(Okruzenje& o)
{
    return o.log.sPrefiksom(QStringLiteral("UpdatePrograma - "));
}

}  // namespace

void OčistiNakonInstalacije(Okruzenje& o)
{
    Stanje& s = o.stanje;
    for (const QString& maska : MaskeDohvaćenih) {
        logiraj(o)(QStringLiteral("Brisanje fajlova ") + maska);
        if (const FsResult r = o.fs.removeFiles(s.PutanjaUpdate, maska); !r)
            logiraj(o)(QStringLiteral("Greška u brisanju fajlova ") + maska + QStringLiteral(" - ") +
                       r.error);
    }

    UkloniPrivremeneDatotekeInstalacije(o, QStringLiteral("UpdatePrograma - "));

    // The journal goes last, so that a crash in the clean-up is finished at the next start.
    logiraj(o)(QStringLiteral("Brisanje direktorije ") + s.PutanjaBackup);
    QStringList datoteke;
    o.fs.listFiles(s.PutanjaBackup, datoteke);
    for (const QString& ime : datoteke)
        if (ime != ImeDnevnika)
            o.fs.removeFile(s.PutanjaBackup + ime);
    if (const FsResult r = o.fs.removeFolder(BezKoseCrte(s.PutanjaBackup)); !r)
        logiraj(o)(QStringLiteral("Greška u brisanju direktorije - ") + s.PutanjaBackup + r.error);
}
