#include "install/DownloadAndUpdate.h"

#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "core/Prijava.h"
#include "install/Instalacija.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "transfer/Dohvat.h"

namespace {

const QString KljučIzvoza =
    QStringLiteral("HKCU\\Software\\Seagate Software\\Crystal Reports Designer Component\\Export\\");

// Writes the report engine's settings, denominator first; false with the reason when one fails.
bool UpišiPostavkeIzvještaja(Registry& registar, QString& greška)
{
    return registar.writeDword(KljučIzvoza + QStringLiteral("BitMapMagnifDenominator"), 1, greška) &&
           registar.writeDword(KljučIzvoza + QStringLiteral("BitMapMagnifNumerator"), 12, greška);
}

}  // namespace

bool cmdDownloadAndUpdate_Click(Okruzenje& o)
{
    bool instalirano = false;
    const int opcija = o.model.optLokacija();
    const bool snimljeno = opcija == 0 || opcija == 2 ? SnimitiSaInterneta(o) : SnimitiSaMrežneLokacije(o);

    PostaviTrenutnuAkciju(o, QString());
    o.model.prikažiProgBar(false);

    if (!snimljeno) {
        o.log.piši(
            QStringLiteral("cmdDownloadAndUpdate_Click Nije uspio snimiti sa interneta/mrežne lokacije"));
    } else {
        const Dialogs::Answer odgovor = o.dijalozi.show(
            Dialogs::Icon::Question, NaslovPrograma,
            QStringLiteral("Svi novi programi su spremni za ažuriranje.") + QStringLiteral("\r\n") +
                QStringLiteral(
                    "Da bi instalirali nove programe morate zatvoriti sve otvorene Lumivex programe!") +
                QStringLiteral("\r\n") +
                QStringLiteral("Želite li izvršiti ažuriranje/instaliranje novih programa?"),
            Dialogs::Buttons::YesNo);
        if (odgovor != Dialogs::Answer::Yes)
            return false;

        // The suite's programs read these settings when they print: no installation without them.
        QString greška;
        QString ishod;
        if (!UpišiPostavkeIzvještaja(o.registar, greška)) {
            ishod = QStringLiteral("Nije moguće upisati postavke izvještaja u registar: ") + greška;
        } else if (UpdatePrograma(o)) {
            instalirano = true;
            ishod = QStringLiteral("Uspješno instalirani novi programi!");
        } else {
            ishod = QStringLiteral(
                "Programi nisu uspješno instalirani. Kontaktirajte Lumi-vex i prenesite im ove informacije!");
        }
        // The end is told the same way whether it went well or not.
        PrijaviNeuspjeh(o.log, o.dijalozi, {QStringLiteral("cmdDownloadAndUpdate_Click ")}, ishod);
    }

    o.log.piši(QStringLiteral("********************* KRAJ UPDATE"));
    return instalirano;
}
