#include "core/Log.h"

#include "core/DugoVrijeme.h"
#include "core/Okruzenje.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/MachineInfo.h"

#include <QDateTime>
#include <QLocale>

QString PutanjaLoga(Okruzenje& o)
{
    return o.računalo.executableFolder() + QStringLiteral("/Update/Update.log");
}

void LogirajGrešku(Okruzenje& o, const QString& tekst)
{
    const QLocale locale;
    const QDateTime now = o.sat.now();
    const QString line = locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                         DugoVrijeme(locale, now.time()) + u' ' + tekst + QStringLiteral("\r\n");
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
