#include "shell/Naredbe.h"

#include "core/Okruzenje.h"
#include "core/ProgresBar.h"
#include "distribution/Distribucija.h"
#include "install/DownloadAndUpdate.h"
#include "install/PripremaVerzije.h"
#include "platform/Clock.h"

bool PokreniDuguNaredbu(Okruzenje& o, const std::function<void()>& naredba)
{
    if (o.stanje.OperacijaUTijeku)
        return false;
    o.stanje.OperacijaUTijeku = true;
    o.model.omogućiDugeNaredbe(false);
    naredba();
    o.stanje.OperacijaUTijeku = false;
    o.model.omogućiDugeNaredbe(true);
    return true;
}

void cmdVerzija_KlikUzZaštitu(Okruzenje& o)
{
    PokreniDuguNaredbu(o, [&] { PripremiVerzijaTXT(o); });
}

void cmdDownloadAndUpdate_KlikUzZaštitu(Okruzenje& o)
{
    PokreniDuguNaredbu(o, [&] { cmdDownloadAndUpdate_Click(o); });
}

void cmdDownlNaLokaciju_KlikUzZaštitu(Okruzenje& o)
{
    PokreniDuguNaredbu(o, [&] { PrijenosNaLokaciju(o, true); });
}

void tmrUpdate_Timer(Okruzenje& o)
{
    // The hours are read from the field at every tick, so a change counts from the next one.
    const QDateTime sada = o.sat.now();
    if (!JeVrijemeAutomatskogPrijenosa(o.model.numVrijemeDownloada(), sada.time()))
        return;
    const QDateTime puniSat(sada.date(), QTime(sada.time().hour(), 0));
    if (o.stanje.ZadnjiSatAutomatskogPrijenosa == puniSat)
        return;
    o.stanje.ZadnjiSatAutomatskogPrijenosa = puniSat;
    // A tick that falls due while another operation works with the matrices waits for no one: the
    // next due hour brings the copy again.
    if (!PokreniDuguNaredbu(o, [&] { PrijenosNaLokaciju(o, false); }))
        o.log.piši(QStringLiteral("tmrUpdate - Automatski prijenos na lokaciju u ") +
                   puniSat.toString(QStringLiteral("HH:mm")) +
                   QStringLiteral(" nije pokrenut jer je u tijeku druga operacija."));
}

void tmrPrijenos_Timer(Okruzenje& o)
{
    tmrPrijenos_Tick(o);
}
