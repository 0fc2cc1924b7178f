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

    // What the caller already holds of a body from an earlier fetch of the same URL, and how the server
    // named the version it came from (the earlier response's headers, as sent).
    struct Held {
        qint64 offset = 0;        // bytes held; the rest is asked for from here
        qint64 total = -1;        // the whole body's size the caller expects; -1 when it does not know
        QByteArray etag;          // the earlier response's ETag
        QByteArray lastModified;  // the earlier response's Last-Modified
    };

    // What the bytes handed on by a ranged fetch are.
    enum class Body {
        // No response arrived.
        None,
        // The body from its first byte: a 200 (the server ignored the range, or the version held is no
        // longer the one on the server), or another status's page.
        Whole,
        // A 206 from the offset held: the bytes handed on follow the ones held.
        Continuation,
        // A 416: the server has nothing from the offset held; nothing is handed on.
        Unsatisfiable,
        // A 206 for another part than the one asked for (another start or total, or several parts), or
        // for a part not asked for at all; nothing is handed on.
        Misplaced,
    };

    // Why a ranged fetch failed, for callers that try again, or another server.
    enum class Failure {
        None,
        Unreachable,  // no response: no connection, no such host, a time-out or a proxy's refusal before it
        Insecure,     // the server's certificate was refused, or a redirect led from https to http
        Broken,       // the response began and its body ended early: a closed connection or a time-out
        TooLarge,     // the body passes the ceiling
        Refused,      // the receiver refused more
        Misplaced,    // the server sent another part than the one asked for
    };

    struct RangedResult : Result {
        Body body = Body::None;
        Failure failure = Failure::None;
        int status = 0;     // the final response's HTTP status; 0 when none arrived
        qint64 total = -1;  // the whole body's size as the response says it; -1 when it does not
        QByteArray etag;    // the response's validators, as sent, to be given back in Held
        QByteArray lastModified;
        bool acceptsRanges = false;  // the response says "Accept-Ranges: bytes"
        qint64 received = 0;         // body bytes that came over the network, handed on or not
    };

    // Told what a ranged fetch's response is once its headers are in, before a byte of a Whole or
    // Continuation body is handed on (so the caller knows whether to append or start over); returning
    // false ends the transfer there.
    using ResponseHandler = std::function<bool(const RangedResult& response)>;
    // A transfer state code, 0 to 12, as the status bar shows it.
    using StateHandler = std::function<void(int code)>;
    // Receives the body piece by piece, as it arrives; returning false aborts the transfer. A piece is
    // valid only during the call (a copy of the QByteArray may be kept).
    using DataHandler = std::function<bool(const QByteArray& chunk)>;

    virtual ~HttpTransfer() = default;

    // The body is delivered whatever the status code: an error page with a body is data like any other.
    virtual Result get(const QString& url, const Limits& limits, const StateHandler& onState,
                       const DataHandler& onData) = 0;

    // A GET for the rest of a body the caller holds in part: with `held.offset` above 0 and a validator
    // (a strong ETag, else the Last-Modified date) it asks for "bytes=offset-" only if the server's version
    // is still the one named, and otherwise for the whole body; the body is asked for without content
    // coding, so offsets count the file's own bytes. Only a Continuation or a Whole body is handed on.
    // `limits` hold for the bytes this request brings, so a caller that may be sent the whole body
    // again allows for all of it.
    virtual RangedResult getRanged(const QString& url, const Held& held, const Limits& limits,
                                   const StateHandler& onState, const ResponseHandler& onResponse,
                                   const DataHandler& onData) = 0;

    // Sends every later transfer through the HTTP proxy `address` ("http://host:port"); the empty
    // string goes back to the system's proxy configuration. On an address it cannot use it keeps the
    // system's configuration and returns why, in words fit to follow "Proxy: "; else the empty string.
    virtual QString useProxy(const QString& address) = 0;
};
