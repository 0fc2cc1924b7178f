#include "install/Registracija.h"

#include "core/Log.h"
#include "core/Okruzenje.h"
#include "platform/FileSystem.h"
#include "platform/MachineInfo.h"
#include "platform/ProcessRunner.h"

#include <QStringList>

namespace {

// The tool is looked up on PATH, where the package installs it beside the program; a copy beside the
// executable serves an installation whose folder is not on PATH.
QString AlatZaRegistraciju(Okruzenje& o)
{
    const QString naziv = QStringLiteral("RegSvr32.exe");
    const QString naPutu = o.procesi.findOnPath(naziv);
    if (!naPutu.isEmpty())
        return naPutu;
    const QString uzProgram = o.računalo.executableFolder() + u'/' + naziv;
    return o.fs.fileExists(uzProgram) ? uzProgram : QString();
}

// Logs the command line, starts the tool with the same arguments in the same order, and logs the outcome.
bool PokreniRegSvr32(Okruzenje& o, const QString& naredba, const QStringList& argumenti)
{
    LogirajGrešku(o, naredba);

    const QString alat = AlatZaRegistraciju(o);
    bool pokrenuto = false;
    if (!alat.isEmpty()) {
        const ProcessRunner::Result r = o.procesi.startDetached(alat, argumenti);
        pokrenuto = r.started && r.id >= 1;
    }
    if (!pokrenuto) {
        LogirajGrešku(o, naredba + QStringLiteral(" Neuspješno"));
        return false;
    }
    LogirajGrešku(o, naredba + QStringLiteral(" Uspješno"));
    return true;
}

}  // namespace

bool RegistrirajDLL(Okruzenje& o, const QString& direktorija, const QString& ime)
{
    const QString naredba =
        QStringLiteral("RegSvr32.exe ") + u'"' + direktorija + ime + u'"' + QStringLiteral(" /s");
    return PokreniRegSvr32(o, naredba, {direktorija + ime, QStringLiteral("/s")});
}

bool DeregistrirajDLL(Okruzenje& o, const QString& direktorija, const QString& ime)
{
    const QString naredba =
        QStringLiteral("RegSvr32.exe ") + u'"' + direktorija + ime + u'"' + QStringLiteral(" /u /s");
    return PokreniRegSvr32(o, naredba, {direktorija + ime, QStringLiteral("/u"), QStringLiteral("/s")});
}
