#include "shell/Pokretanje.h"

#include "Verzija.h"
#include "core/Okruzenje.h"
#include "core/Putanje.h"
#include "install/Oporavak.h"
#include "install/PripremaVerzije.h"
#include "install/ProvjeraPrograma.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/MachineInfo.h"
#include "shell/Naredbe.h"
#include "shell/Postavke.h"

QString NaslovProzora()
{
    return QStringLiteral("Lumivex Live Update - Automatsko ažuriranje Lumi-vex programa") +
           QStringLiteral(" V") + QString::number(Verzija::Glavna) + u'.' +
           QString::number(Verzija::Pomoćna) + u'.' + QString::number(Verzija::Revizija);
}

bool ZauzmiInstalaciju(Okruzenje& o, InstanceLock& brava, bool aktivirajPrvi)
{
    const QString mapa = SaKosomCrtom(o.računalo.executableFolder());
    QString greška;
    switch (brava.acquire(mapa, greška)) {
        case InstanceLock::Result::Acquired:
            return true;
        case InstanceLock::Result::Failed:
            o.log.piši(QStringLiteral("Zaključavanje instalacije nije uspjelo: ") + greška);
            return true;
        case InstanceLock::Result::HeldByAnother:
            break;
    }
    o.dijalozi.show(
        Dialogs::Icon::Information, NaslovPrograma,
        QStringLiteral("Program za ažuriranje Lumi-vex programa već je pokrenut na ovoj instalaciji (") +
            mapa + QStringLiteral(").\r\nDrugi se ne pokreće."),
        Dialogs::Buttons::Ok);
    if (aktivirajPrvi)
        AppJeStartana(o, NaslovProzora(), true);
    return false;
}

void UčitajProzor(Okruzenje& o)
{
    // An installation interrupted by a crash or a power cut is undone before anything reads the files.
    OporaviPrekinutuInstalaciju(o);
    o.model.postaviNaslov(NaslovProzora());
    o.model.postaviKarticu(0);
    ProvjeriOperatera(o);
    UčitajServere(o);
    UčitajProxy(o);
    UčitajPostavke(o);
    // The window's timer already runs: a copy falling due while the control file is fetched must not
    // work with the matrices at the same time.
    PokreniDuguNaredbu(o, [&] { PripremiVerzijaTXT(o); });
    PostaviBoje(o, BojaIntegratora(o));
}

void ProvjeriOperatera(Okruzenje& o)
{
    o.stanje.PutanjaPrograma = SaKosomCrtom(o.računalo.executableFolder());
    const QString proba = o.stanje.PutanjaPrograma + QStringLiteral("UpdateADM");
    if (o.fs.folderExists(proba))
        o.fs.removeFolder(proba);
    if (!o.fs.createFolder(proba)) {
        o.dijalozi.show(Dialogs::Icon::Critical, QStringLiteral("Lumivex"),
                        QStringLiteral("Prijavljeni operater: ") + o.računalo.userName().toUpper() +
                            QStringLiteral(" izgleda nema administratorska prava za instalaciju programa.") +
                            QStringLiteral("\r\n") +
                            QStringLiteral("Proces automatskog ažuriranja novih verzija možda neće biti "
                                           "ispravan, ali ipak pokušajte!"),
                        Dialogs::Buttons::Ok);
        return;
    }
    o.fs.removeFolder(proba);
}
