#include "transfer/DownInet.h"

#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/TekstKontrolneDatoteke.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/HttpTransfer.h"

#include <QUrl>
#include <algorithm>
#include <array>
#include <memory>

namespace {

// The name travels percent-encoded, so a blank, '#' or '%' in it reaches the server as itself.
QString AdresaZahtjeva(const QString& baznaAdresa, const QString& imeDatoteke)
{
    QUrl adresa(baznaAdresa);
    adresa.setPath(adresa.path(QUrl::FullyDecoded) + imeDatoteke, QUrl::DecodedMode);
    return adresa.toString(QUrl::FullyEncoded);
}

}  // namespace

HttpTransfer::Limits GraniceArhive(const QString& veličinaDownload)
{
    return HttpTransfer::Limits(std::max<qint64>(0, CijeliBroj(veličinaDownload)));
}

void Inet1_StateChanged(Okruzenje& o, int stanje)
{
    static const std::array<QString, 13> tekstovi = {
        QStringLiteral("Nema tekućeg stanja"),
        QStringLiteral("Udaljena adresa je u toku provjere"),
        QStringLiteral("Dana udaljena adresa je prihvaćena"),
        QStringLiteral("Spajanje..."),
        QStringLiteral("Spojeno"),
        QStringLiteral("Podaci su u toku zahtjeva"),
        QStringLiteral("Zahtjev za podacima je poslan"),
        QStringLiteral("Odgovor je u toku prihvaćanja"),
        QStringLiteral("Odgovor primljen/Prijenos u toku"),
        QStringLiteral("Odspajanje..."),
        QStringLiteral("Odspojeno"),
        QStringLiteral("Nastala greška"),
        QStringLiteral("Odgovor je uspješno prihvaćen"),
    };
    if (stanje >= 0 && stanje < static_cast<int>(tekstovi.size()))
        o.stanje.ZadnjeStanjePrijenosa = tekstovi[stanje];
    PostaviTrenutnoStanje(o, o.stanje.ZadnjeStanjePrijenosa);
}

Ishod DownInet(Okruzenje& o, const QString& imeDatoteke, const QString& direktorija,
               const HttpTransfer::Limits& granice)
{
    Ishod rezultat = Ishod::Neuspjeh();
    const QString cilj = direktorija + imeDatoteke;

    PostaviTrenutnuAkciju(o, QStringLiteral("Download: ") + imeDatoteke);

    const QString baznaAdresa =
        o.model.optLokacija() == 2 ? o.stanje.SekundarniServer : o.stanje.PrimarniServer;
    const QString adresa = baznaAdresa + imeDatoteke;
    o.log.piši(QStringLiteral("Početak Download: ") + adresa);

    // The body goes straight to a file beside the target, made when the first bytes arrive, so an
    // empty or failed reply leaves the folder as it was and no archive has to fit in memory.
    std::unique_ptr<FileWriter> pisac;
    FsResult pisanje;
    const HttpTransfer::Result prijenos = o.http.get(
        AdresaZahtjeva(baznaAdresa, imeDatoteke), granice,
        [&o](int stanje) { Inet1_StateChanged(o, stanje); },
        [&](const QByteArray& dio) {
            if (dio.isEmpty())
                return true;
            if (!pisac) {
                pisac = o.fs.replaceFile(cilj, pisanje);
                if (!pisac)
                    return false;
            }
            pisanje = pisac->write(dio);
            return pisanje.ok;
        });

    if (pisanje && prijenos.ok && pisac)
        pisanje = pisac->commit();

    if (!pisanje) {
        pisac.reset();
        const QString poruka =
            QStringLiteral("DownInet: Greška u downloadu datoteke: ") + imeDatoteke + u' ' + pisanje.error;
        PrijaviNeuspjeh(o.log, o.dijalozi, {}, poruka);
        return Ishod::Neuspjeh(poruka);
    }

    if (!prijenos.ok) {
        pisac.reset();
        rezultat.poruka = prijenos.error;
        o.dijalozi.show(Dialogs::Icon::None, NaslovPrograma, QStringLiteral("Greška: ") + prijenos.error,
                        Dialogs::Buttons::Ok);
        o.log.piši(QStringLiteral("Greška: Download: ") + imeDatoteke + u' ' + prijenos.error);
    } else if (!pisac) {
        o.log.piši(QStringLiteral("Ništa nije primljeno (dužina 0). Download: ") + imeDatoteke);
    } else {
        rezultat = Ishod::Uspjeh();
        o.log.piši(QStringLiteral("Uspješan download: ") + imeDatoteke);
    }

    PostaviTrenutnuAkciju(o, QString());
    PostaviTrenutnoStanje(o, QString());
    return rezultat;
}
