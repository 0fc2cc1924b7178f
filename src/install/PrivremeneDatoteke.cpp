#include "install/PrivremeneDatoteke.h"

#include "core/Okruzenje.h"
#include "core/Zapisnik.h"
#include "platform/FileSystem.h"
#include "platform/OwnTemporaryFiles.h"

bool JePrivremenaDatotekaPrograma(const QString& ime)
{
    const QLatin1String oznaka(kOwnTemporaryMark);
    const qsizetype gdje = ime.lastIndexOf(oznaka);
    if (!ime.startsWith(u'.') || gdje < 2 || gdje + oznaka.size() >= ime.size())
        return false;
    for (qsizetype i = gdje + oznaka.size(); i < ime.size(); ++i) {
        const QChar z = ime[i];
        if (!((z >= u'0' && z <= u'9') || (z >= u'a' && z <= u'z') || (z >= u'A' && z <= u'Z') || z == u'.'))
            return false;
    }
    return true;
}

QStringList UkloniPrivremeneDatoteke(FileSystem& fs, const QStringList& direktorije)
{
    QStringList uklonjene;
    for (QString direktorija : direktorije) {
        if (!direktorija.endsWith(u'/'))
            direktorija += u'/';
        QStringList imena;
        if (!fs.folderExists(direktorija) || !fs.listFiles(direktorija, imena))
            continue;
        for (const QString& ime : imena)
            if (JePrivremenaDatotekaPrograma(ime) && fs.removeFile(direktorija + ime))
                uklonjene << direktorija + ime;
    }
    return uklonjene;
}

void UkloniPrivremeneDatotekeInstalacije(Okruzenje& o, const QString& prefiks)
{
    const Stanje& s = o.stanje;
    const QStringList direktorije{s.PutanjaPrograma, s.PutanjaUpdate, s.PutanjaBackup, s.PutanjaSkripti,
                                  s.PutanjaHelp};
    for (const QString& putanja : UkloniPrivremeneDatoteke(o.fs, direktorije))
        o.log.piši(prefiks + QStringLiteral("Obrisana privremena datoteka ") + putanja);
}
