#pragma once

#include "platform/Clock.h"

// The computer's clock; a pause runs the event loop, so the window stays alive and no processor
// time is burnt.
class SystemClock : public Clock {
public:
    QDateTime now() override;
    void pause(int ms) override;
};
