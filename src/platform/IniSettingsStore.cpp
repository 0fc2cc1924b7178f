#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

IniSettingsStore::IniSettingsStore(QString path) : path_(std::move(path)) {}

QString IniSettingsStore::userFile(const QString& relative)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + u'/' + relative;
}

QString IniSettingsStore::read(const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings settings(path_, QSettings::IniFormat);
    const QVariant value = settings.value(section + u'/' + key);
    return value.isValid() ? value.toString() : defaultValue;
}

bool IniSettingsStore::write(const QString& section, const QString& key, const QString& value, QString* error)
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(section + u'/' + key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("Nije moguće upisati postavke u ") + path_;
        return false;
    }
    return true;
}
