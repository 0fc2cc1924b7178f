#include "support/TestOkruzenje.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

TestOkruzenje::TestOkruzenje(int httpWindowMs)
    : postavke(dir.path() + QStringLiteral("/config/Lumivex.ini")),
      http(httpWindowMs),
      registar(dir.path() + QStringLiteral("/config/Lumivex/registry.ini")),
      o{fs, postavke, sat, računalo, dijalozi, procesi, http, prozori, registar, model, stanje},
      program_(dir.path() + QStringLiteral("/program/"))
{
    http.askCredentialsThrough(&dijalozi);
    QDir().mkpath(program_ + QStringLiteral("Update"));
    računalo.folder = dir.path() + QStringLiteral("/program");
    stanje.PutanjaPrograma = program_;
    stanje.PutanjaUpdate = program_ + QStringLiteral("Update/");
    stanje.PutanjaBackup = program_ + QStringLiteral("UpdateBackup/");
    stanje.PutanjaSkripti = program_ + QStringLiteral("Skrite za izmjenu baze/");
    stanje.PutanjaHelp = program_ + QStringLiteral("Help/");
}

QString TestOkruzenje::root(const QString& relative) const
{
    return dir.path() + u'/' + relative;
}

QString TestOkruzenje::abs(const QString& path) const
{
    return QFileInfo(path).isAbsolute() ? path : program_ + path;
}

void TestOkruzenje::write(const QString& path, const QByteArray& bytes) const
{
    const QString full = abs(path);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TestOkruzenje::read(const QString& path) const
{
    QFile f(abs(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestOkruzenje::exists(const QString& path) const
{
    return QFileInfo::exists(abs(path));
}

void TestOkruzenje::mkdir(const QString& path) const
{
    QDir().mkpath(abs(path));
}

QStringList TestOkruzenje::log() const
{
    // Every entry starts with the date and the time, each followed by one blank.
    static const QRegularExpression stamp(QStringLiteral("^\\S+( \\S+)*? \\d{1,2}:\\d{2}:\\d{2} "));
    QStringList lines;
    const QString text = QString::fromLocal8Bit(read(QStringLiteral("Update/Update.log")));
    for (const QString& entry : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QString line = entry;
        line.remove(stamp);
        lines << line;
    }
    return lines;
}

QStringList TestOkruzenje::logAfter(const QString& prefix) const
{
    QStringList lines;
    for (const QString& l : log())
        if (l.startsWith(prefix))
            lines << l.mid(prefix.size());
    return lines;
}

std::vector<int> TestOkruzenje::gridPictures() const
{
    std::vector<int> pictures;
    for (const RedMreže& r : model.redovi()) pictures.push_back(r.slika);
    return pictures;
}

void TestOkruzenje::failUntilNextBox(const QString& path, const QString& error, const QStringList& names)
{
    fs.failPath(path, error, names);
    dijalozi.onShow = [this](const ScriptedDialogs::Box&) { fs.heal(); };
}
