#include "platform/SystemClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

QDateTime SystemClock::now()
{
    return QDateTime::currentDateTime();
}

void SystemClock::pause(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::AllEvents);
}
