#pragma once

#include <QDateTime>

// The time of day and the way the program lets time pass. The updater's waits and timers read time
// only through this port, so tests can run a five-second wait instantly.
class Clock {
public:
    virtual ~Clock() = default;

    // The local date and time.
    virtual QDateTime now() = 0;

    // Lets up to `ms` milliseconds pass while the window goes on processing its events.
    virtual void pause(int ms) = 0;
};
