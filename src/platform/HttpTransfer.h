#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// A plain HTTP GET of one URL, the one way the program talks to the internet. It blocks until the
// transfer has ended while the window goes on processing events.
class HttpTransfer {
public:
    struct Result {
        bool ok = false;
        QString error;     // why the fetch failed: host unreachable, connection broken, time-out
        qint64 bytes = 0;  // bytes of the body handed to onData
    };

    // A transfer state code, 0 to 12, as the status bar shows it.
    using StateHandler = std::function<void(int code)>;
    // Receives the body piece by piece, as it arrives; returning false aborts the transfer. A piece is
    // valid only during the call (a copy of the QByteArray may be kept).
    using DataHandler = std::function<bool(const QByteArray& chunk)>;

    virtual ~HttpTransfer() = default;

    // The body is delivered whatever the status code: an error page with a body is data like any other.
    virtual Result get(const QString& url, const StateHandler& onState, const DataHandler& onData) = 0;
};
