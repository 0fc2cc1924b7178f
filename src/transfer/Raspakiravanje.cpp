#include "transfer/Raspakiravanje.h"

#include "core/Cekanje.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/VrstaDatoteke.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/ProcessRunner.h"

#include <QDateTime>
#include <algorithm>
#include <limits>

namespace {

// One second of waiting per megabyte of archive, to the nearest second; an exact half goes to the
// even neighbour, so 2,500,000 bytes wait 2 seconds and 3,500,000 bytes 4.
int SekundiNakonRaspakiravanja(qint64 bajtova)
{
    constexpr qint64 megabajt = 1000000;
    qint64 sekundi = bajtova / megabajt;
    const qint64 ostatak = bajtova % megabajt;
    if (ostatak * 2 > megabajt || (ostatak * 2 == megabajt && sekundi % 2 == 1))
        ++sekundi;
    return static_cast<int>(std::clamp<qint64>(sekundi, 0, std::numeric_limits<int>::max()));
}

// The tool lies in the program folder; where it does not, the system's own copy (Debian's p7zip-full)
// serves. Empty when there is neither.
QString Alat7za(Okruzenje& o)
{
    const QString uMapiPrograma = o.stanje.PutanjaPrograma + QStringLiteral("7za");
    if (o.fs.fileExists(uMapiPrograma))
        return uMapiPrograma;
    return o.procesi.findOnPath(QStringLiteral("7za"));
}

}  // namespace

Ishod Unzipaj(Okruzenje& o, const QString& ime)
{
    Stanje& s = o.stanje;
    const Ishod neuspjeh = Ishod::Neuspjeh(QStringLiteral("Unzip ") + ime);
    o.log.piši(QStringLiteral("Unzipaj- Početak ") + ime);

    // A name without three characters to replace, or one that reaches out of the Update folder, has
    // no archive there.
    if (ime.size() < 3 || ime.contains(u'/') || ime.contains(u'\\'))
        return neuspjeh;
    const QString arhiva = ImeArhive(ime);
    PostaviTrenutnuAkciju(o, QStringLiteral("UnZipanje datoteke: ") + arhiva);

    const QString putanjaArhive = s.PutanjaUpdate + arhiva;
    if (!o.fs.fileExists(putanjaArhive))
        return neuspjeh;

    if (SamoKopiranje(ime)) {
        const QString putanjaDatoteke = s.PutanjaUpdate + ime;
        if (o.fs.fileExists(putanjaDatoteke) && !o.fs.removeFile(putanjaDatoteke))
            o.log.piši(QStringLiteral("Unzip - brisanje datoteke: ") + s.PutanjaUpdate + ime);
        if (!o.fs.copyReplacing(putanjaArhive, putanjaDatoteke))
            o.log.piši(QStringLiteral("Unzip - samo kopiranje datoteke: ") + putanjaArhive);
    } else {
        // Where no tool is found, the command names the place where it belongs.
        const QString pronađeniAlat = Alat7za(o);
        const QString alat =
            pronađeniAlat.isEmpty() ? s.PutanjaPrograma + QStringLiteral("7za") : pronađeniAlat;
        const QString naredba = u'"' + alat + QStringLiteral("\" e \"") + putanjaArhive +
                                QStringLiteral("\" -aoa -o\"") + s.PutanjaUpdate + u'"';
        o.log.piši(QStringLiteral("Unzipaj- ") + naredba);

        ProcessRunner::Result pokrenut;
        if (pronađeniAlat.isEmpty())
            pokrenut.error = QStringLiteral("Program za raspakiravanje 7za nije pronađen.");
        else
            pokrenut = o.procesi.run(alat, {QStringLiteral("e"), putanjaArhive, QStringLiteral("-aoa"),
                                            QStringLiteral("-o") + s.PutanjaUpdate});
        if (!pokrenut.started) {
            const QString poruka = QStringLiteral("UNZIP: ") + s.PutanjaUpdate + arhiva + pokrenut.error;
            DodajUTranskript(s.PorukeGrešaka, poruka);
            o.log.piši(QStringLiteral("Unzipaj- Greška ") + poruka);
            return Ishod::Neuspjeh(poruka);
        }
        DodajUTranskript(s.PorukeAkcija, QStringLiteral("UNZIP: ") + s.PutanjaUpdate + arhiva);

        qint64 veličina = 0;
        if (!o.fs.fileSize(putanjaArhive, veličina))
            return neuspjeh;
        Čekaj(o, SekundiNakonRaspakiravanja(veličina));
    }

    PostaviTrenutnuAkciju(o, QString());
    o.log.piši(QStringLiteral("Unzipaj- Kraj ") + ime);
    return Ishod::Uspjeh();
}
