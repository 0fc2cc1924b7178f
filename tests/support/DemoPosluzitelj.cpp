#include "support/DemoPosluzitelj.h"

#include <gtest/gtest.h>
#include <QProcess>

#include <csignal>

bool DemoPosluzitelj::run(const QString& script, const QStringList& arguments, QString* output)
{
    QProcess p;
    p.setWorkingDirectory(QStringLiteral(LUMIVEX_SOURCE_DIR));
    p.start(QStringLiteral(LUMIVEX_SOURCE_DIR "/") + script, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << script.toStdString() << ": " << p.readAllStandardError().toStdString();
        return false;
    }
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput());
    return true;
}

bool DemoPosluzitelj::pripremi(const QString& folder)
{
    folder_ = folder;
    return run(QStringLiteral("scripts/demo-prepare"), {folder, QStringLiteral(LUMIVEX_BUILD_DIR)});
}

bool DemoPosluzitelj::posluži()
{
    QString server;
    if (!run(QStringLiteral("scripts/demo-server"), {folder_}, &server))
        return false;
    const QStringList lines = server.split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() != 2) {
        ADD_FAILURE() << server.toStdString();
        return false;
    }
    pid_ = lines[1].toLongLong();
    return true;
}

DemoPosluzitelj::~DemoPosluzitelj()
{
    if (pid_ > 0)
        ::kill(static_cast<pid_t>(pid_), SIGTERM);
}
