#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// A plain HTTP GET of one URL, the one way the program talks to the internet. It blocks until the
// transfer has ended while the window goes on processing events.
class HttpTransfer {
public:
    // The least a body must bring in each time-out window once the response has begun. A line of a
    // few KiB/s brings several times this; a server that trickles less is given up as timed out.
    static constexpr qint64 kStallFloor = 32 * 1024;

    // What the caller expects of one body, so that a hostile or broken server cannot fill the disk or
    // hold the transfer for as long as it likes.
    struct Limits {
        explicit Limits(qint64 maxBodyBytes, qint64 minBytesPerWindow = kStallFloor)
            : maxBodyBytes(maxBodyBytes), minBytesPerWindow(minBytesPerWindow)
        {
        }
        // The most body bytes the caller accepts, counted as delivered (after any content decoding).
        // A longer body, or a longer announced one, ends the transfer before a byte past it is handed on.
        qint64 maxBodyBytes;
        // The fewest body bytes each time-out window must bring once the response has begun; 0 never
        // gives up a body that is slow but not silent.
        qint64 minBytesPerWindow;
    };

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
    virtual Result get(const QString& url, const Limits& limits, const StateHandler& onState,
                       const DataHandler& onData) = 0;

    // Sends every later transfer through the HTTP proxy `address` ("http://host:port"); the empty
    // string goes back to the system's proxy configuration. On an address it cannot use it keeps the
    // system's configuration and returns why, in words fit to follow "Proxy: "; else the empty string.
    virtual QString useProxy(const QString& address) = 0;
};
