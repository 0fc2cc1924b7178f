#include "install/PripremaVerzije.h"

#include "core/ImenaDatoteka.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "core/ProvjeraIzdanja.h"
#include "core/Putanje.h"
#include "core/UcitavanjeMatrice.h"
#include "core/Usporedba.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/MachineInfo.h"
#include "transfer/DownInet.h"

namespace {

void pokaži(Okruzenje& o, Dialogs::Icon ikona, const QString& tekst)
{
    o.dijalozi.show(ikona, NaslovPrograma, tekst, Dialogs::Buttons::Ok);
}

// Logs a failure with the procedure's prefix and shows it in an exclamation box.
void prijavi(Okruzenje& o, const QString& tekst,
             const QString& prefiks = QStringLiteral("PripremiVerzijaTXT- "))
{
    PrijaviNeuspjeh(o.log, o.dijalozi, {prefiks}, tekst);
}

// Checks the control file that has just arrived in the Update folder, before the comparison reads
// it, so that a release no trusted key signed never reaches the grid. A refused release is told and
// logged like the other failures of this step, its files leave the Update folder and nothing is
// listed.
bool PrihvatiIzdanje(Okruzenje& o, const QString& izvor)
{
    Stanje& s = o.stanje;
    const ProvjeraKontrolne provjera =
        ProvjeriKontrolnuDatoteku(o, s.PutanjaUpdate + ImeKontrolneDatoteke, s.PutanjaUpdate + ImePotpisa,
                                  s.PutanjaPrograma + ImePotpisa, izvor);
    if (provjera.prihvaćeno())
        return true;
    prijavi(o, provjera.poruka + QStringLiteral(" Prekida se ažuriranje!"));
    o.fs.removeFile(s.PutanjaUpdate + ImeKontrolneDatoteke);
    o.fs.removeFile(s.PutanjaUpdate + ImePotpisa);
    s.NoveVerzije.očisti();
    s.UkupnoZaPrijenos = 0;
    o.model.postaviMrežu({}, 0, 0);
    o.model.omogućiCmdDownloadAndUpdate(false);
    return false;
}

// Fetches the current control file from the chosen download server into the Update folder, and with
// `potpis` its signature beside it.
void dohvatiSaInterneta(Okruzenje& o, const QString& nova, bool potpis)
{
    Stanje& s = o.stanje;
    if (DownInet(o, ImeKontrolneDatoteke, s.PutanjaUpdate, HttpTransfer::Limits(NajvećaKontrolnaDatoteka))) {
        if (potpis)
            DownInet(o, ImePotpisa, s.PutanjaUpdate, HttpTransfer::Limits(NajvećiPotpis));
        if (!o.fs.fileExists(nova)) {
            o.log.piši(
                QStringLiteral("PripremiVerzijaTXT- Učitao sa interneta Verzije.txt ali one ne postoje u ") +
                s.PutanjaUpdate);
            pokaži(o, Dialogs::Icon::None,
                   QStringLiteral("Podaci o novim verzijama na postoje na lokaciji: ") + s.PutanjaUpdate);
        }
    } else {
        prijavi(o, QStringLiteral("Nije moguće učitati kontrolnu datoteku sa interneta! Provjerite vezu sa "
                                  "internetom i pokušajte ponovno!") +
                       QStringLiteral(" Prekida se ažuriranje!"));
    }
}

// Copies the current control file from the network folder into the Update folder, and with `potpis`
// its signature beside it.
void kopirajSaMreže(Okruzenje& o, const QString& nova, bool potpis)
{
    Stanje& s = o.stanje;
    const QString lokacija = o.model.txtLokacija(0);
    if (o.fs.fileExists(lokacija + ImeKontrolneDatoteke)) {
        // A missing signature is no copy failure: the check of the release names it.
        if (potpis && o.fs.fileExists(lokacija + ImePotpisa))
            o.fs.copyReplacing(lokacija + ImePotpisa, s.PutanjaUpdate + ImePotpisa);
        if (!o.fs.removeFile(nova)) {
            o.log.piši(QStringLiteral("KI-PripremiVerzijaTXT- ") +
                       QStringLiteral("Greška u brisanju datoteke ") + nova);
        }
        if (!o.fs.copyReplacing(lokacija + ImeKontrolneDatoteke, nova)) {
            prijavi(o,
                    QStringLiteral("Nije moguće učitati kontrolnu datoteku sa mrežne lokacije! Provjerite i "
                                   "pokušajte ponovno!") +
                        QStringLiteral(" Prekida se ažuriranje!"));
        }
        if (!o.fs.fileExists(nova)) {
            o.log.piši(QStringLiteral("PripremiVerzijaTXT-  ") +
                       QStringLiteral("Kopirao sa mrežne lokacije Verzije.txt, ali ona ne postoji u ") +
                       lokacija);
            pokaži(o, Dialogs::Icon::None,
                   QStringLiteral("Podaci o novim verzijama na postoje na lokaciji: ") + lokacija);
        }
    } else {
        prijavi(o,
                QStringLiteral("Ne postoji kontrolna datoteka na mrežnoj lokaciji: ") + lokacija +
                    QStringLiteral(" Prekida se ažuriranje!"),
                QStringLiteral("PripremiVerzijaTXT-  "));
    }
}

}  // namespace

