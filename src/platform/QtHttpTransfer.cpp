#include "platform/QtHttpTransfer.h"

#include <optional>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

// How much of the body the manager may hold before it stops reading from the network; it bounds the
// memory of a transfer whatever the file's size, and larger buffers measured no faster.
constexpr qint64 kReadBuffer = 256 * 1024;

// The largest piece handed to the receiver at once: pieces of this size stay in the processor's
// cache on their way to the disk, where 256 KiB pieces were copied into the page cache at half speed.
constexpr qint64 kChunk = 64 * 1024;

constexpr int kMaxRedirects = 5;

// Transfer state codes as the status bar shows them.
enum : int {
    kConnecting = 3,
    kRequestSent = 6,
    kReceiving = 7,
    kResponseReceived = 8,
    kDisconnected = 10,
    kError = 11,
    kComplete = 12,
};

// Errors the manager reports for an HTTP status of 400 or more; the reply's body is still data.
bool isHttpStatusError(QNetworkReply::NetworkError e)
{
    switch (e) {
        case QNetworkReply::ContentAccessDenied:
        case QNetworkReply::ContentOperationNotPermittedError:
        case QNetworkReply::ContentNotFoundError:
        case QNetworkReply::AuthenticationRequiredError:
        case QNetworkReply::ContentConflictError:
        case QNetworkReply::ContentGoneError:
        case QNetworkReply::UnknownContentError:
        case QNetworkReply::ProtocolInvalidOperationError:
        case QNetworkReply::InternalServerError:
        case QNetworkReply::OperationNotImplementedError:
        case QNetworkReply::ServiceUnavailableError:
        case QNetworkReply::UnknownServerError:
            return true;
        default:
            return false;
    }
}

QString describe(QNetworkReply::NetworkError e, const QString& qtText)
{
    switch (e) {
        case QNetworkReply::ConnectionRefusedError:
            return QStringLiteral("Poslužitelj je odbio vezu.");
        case QNetworkReply::RemoteHostClosedError:
            return QStringLiteral("Poslužitelj je zatvorio vezu prije kraja prijenosa.");
        case QNetworkReply::HostNotFoundError:
            return QStringLiteral("Poslužitelj nije pronađen.");
        case QNetworkReply::TimeoutError:
            return QStringLiteral("Poslužitelj ne odgovara.");
        case QNetworkReply::OperationCanceledError:
            return QStringLiteral("Prijenos je prekinut.");
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
            return QStringLiteral("Mreža nije dostupna.");
        case QNetworkReply::TooManyRedirectsError:
            return QStringLiteral("Previše preusmjeravanja.");
        case QNetworkReply::InsecureRedirectError:
            return QStringLiteral("Preusmjeravanje sa https na http nije dopušteno.");
        case QNetworkReply::ProtocolUnknownError:
            return QStringLiteral("Adresa nije ispravna: ") + qtText;
        default:
            return qtText;
    }
}

// The body length the final response announced. After a redirect the manager can keep the
// redirect's headers and append the final response's values to them ("15, 4"): the last one counts.
std::optional<qint64> announcedLength(const QNetworkReply& reply)
{
    const QByteArray values = reply.rawHeader("Content-Length");
    if (values.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 length = values.split(',').last().trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(length) : std::nullopt;
}

}  // namespace

HttpTransfer::Result QtHttpTransfer::get(const QString& url, const StateHandler& onState,
                                         const DataHandler& onData)
{
    Result result;
    auto state = [&](int code) {
        if (onState)
            onState(code);
    };

    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);

    state(kConnecting);
    QNetworkReply* reply = manager.get(request);
    reply->setReadBufferSize(kReadBuffer);

    QEventLoop loop;
    QTimer inactivity;
    inactivity.setSingleShot(true);
    inactivity.setTimerType(Qt::PreciseTimer);
    inactivity.setInterval(inactivityMs_);
    bool timedOut = false;
    bool refused = false;  // the receiver wanted no more
    bool receiving = false;
    bool restarted = false;  // the response began again after part of the body had arrived

    // Hands everything buffered to the receiver. One buffer serves every piece, so a long transfer
    // does not allocate memory for each one.
    QByteArray chunk(kChunk, Qt::Uninitialized);
    auto drain = [&]() {
        while (!refused && !restarted && reply->bytesAvailable() > 0) {
            chunk.resize(kChunk);
            const qint64 n = reply->read(chunk.data(), chunk.size());
            if (n <= 0)
                break;
            chunk.resize(n);
            result.bytes += n;
            if (onData && !onData(chunk)) {
                refused = true;
                reply->abort();
            }
        }
    };
    auto activity = [&]() { inactivity.start(); };

    QObject::connect(&inactivity, &QTimer::timeout, reply, [&]() {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::socketStartedConnecting, reply, activity);
    QObject::connect(reply, &QNetworkReply::redirected, reply, activity);
    QObject::connect(reply, &QNetworkReply::requestSent, reply, [&]() {
        activity();
        state(kRequestSent);
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&]() {
        activity();
        // After a broken connection the manager may send the request again and deliver the body
        // from its start after the part already handed on; that would be a corrupt file.
        if (receiving) {
            restarted = true;
            reply->abort();
            return;
        }
        state(kReceiving);
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, activity);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&]() {
        activity();
        if (!receiving) {
            receiving = true;
            state(kResponseReceived);
        }
        drain();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);

    inactivity.start();
    if (!reply->isFinished())
        loop.exec();
    inactivity.stop();

    const QNetworkReply::NetworkError e = reply->error();
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    const bool broken = e != QNetworkReply::NoError && !(answered && isHttpStatusError(e));
    if (!timedOut && !refused && !restarted && !broken)
        drain();
    // The manager sometimes reports a body cut short by a closed connection as complete when it had
    // stopped reading because its buffer was full; the length the server announced tells. (With a
    // compressed body the manager drops the header, as it no longer fits the bytes delivered.)
    const std::optional<qint64> announced = announcedLength(*reply);
    const bool cutShort = !broken && !timedOut && !refused && announced && *announced != result.bytes;
    if (restarted)
        result.error = describe(QNetworkReply::RemoteHostClosedError, QString());
    else if (timedOut)
        result.error = QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke.");
    else if (refused)
        result.error = QStringLiteral("Prijenos je prekinut.");
    else if (broken)
        result.error = describe(e, reply->errorString());
    else if (cutShort)
        result.error = describe(QNetworkReply::RemoteHostClosedError, QString());
    result.ok = result.error.isEmpty();

    state(result.ok ? kComplete : kError);
    state(kDisconnected);
    return result;
}
