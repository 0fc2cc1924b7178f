#pragma once

#include "platform/HttpTransfer.h"

// HTTP transfers with QNetworkAccessManager.
class QtHttpTransfer : public HttpTransfer {
public:
    Result get(const QString& url, const StateHandler& onState, const DataHandler& onData) override;
};
