#pragma once

#include "platform/HttpTransfer.h"

// HTTP transfers with QNetworkAccessManager. Each transfer has a manager of its own, so no connection
// or cached reply outlives the call. Redirects are followed up to five times, never from https to
// http; the body reaches the caller in pieces as it arrives and is never collected whole.
class QtHttpTransfer : public HttpTransfer {
public:
    // A transfer that receives nothing for `inactivityMs` milliseconds is given up as timed out.
    explicit QtHttpTransfer(int inactivityMs = 60000) : inactivityMs_(inactivityMs) {}

    Result get(const QString& url, const StateHandler& onState, const DataHandler& onData) override;

private:
    int inactivityMs_;
};
