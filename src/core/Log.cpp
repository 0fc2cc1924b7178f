#include "core/Log.h"

#include "core/Okruzenje.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/MachineInfo.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace {

// The locale's long time format shows hours, minutes and seconds; a time-zone part is left out.
QString longTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    format.remove(zone);
    return format.trimmed();
}

}  // namespace

QString PutanjaLoga(Okruzenje& o)
{
    return o.računalo.executableFolder() + QStringLiteral("/Update/Update.log");
}

void LogirajGrešku(Okruzenje& o, const QString& tekst)
{
    const QLocale locale;
    const QDateTime now = o.sat.now();
    const QString line = locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                         locale.toString(now.time(), longTimeFormat(locale)) + u' ' + tekst +
                         QStringLiteral("\r\n");
    const FsResult written = o.fs.appendToFile(PutanjaLoga(o), line.toLocal8Bit());
    if (written)
        return;
    if (written.stage == FsResult::Stage::Open)
        o.dijalozi.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                        QStringLiteral("Desila se greška: ") + QStringLiteral("u upisu u LOG. Greška: ") +
                            QString::number(written.code) + u' ' + written.error,
                        Dialogs::Buttons::Ok);
    else
        o.dijalozi.show(
            Dialogs::Icon::Exclamation, NaslovPrograma,
            QStringLiteral("Desila se greška: ") + QStringLiteral("u upisu u LOG. Greška: ") + written.error,
            Dialogs::Buttons::Ok);
}
