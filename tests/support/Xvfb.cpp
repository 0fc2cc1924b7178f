#include "support/Xvfb.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

#include <sys/prctl.h>
#include <csignal>

Xvfb::Xvfb(bool noReset)
{
    hadDisplay_ = qEnvironmentVariableIsSet("DISPLAY");
    oldDisplay_ = qgetenv("DISPLAY");

    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        why_ = QStringLiteral("Xvfb is not installed");
        return;
    }
    // With -displayfd the server chooses a free display itself and writes its number, once it accepts
    // connections, to the given descriptor: here its standard output.
    server_.setProgram(program);
    server_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("640x480x24"), QStringLiteral("-nolisten"),
                          QStringLiteral("tcp")});
    if (noReset)
        server_.setArguments(server_.arguments() << QStringLiteral("-noreset"));
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that dies (an X error ends a process by default) takes its server with it.
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    server_.start();
    if (!server_.waitForStarted(30000)) {
        why_ = QStringLiteral("Xvfb did not start: ") + server_.errorString();
        return;
    }
    QByteArray number;
    const QDeadlineTimer deadline(60000);
    while (!number.contains('\n') && !deadline.hasExpired() && server_.state() == QProcess::Running) {
        server_.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 1000)));
        number += server_.readAllStandardOutput();
    }
    number = number.trimmed();
    if (number.isEmpty()) {
        why_ = QStringLiteral("Xvfb did not report its display");
        return;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(number);
    qputenv("DISPLAY", display_.toLatin1());
}

Xvfb::~Xvfb()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(10000)) {
            server_.kill();
            server_.waitForFinished(10000);
        }
    }
    if (hadDisplay_)
        qputenv("DISPLAY", oldDisplay_);
    else
        qunsetenv("DISPLAY");
}
