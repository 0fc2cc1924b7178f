#include "shell/Naredbe.h"

#include "core/Okruzenje.h"
#include "core/PripremaVerzije.h"
#include "core/ProgresBar.h"
#include "install/DownloadAndUpdate.h"

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


void cmdVerzija_Click(Okruzenje& o)
{
    PokreniDuguNaredbu(o, [&] { PripremiVerzijaTXT(o); });
}


void cmdDownloadAndUpdate_Klik(Okruzenje& o)
{
    PokreniDuguNaredbu(o, [&] { cmdDownloadAndUpdate_Click(o); });
}


void cmdDownlNaLokaciju_Click(Okruzenje& o)
{
    PokreniDuguNaredbu(o, [] {});
}


void tmrUpdate_Timer(Okruzenje&)
{
}


void tmrPrijenos_Timer(Okruzenje& o)
{
    tmrPrijenos_Tick(o);
}
