#include "platform/IniRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

IniRegistry::IniRegistry(QString path) : path_(std::move(path)) {}

bool IniRegistry::writeDword(const QString& valuePath, quint32 value, QString& error)
{
    const QString prefix = QStringLiteral("HKCU\\");
    if (!valuePath.startsWith(prefix, Qt::CaseInsensitive)) {
        error = QStringLiteral("Nepoznata grana registra: ") + valuePath;
        return false;
    }
    QString key = valuePath.mid(prefix.size());
    key.replace(u'\\', u'/');
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        error = QStringLiteral("Nije moguće napraviti direktoriju za ") + path_;
        return false;
    }
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        error = QStringLiteral("Nije moguće upisati u ") + path_;
        return false;
    }
    return true;
}
