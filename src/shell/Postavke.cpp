#include "shell/Postavke.h"

#include "Verzija.h"
#include "core/ImenaDatoteka.h"
#include "core/Okruzenje.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/HttpTransfer.h"
#include "platform/SettingsStore.h"

namespace {

const QString Settings = QStringLiteral("Settings");
const QString Setting = QStringLiteral("Setting");

// A stored whole number within [min, max], else `fallback`.
int spremljeniBroj(Okruzenje& o, const QString& section, const QString& key, int min, int max, int fallback)
{
    bool ok = false;
    const int n = o.postavke.read(section, key, QString::number(fallback)).trimmed().toInt(&ok);
    return ok && n >= min && n <= max ? n : fallback;
}

}  // namespace

void SnimiPostavke(Okruzenje& o)
{
    o.postavke.write(Settings, QStringLiteral("UpdateLok20N"), QString::number(OdabraniIzvor(o)));
    o.postavke.write(Settings, QStringLiteral("UpdateLokDir20"), o.model.txtLokacija(0));
    if (o.model.optLokacija() == 0)
        o.postavke.write(Settings, QStringLiteral("UpdateLokDirMr20"), o.model.txtLokacija(1));
    else
        o.postavke.write(Settings, QStringLiteral("UpdateLokDirMr.Lumivex.20"), o.model.txtLokacija(1));
}

void UčitajPostavke(Okruzenje& o)
{
    o.model.postaviTxtLokacija(0, o.postavke.read(Settings, QStringLiteral("UpdateLokDir20"), QString()));
    o.model.postaviTxtLokacija(1, o.postavke.read(Settings, QStringLiteral("UpdateLokDirMr20"), QString()));
    o.model.postaviOptLokacija(spremljeniBroj(o, Settings, QStringLiteral("UpdateLok20N"), 0, 2, 0));
    UčitajLokacijuMreže(o);
    o.model.postaviNumVrijemeDownloada(
        spremljeniBroj(o, Setting, QStringLiteral("VrijemeAutoDownloadaNovihVerz"), 0, 23, 0));
}

void UčitajLokacijuMreže(Okruzenje& o)
{
    if (o.model.optLokacija() != 1)
        return;
    const QString lokacija =
        o.postavke.read(Settings, QStringLiteral("UpdateLokDirMr.Lumivex.20"), QString());
    if (!lokacija.isEmpty())
        o.model.postaviTxtLokacija(1, lokacija);
}

int OdabraniIzvor(Okruzenje& o)
{
    const int opcija = o.model.optLokacija();
    return opcija == 0 ? 0 : (opcija == 1 ? 1 : 2);
}

QString BaznaAdresa(const QString& server)
{
    QString adresa = server.trimmed();
    while (adresa.endsWith(u'/')) adresa.chop(1);
    if (!adresa.contains(QStringLiteral("://")))
        adresa.prepend(QStringLiteral("http://"));
    return adresa + QStringLiteral("/download/Verzija20/");
}

void UčitajServere(Okruzenje& o)
{
    o.stanje.PrimarniServer = BaznaAdresa(o.postavke.read(Settings, QStringLiteral("PrimarniServer"),
                                                          QString::fromUtf8(Verzija::PrimarniServer)));
    o.stanje.SekundarniServer = BaznaAdresa(o.postavke.read(Settings, QStringLiteral("SekundarniServer"),
                                                            QString::fromUtf8(Verzija::SekundarniServer)));
    o.model.postaviNatpisOpcije(0, QStringLiteral("Internet (") + o.stanje.PrimarniServer.chopped(1) + u')');
    o.model.postaviNatpisOpcije(1, QStringLiteral("Sa mrežne lokacije"));
    o.model.postaviNatpisOpcije(2,
                                QStringLiteral("Internet (") + o.stanje.SekundarniServer.chopped(1) + u')');
}

void UčitajProxy(Okruzenje& o)
{
    const QString greška = o.http.useProxy(o.postavke.read(Settings, QStringLiteral("Proxy"), QString()));
    if (!greška.isEmpty())
        o.dijalozi.show(
            Dialogs::Icon::Exclamation, NaslovPrograma,
            QStringLiteral("Proxy poslužitelj iz postavki (Settings/Proxy) nije ispravno upisan: ") + greška,
            Dialogs::Buttons::Ok);
}

quint32 BojaIntegratora(Okruzenje& o)
{
    constexpr quint32 zadana = 14277323;
    bool ok = false;
    const qlonglong boja =
        o.postavke.read(Settings, QStringLiteral("BojaIntegratora"), QString::number(zadana))
            .trimmed()
            .toLongLong(&ok);
    return ok && boja >= 0 && boja <= 0xFFFFFFFFLL ? static_cast<quint32>(boja) : zadana;
}

void PostaviBoje(Okruzenje& o, quint32 boja)
{
    o.model.postaviBoju(boja);
}

void KlikNaOpciju(Okruzenje& o, int opcija)
{
    o.model.postaviOptLokacija(opcija);
    SnimiPostavke(o);
}

void OdaberiLokaciju(Okruzenje& o, int i)
{
    Dialogs::FileRequest zahtjev;
    zahtjev.title = QStringLiteral("Izaberite uređaj i direktoriju gdje se nalaze novi Lumivex programi");
    zahtjev.filter = QStringLiteral("Verzije (*.txt)");
    zahtjev.defaultSuffix = QStringLiteral("txt");
    zahtjev.fileName = ImeKontrolneDatoteke;
    zahtjev.initialFolder = o.model.txtLokacija(i);
    zahtjev.mustExist = false;  // the folder must exist, the file name may be any
    const QString izabrano = o.dijalozi.chooseFile(zahtjev);
    const qsizetype kosa = izabrano.lastIndexOf(u'/');
    if (izabrano.isEmpty() || kosa < 0 || kosa == izabrano.size() - 1)
        return;
    o.model.postaviTxtLokacija(i, izabrano.left(kosa + 1));
    SnimiPostavke(o);
}

void ProvjeriLokaciju(Okruzenje& o, int i)
{
    const QString tekst = o.model.txtLokacija(i);
    if (o.fs.folderExists(tekst)) {
        SnimiPostavke(o);
        return;
    }
    o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                    QStringLiteral("Ne postoji direktorija: ") + tekst + QStringLiteral(" Postavite je!"),
                    Dialogs::Buttons::Ok);
    OdaberiLokaciju(o, i);
}

void PromjenaVremenaDownloada(Okruzenje& o, int sati)
{
    o.model.postaviNumVrijemeDownloada(sati);
    o.postavke.write(Setting, QStringLiteral("VrijemeAutoDownloadaNovihVerz"), QString::number(sati));
}
