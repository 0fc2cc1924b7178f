#include "install/DownloadAndUpdate.h"

#include "core/Log.h"
#include "core/Obavijesti.h"
#include "core/Okruzenje.h"
#include "install/Instalacija.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "transfer/Dohvat.h"

namespace {

const QString KljučIzvoza =
    QStringLiteral("HKCU\\Software\\Seagate Software\\Crystal Reports Designer Component\\Export\\");

// Writes the report engine's settings, denominator first; false with the reason when one fails.
bool UpišiPostavkeIzvještaja(Okruzenje& o, QString& greška)
{
    return o.registar.writeDword(KljučIzvoza + QStringLiteral("BitMapMagnifDenominator"), 1, greška) &&
           o.registar.writeDword(KljučIzvoza + QStringLiteral("BitMapMagnifNumerator"), 12, greška);
}

}  // namespace

void cmdDownloadAndUpdate_Click(Okruzenje& o)
{
    Stanje& s = o.stanje;
    const int opcija = o.model.optLokacija();
    const bool snimljeno = opcija == 0 || opcija == 2 ? SnimitiSaInterneta(o) : SnimitiSaMrežneLokacije(o);

    PostaviTrenutnuAkciju(o, QString());
    o.model.prikažiProgBar(false);

    if (!snimljeno) {
        LogirajGrešku(
            o, QStringLiteral("cmdDownloadAndUpdate_Click Nije uspio snimiti sa interneta/mrežne lokacije"));
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
            return;

        // The suite's programs read these settings when they print: no installation without them.
        QString greška;
        if (!UpišiPostavkeIzvještaja(o, greška)) {
            s.TrenutnaPoruka =
                QStringLiteral("Nije moguće upisati postavke izvještaja u registar: ") + greška;
        } else if (UpdatePrograma(o)) {
            s.TrenutnaPoruka = QStringLiteral("Uspješno instalirani novi programi!");
        } else {
            s.TrenutnaPoruka = QStringLiteral(
                "Programi nisu uspješno instalirani. Kontaktirajte Lumi-vex i prenesite im ove informacije!");
        }
        LogirajGrešku(o, QStringLiteral("cmdDownloadAndUpdate_Click ") + s.TrenutnaPoruka);
        o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma, s.TrenutnaPoruka, Dialogs::Buttons::Ok);
    }

    LogirajGrešku(o, QStringLiteral("********************* KRAJ UPDATE"));
}