QString ImeRačunala(MachineInfo& računalo)
{
    // The platform offers a buffer of 255 characters; a longer name is a failed query.
    QString ime;
    if (!računalo.computerName(ime) || ime.size() > 255)
        return QString();
    return ime;
}

void PostaviPutanje(Okruzenje& o)
{
    Stanje& s = o.stanje;
    s.PutanjaPrograma = SaKosomCrtom(o.računalo.executableFolder());
    // The development computer always works on its own installation, wherever the executable lies.
    if (ImeRačunala(o.računalo) == u"ORVEL-TOSH")
        s.PutanjaPrograma = QStringLiteral("D:/Lumivex software/Lumivex knjigovodstvo V20/");
    s.PutanjaUpdate = s.PutanjaPrograma + QStringLiteral("Update/");
    s.PutanjaBackup = s.PutanjaPrograma + QStringLiteral("UpdateBackup/");
    s.PutanjaSkripti = s.PutanjaPrograma + QStringLiteral("Skrite za izmjenu baze/");
    QString winDir = o.računalo.environment(QStringLiteral("WinDir"));
    while (winDir.endsWith(u'/')) winDir.chop(1);
    s.PutanjaHelp =
        winDir.isEmpty() ? s.PutanjaPrograma + QStringLiteral("Help/") : winDir + QStringLiteral("/Help/");
}

bool PripremiVerzijaTXT(Okruzenje& o)
{
    Stanje& s = o.stanje;
    PostaviPutanje(o);
    const QString stara = s.PutanjaPrograma + ImeKontrolneDatoteke;
    const QString nova = s.PutanjaUpdate + ImeKontrolneDatoteke;

    if (!o.fs.folderExists(s.PutanjaUpdate))
        o.fs.createFolder(s.PutanjaUpdate);

    if (!o.fs.fileExists(stara)) {
        prijavi(
            o, QStringLiteral("Ne postoji datoteka ") + stara +
                   QStringLiteral(" Program za automatsko ažuriranje novih programa mora prestati sa "
                                  "ažuriranjem. Molimo da o ovoj poruci izvjestite Lumivex tim za podršku."));
    }

    if (!UčitajMatricu(s.StareVerzije, stara, o)) {
        prijavi(o,
                QStringLiteral("PripremiVerzijaTXT - Desila se greška u čitanju zapisa u matricu. Prekida se "
                               "ažuriranje!"));
        return false;
    }

    if (!o.fs.folderExists(s.PutanjaUpdate) && !o.fs.createFolder(s.PutanjaUpdate)) {
        pokaži(o, Dialogs::Icon::Exclamation,
               QStringLiteral(
                   "Nastala je greška u kreiranju Update direktorije! Program za automatsko ažuriranje "
                   "novih programa mora prestati sa radom. Molimo da o ovoj poruci izvjestite Lumivex tim "
                   "za podršku."));
        return false;
    }

    // The signature is fetched only where a key can check it; without one nothing changes.
    const bool provjerava = UčitajPouzdaneKljučeve(o).provjerava();
    if (provjerava && o.fs.fileExists(s.PutanjaUpdate + ImePotpisa))
        o.fs.removeFile(s.PutanjaUpdate + ImePotpisa);
    QString izvor;
    if (o.model.optLokacija() != 1) {
        izvor = (o.model.optLokacija() == 2 ? s.SekundarniServer : s.PrimarniServer) + ImeKontrolneDatoteke;
        dohvatiSaInterneta(o, nova, provjerava);
    } else {
        izvor = o.model.txtLokacija(0) + ImeKontrolneDatoteke;
        kopirajSaMreže(o, nova, provjerava);
    }

    if (o.fs.fileExists(nova) && !PrihvatiIzdanje(o, izvor))
        return false;

    const bool ima = NapraviRsŠtoTrebaAžurirati(o);
    o.model.omogućiCmdDownloadAndUpdate(ima);
    return ima;
}
