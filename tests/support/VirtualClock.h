#pragma once

#include "platform/Clock.h"

#include <functional>

// A clock that stands still until the program pauses: a pause moves it forward at once by the time
// asked for, so a five-second wait costs no real time.
class VirtualClock : public Clock {
public:
    VirtualClock() : now_(QDate(2026, 12, 9), QTime(10, 30, 0)) {}

    QDateTime now() override { return now_; }
    void pause(int ms) override;

    void set(const QDateTime& t) { now_ = t; }
    void advance(qint64 ms) { now_ = now_.addMSecs(ms); }

    // Milliseconds the program has paused in all.
    qint64 paused() const { return paused_; }
    // Called after every pause, e.g. to let a file appear while the program waits.
    std::function<void()> onPause;

private:
    QDateTime now_;
    qint64 paused_ = 0;
};
