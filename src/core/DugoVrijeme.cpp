#include "core/DugoVrijeme.h"

#include <QRegularExpression>

QString DugoVrijeme(const QLocale& locale, const QTime& vrijeme)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zona(QStringLiteral("\\s*\\(?t+\\)?"));
    format.remove(zona);
    return locale.toString(vrijeme, format.trimmed());
}
