#include "shell/PokretanjeUPrefiksu.h"

#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace {

const QString Odjeljak = QStringLiteral("Wine");

QString SaKosomCrtom(QString mapa)
{
    if (!mapa.endsWith(u'/'))
        mapa += u'/';
    return mapa;
}

QString BezKoseCrte(QString putanja)
{
    while (putanja.size() > 1 && putanja.endsWith(u'/')) putanja.chop(1);
    return putanja;
}

// The saved choice belongs to the prefix it was made for; another prefix is asked about anew.
QString SpremljenaMapa(FileSystem& fs, SettingsStore& postavke, const QString& prefiks)
{
    const QString mapa = postavke.read(Odjeljak, QStringLiteral("MapaPaketa"), QString());
    if (mapa.isEmpty() || postavke.read(Odjeljak, QStringLiteral("Prefiks"), QString()) != prefiks)
        return QString();
    return fs.folderExists(mapa) ? mapa : QString();
}

// A file of the updater is copied in unless the suite's folder holds the same bytes already.
bool JednakeDatoteke(FileSystem& fs, const QString& a, const QString& b)
{
    QByteArray prva;
    QByteArray druga;
    return fs.readFile(a, prva) && fs.readFile(b, druga) && prva == druga;
}

}  // namespace

QString WinePrefiks(const QString& winePrefix, const QString& home)
{
    return BezKoseCrte(winePrefix.isEmpty() ? home + QStringLiteral("/.wine") : winePrefix);
}

bool PripremiPokretanjeUPrefiksu(FileSystem& fs, SettingsStore& postavke, const QString& prefiks,
                                 const QString& izvor,
                                 const std::function<QString(const QString& početna)>& odaberiMapu,
                                 PokretanjeUPrefiksu& pokretanje, QString& greška)
{
    greška.clear();
    const QString disk = prefiks + QStringLiteral("/drive_c/");
    if (!fs.folderExists(disk)) {
        greška = QStringLiteral("Wine prefiks ") + prefiks +
                 QStringLiteral(
                     " ne postoji ili nije pripremljen (nema mape drive_c). Pokrenite programe "
                     "paketa jednom pod Wine-om ili naredbu wineboot, pa pokušajte ponovno.");
        return false;
    }

    QString mapa = SpremljenaMapa(fs, postavke, prefiks);
    if (mapa.isEmpty()) {
        const QString uobičajena = disk + QStringLiteral("Lumivex V20/");
        mapa = odaberiMapu(fs.folderExists(uobičajena) ? uobičajena : disk);
        if (mapa.isEmpty())
            return false;
        mapa = SaKosomCrtom(mapa);
        QString zašto;
        if (!postavke.write(Odjeljak, QStringLiteral("MapaPaketa"), mapa, &zašto) ||
            !postavke.write(Odjeljak, QStringLiteral("Prefiks"), prefiks, &zašto)) {
            greška = QStringLiteral("Odabrana mapa se ne može spremiti: ") + zašto;
            return false;
        }
    }
    mapa = SaKosomCrtom(mapa);

    for (const QString& ime : DatotekeAžurirača) {
        const QString izvorna = SaKosomCrtom(izvor) + ime;
        const QString ciljna = mapa + ime;
        if (JednakeDatoteke(fs, izvorna, ciljna))
            continue;
        if (const FsResult r = fs.copyReplacing(izvorna, ciljna); !r) {
            greška = QStringLiteral("Program za ažuriranje se ne može postaviti u mapu ") + mapa +
                     QStringLiteral(": ") + ime + QStringLiteral(" - ") + r.error;
            return false;
        }
    }

    pokretanje.mapaPaketa = mapa;
    pokretanje.program = mapa + DatotekeAžurirača[0];
    pokretanje.winDir = prefiks + QStringLiteral("/drive_c/windows");
    return true;
}
