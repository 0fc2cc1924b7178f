#include "install/Registracija.h"

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

// What a tool wrote, on one line: its lines trimmed and joined, the empty ones left out.
QString UJednomRedu(const QString& ispis)
{
    QStringList redovi;
    for (const QString& red : ispis.split(u'\n'))
        if (!red.trimmed().isEmpty())
            redovi << red.trimmed();
    return redovi.join(QStringLiteral(" | "));
}

// Logs the command line, runs the tool with the same arguments in the same order until it ends, and
// logs the outcome. The tool must have finished before the caller moves or replaces the component,
// or it would load whichever file lies there by then; a non-zero exit status is a failure, logged with
// what the tool wrote.
bool PokreniRegSvr32(Okruzenje& o, const QString& naredba, const QStringList& argumenti)
{
    o.log.piši(naredba);

    const QString alat = AlatZaRegistraciju(o);
    if (alat.isEmpty()) {
        o.log.piši(naredba + QStringLiteral(" Neuspješno"));
        return false;
    }
    const ProcessRunner::Result r = o.procesi.runCaptured(alat, argumenti, RokRegistracijeMs);
    if (r.started && r.finished && r.exitCode == 0) {
        o.log.piši(naredba + QStringLiteral(" Uspješno"));
        return true;
    }
    QString razlog = r.finished ? QStringLiteral("izlazni status %1").arg(r.exitCode) : r.error;
    const QString ispis = UJednomRedu(r.output);
    if (!ispis.isEmpty())
        razlog += QStringLiteral(": ") + ispis;
    o.log.piši(naredba + QStringLiteral(" Neuspješno, ") + razlog);
    return false;
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
