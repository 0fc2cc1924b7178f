#include "support/VirtualClock.h"

#include <QCoreApplication>

void VirtualClock::pause(int ms)
{
    if (ms > 0) {
        now_ = now_.addMSecs(ms);
        paused_ += ms;
    }
    QCoreApplication::processEvents();
    if (onPause)
        onPause();
}
