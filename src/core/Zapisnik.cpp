#include "core/Zapisnik.h"

#include "core/DugoVrijeme.h"
#include "core/Naslov.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/MachineInfo.h"

#include <QDateTime>
#include <QLocale>

QString Zapisnik::putanja() const
{
    return računalo_.executableFolder() + QStringLiteral("/Update/Update.log");
}

void Zapisnik::piši(const QString& tekst)
{
    const QLocale locale;
    const QDateTime now = sat_.now();
    const QString line = locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                         DugoVrijeme(locale, now.time()) + u' ' + tekst + QStringLiteral("\r\n");
    const FsResult written = fs_.appendToFile(putanja(), line.toLocal8Bit());
    if (kopija_)
        kopija_(tekst);
    if (written)
        return;
    if (written.stage == FsResult::Stage::Open)
        dijalozi_.show(Dialogs::Icon::Exclamation, NaslovPrograma,
                       QStringLiteral("Desila se greška: ") + QStringLiteral("u upisu u LOG. Greška: ") +
                           QString::number(written.code) + u' ' + written.error,
                       Dialogs::Buttons::Ok);
    else
        dijalozi_.show(
            Dialogs::Icon::Exclamation, NaslovPrograma,
            QStringLiteral("Desila se greška: ") + QStringLiteral("u upisu u LOG. Greška: ") + written.error,
            Dialogs::Buttons::Ok);
}
