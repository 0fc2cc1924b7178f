#include "platform/QtHttpTransfer.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QStringList>
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
        case QNetworkReply::ProxyConnectionRefusedError:
            return QStringLiteral("Proxy poslužitelj je odbio vezu.");
        case QNetworkReply::ProxyConnectionClosedError:
            return QStringLiteral("Proxy poslužitelj je zatvorio vezu prije kraja prijenosa.");
        case QNetworkReply::ProxyNotFoundError:
            return QStringLiteral("Proxy poslužitelj nije pronađen.");
        case QNetworkReply::ProxyTimeoutError:
            return QStringLiteral("Proxy poslužitelj ne odgovara.");
        case QNetworkReply::ProxyAuthenticationRequiredError:
            return QStringLiteral(
                "Proxy poslužitelj traži prijavu, a korisničko ime i lozinka nisu upisani ili nisu "
                "ispravni.");
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

// Why a server's certificate was refused, in the user's words; the rarer reasons keep the library's
// text.
QString describe(const QSslError& e)
{
    switch (e.error()) {
        case QSslError::SelfSignedCertificate:
            return QStringLiteral("certifikat poslužitelja je samopotpisan i nije pouzdan");
        case QSslError::SelfSignedCertificateInChain:
            return QStringLiteral("u lancu certifikata je samopotpisan certifikat koji nije pouzdan");
        case QSslError::HostNameMismatch:
            return QStringLiteral("certifikat ne glasi na ime poslužitelja");
        case QSslError::CertificateExpired:
            return QStringLiteral("certifikat poslužitelja je istekao");
        case QSslError::CertificateNotYetValid:
            return QStringLiteral("certifikat poslužitelja još ne vrijedi");
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToGetLocalIssuerCertificate:
            return QStringLiteral("izdavatelj certifikata nije poznat");
        case QSslError::UnableToVerifyFirstCertificate:
            return QStringLiteral("certifikat poslužitelja nije moguće provjeriti");
        case QSslError::CertificateUntrusted:
            return QStringLiteral("certifikat poslužitelja nije pouzdan");
        case QSslError::CertificateRevoked:
            return QStringLiteral("certifikat poslužitelja je opozvan");
        case QSslError::NoPeerCertificate:
            return QStringLiteral("poslužitelj nije poslao certifikat");
        default:
            return QStringLiteral("certifikat nije prihvaćen: ") + e.errorString();
    }
}

QString describeTls(const QList<QSslError>& errors, const QString& qtText)
{
    QStringList reasons;
    for (const QSslError& e : errors) {
        const QString reason = describe(e);
        if (!reasons.contains(reason))
            reasons << reason;
    }
    if (reasons.isEmpty())
        reasons << qtText;
    return QStringLiteral("Sigurna veza s poslužiteljem nije uspostavljena: ") +
           reasons.join(QStringLiteral("; ")) + u'.';
}

// The value of a header of the final response. After a redirect the manager can keep the redirect's
// headers and append the final response's values to them: the last value counts. A date has a comma
// of its own, and a quoted entity tag may hold one.
QByteArray finalValue(const QNetworkReply& reply, const char* name)
{
    const QByteArray values = reply.rawHeader(name).trimmed();
    if (qstricmp(name, "ETag") == 0) {
        const qsizetype close = values.lastIndexOf('"');
        const qsizetype open = close > 0 ? values.lastIndexOf('"', close - 1) : -1;
        if (close != values.size() - 1 || open < 0)
            return values;
        const qsizetype start = open >= 2 && values.mid(open - 2, 2) == "W/" ? open - 2 : open;
        return values.mid(start);
    }
    const QList<QByteArray> parts = values.split(',');
    if (qstricmp(name, "Last-Modified") == 0)
        return parts.size() > 2 ? (parts[parts.size() - 2] + ',' + parts.last()).trimmed() : values;
    return parts.last().trimmed();
}

// One part of a body as a 206 names it: "bytes first-last/total", the total "*" when unknown.
struct ContentRange {
    qint64 first = 0;
    qint64 last = 0;
    qint64 total = -1;
};

std::optional<qint64> decimal(const QByteArray& text)
{
    if (text.isEmpty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return text.toLongLong();
}

std::optional<ContentRange> contentRange(const QByteArray& value)
{
    if (!value.startsWith("bytes "))
        return std::nullopt;
    const QByteArray spec = value.mid(6).trimmed();
    const qsizetype dash = spec.indexOf('-');
    const qsizetype slash = spec.indexOf('/');
    if (dash < 0 || slash < dash)
        return std::nullopt;
    const std::optional<qint64> first = decimal(spec.left(dash));
    const std::optional<qint64> last = decimal(spec.mid(dash + 1, slash - dash - 1));
    const QByteArray totalText = spec.mid(slash + 1);
    const std::optional<qint64> total = totalText == "*" ? std::optional<qint64>(-1) : decimal(totalText);
    if (!first || !last || !total || *last < *first || (*total >= 0 && *last >= *total))
        return std::nullopt;
    return ContentRange{*first, *last, *total};
}

// What a ranged request may name the version it holds by: a weak entity tag never matches in If-Range.
QByteArray rangeValidator(const HttpTransfer::Held& held)
{
    if (!held.etag.isEmpty() && !held.etag.startsWith("W/"))
        return held.etag;
    return held.lastModified;
}

// Replies are deleted from the event loop: one can still have signals queued when its transfer ends.
struct DeleteLater {
    void operator()(QObject* o) const { o->deleteLater(); }
};

// One GET from the request to its result: the reply, its two time-outs and why it was stopped.
class Transfer {
public:
    // `held` makes it a ranged request; without it the body is handed on whatever it is.
    Transfer(const HttpTransfer::Limits& limits, int windowMs, const HttpTransfer::StateHandler& onState,
             const HttpTransfer::DataHandler& onData, const HttpTransfer::Held* held = nullptr,
             const HttpTransfer::ResponseHandler* onResponse = nullptr)
        : limits_(limits),
          onState_(onState),
          onData_(onData),
          range_(held),
          onResponse_(onResponse),
          chunk_(kChunk, Qt::Uninitialized)
    {
        for (QTimer* t : {&inactivity_, &window_}) {
            t->setSingleShot(true);
            t->setTimerType(Qt::PreciseTimer);
            t->setInterval(windowMs);
        }
    }

    HttpTransfer::RangedResult run(QNetworkAccessManager& manager, const QString& url)
    {
        QNetworkRequest request{QUrl(url)};
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(kMaxRedirects);
        if (range_)
            askForRange(request);

        state(kConnecting);
        reply_.reset(manager.get(request));
        reply_->setReadBufferSize(kReadBuffer);
        connectSignals();

        QEventLoop loop;
        QObject::connect(reply_.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        inactivity_.start();
        if (!reply_->isFinished())
            loop.exec();
        inactivity_.stop();
        window_.stop();

        result_.error = end();
        result_.ok = result_.error.isEmpty();
        if (range_)
            classifyFailure();
        state(result_.ok ? kComplete : kError);
        state(kDisconnected);
        return result_;
    }

    // Stops the time-outs while the user answers a dialog, and starts them afresh afterwards: the
    // time spent reading is not the server's.
    void holdTimers(bool hold)
    {
        if (hold) {
            held_.clear();
            for (QTimer* t : {&inactivity_, &window_})
                if (t->isActive()) {
                    held_.push_back(t);
                    t->stop();
                }
            return;
        }
        for (QTimer* t : held_) t->start();
        held_.clear();
    }

private:
    // Why the transfer was ended before the reply did.
    enum class Stop { None, TimedOut, TooLarge, Refused, Restarted, Unsatisfiable, Misplaced };

    void state(int code)
    {
        if (onState_)
            onState_(code);
    }

    void stop(Stop why)
    {
        stop_ = why;
        reply_->abort();
    }

    void connectSignals()
    {
        QNetworkReply* r = reply_.get();
        auto activity = [this] { inactivity_.start(); };
        QObject::connect(&inactivity_, &QTimer::timeout, &context_, [this] { stop(Stop::TimedOut); });
        QObject::connect(&window_, &QTimer::timeout, &context_, [this] { stop(Stop::TimedOut); });
        QObject::connect(r, &QNetworkReply::socketStartedConnecting, &context_, activity);
        QObject::connect(r, &QNetworkReply::redirected, &context_, activity);
        QObject::connect(r, &QNetworkReply::requestSent, &context_, [this, activity] {
            activity();
            state(kRequestSent);
        });
        QObject::connect(r, &QNetworkReply::metaDataChanged, &context_, [this, activity] {
            activity();
            responseBegan();
        });
        QObject::connect(r, &QNetworkReply::downloadProgress, &context_, activity);
        if (range_)
            QObject::connect(r, &QNetworkReply::downloadProgress, &context_,
                             [this](qint64 received) { received_ = std::max(received_, received); });
        QObject::connect(r, &QNetworkReply::readyRead, &context_, [this, activity] {
            activity();
            if (!receiving_) {
                receiving_ = true;
                state(kResponseReceived);
            }
            drain();
        });
        QObject::connect(r, &QNetworkReply::sslErrors, &context_,
                         [this](const QList<QSslError>& errors) { sslErrors_ = errors; });
    }

    void responseBegan()
    {
        // After a broken connection the manager may send the request again and deliver the body
        // from its start after the part already handed on; that would be a corrupt file.
        if (receiving_) {
            stop(Stop::Restarted);
            return;
        }
        if (range_ && !takeRangedResponse())
            return;
        const std::optional<qint64> announced = announcedLength(*reply_);
        if (announced && *announced > limits_.maxBodyBytes) {
            stop(Stop::TooLarge);
            return;
        }
        if (range_ && !accepted())
            return;
        state(kReceiving);
        windowBytes_ = 0;
        if (limits_.minBytesPerWindow > 0)
            window_.start();
    }

    // Hands everything buffered to the receiver. One buffer serves every piece, so a long transfer
    // does not allocate memory for each one.
    void drain()
    {
        while (stop_ == Stop::None && reply_->bytesAvailable() > 0) {
            chunk_.resize(kChunk);
            const qint64 n = reply_->read(chunk_.data(), chunk_.size());
            if (n <= 0)
                break;
            if (n > limits_.maxBodyBytes - result_.bytes) {
                stop(Stop::TooLarge);
                break;
            }
            chunk_.resize(n);
            result_.bytes += n;
            countForWindow(n);
            if (onData_ && !onData_(chunk_))
                stop(Stop::Refused);
        }
    }

    // Each window that brings the floor starts the next one; a window that ends short of it is a stall.
    void countForWindow(qint64 n)
    {
        windowBytes_ += n;
        if (limits_.minBytesPerWindow > 0 && windowBytes_ >= limits_.minBytesPerWindow) {
            windowBytes_ = 0;
            window_.start();
        }
    }

    // The reason the transfer failed, or the empty string.
    QString end()
    {
        const QNetworkReply::NetworkError e = reply_->error();
        const bool answered = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
        const bool broken = e != QNetworkReply::NoError && !(answered && isHttpStatusError(e));
        if (stop_ == Stop::None && !broken)
            drain();
        switch (stop_) {
            case Stop::Restarted:
                return describe(QNetworkReply::RemoteHostClosedError, QString());
            case Stop::TimedOut:
                return QStringLiteral("Isteklo je vrijeme čekanja: poslužitelj ne šalje podatke.");
            case Stop::TooLarge:
                return QStringLiteral("Poslužitelj šalje više podataka nego što je očekivano (najviše ") +
                       QString::number(limits_.maxBodyBytes) + QStringLiteral(" bajtova).");
            case Stop::Refused:
                return QStringLiteral("Prijenos je prekinut.");
            case Stop::Misplaced:
                return QStringLiteral("Poslužitelj nije poslao traženi dio datoteke.");
            case Stop::Unsatisfiable:
                return QString();
            case Stop::None:
                break;
        }
        if (e == QNetworkReply::SslHandshakeFailedError)
            return describeTls(sslErrors_, reply_->errorString());
        if (broken)
            return describe(e, reply_->errorString());
        // The manager sometimes reports a body cut short by a closed connection as complete when it
        // had stopped reading because its buffer was full; the length the server announced tells.
        // (With a compressed body the manager drops the header, as it no longer fits the bytes
        // delivered.)
        const std::optional<qint64> announced = announcedLength(*reply_);
        if (announced && *announced != result_.bytes)
            return describe(QNetworkReply::RemoteHostClosedError, QString());
        return QString();
    }

    // Asks for the rest of the body from the offset held, only if the server's version is still the
    // one held; a range with nothing to name that version by could append another file's bytes.
    void askForRange(QNetworkRequest& request)
    {
        // A range counts the bytes of the file itself, not those of a compressed form of it.
        request.setRawHeader("Accept-Encoding", "identity");
        const QByteArray validator = rangeValidator(*range_);
        if (range_->offset <= 0 || validator.isEmpty())
            return;
        request.setRawHeader("Range", "bytes=" + QByteArray::number(range_->offset) + '-');
        request.setRawHeader("If-Range", validator);
        asked_ = range_->offset;
    }

    // Notes what the response is; false when its body is not to be handed on and the transfer ends.
    bool takeRangedResponse()
    {
        const QNetworkReply& r = *reply_;
        result_.status = r.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result_.etag = finalValue(r, "ETag");
        result_.lastModified = finalValue(r, "Last-Modified");
        result_.acceptsRanges = finalValue(r, "Accept-Ranges").compare("bytes", Qt::CaseInsensitive) == 0;
        if (result_.status == 416) {
            result_.body = HttpTransfer::Body::Unsatisfiable;
            const QByteArray range = finalValue(r, "Content-Range");
            if (range.startsWith("bytes */"))
                result_.total = decimal(range.mid(8)).value_or(-1);
            // The manager has taken the status for an error already and complains when aborted after
            // that, so a short page is left to arrive, unread.
            stop_ = Stop::Unsatisfiable;
            const std::optional<qint64> announced = announcedLength(r);
            if (!announced || *announced > kReadBuffer)
                reply_->abort();
            return false;
        }
        if (result_.status != 206) {
            result_.body = HttpTransfer::Body::Whole;
            result_.total = announcedLength(r).value_or(-1);
            return true;
        }
        // Only one part asked for, that starts where the held bytes end, of a body of the size
        // expected, and that the announced length covers exactly, may follow them.
        const std::optional<ContentRange> part = contentRange(finalValue(r, "Content-Range"));
        const std::optional<qint64> announced = announcedLength(r);
        const bool follows = part && part->first == asked_ && asked_ == std::max<qint64>(0, range_->offset) &&
                             (part->total < 0 || range_->total < 0 || part->total == range_->total) &&
                             (!announced || *announced == part->last - part->first + 1);
        if (!follows) {
            result_.body = HttpTransfer::Body::Misplaced;
            stop(Stop::Misplaced);
            return false;
        }
        result_.body = HttpTransfer::Body::Continuation;
        result_.total = part->total;
        return true;
    }

    // Tells the caller what the body is before a byte of it is handed on; false when it refuses it.
    bool accepted()
    {
        if (!onResponse_ || !*onResponse_ || (*onResponse_)(result_))
            return true;
        stop(Stop::Refused);
        return false;
    }

    // Sorts a failure by what a caller does about it: try again, try elsewhere, or give up.
    void classifyFailure()
    {
        using F = HttpTransfer::Failure;
        result_.received = std::max(received_, result_.bytes);
        if (result_.ok) {
            result_.failure = F::None;
            return;
        }
        const QNetworkReply::NetworkError e = reply_->error();
        const bool began = result_.status > 0;
        switch (stop_) {
            case Stop::TooLarge:
                result_.failure = F::TooLarge;
                return;
            case Stop::Refused:
                result_.failure = F::Refused;
                return;
            case Stop::Misplaced:
                result_.failure = F::Misplaced;
                return;
            default:
                break;
        }
        if (e == QNetworkReply::SslHandshakeFailedError || e == QNetworkReply::InsecureRedirectError)
            result_.failure = F::Insecure;
        else
            result_.failure = began ? F::Broken : F::Unreachable;
    }

    const HttpTransfer::Limits limits_;
    const HttpTransfer::StateHandler& onState_;
    const HttpTransfer::DataHandler& onData_;
    const HttpTransfer::Held* range_;  // what the caller holds, for a ranged request
    const HttpTransfer::ResponseHandler* onResponse_;
    std::unique_ptr<QNetworkReply, DeleteLater> reply_;
    // The context of every connection to this object: a signal the reply emits after the transfer
    // has ended, on its way to deletion, reaches nothing.
    QObject context_;
    QTimer inactivity_;  // nothing at all arrives
    QTimer window_;      // the body brings less than its floor
    std::vector<QTimer*> held_;
    qint64 windowBytes_ = 0;
    QByteArray chunk_;
    QList<QSslError> sslErrors_;
    Stop stop_ = Stop::None;
    bool receiving_ = false;
    qint64 asked_ = 0;     // where the part asked for starts
    qint64 received_ = 0;  // body bytes the manager reports received
    HttpTransfer::RangedResult result_;
};

}  // namespace

QtHttpTransfer::QtHttpTransfer(int inactivityMs) : inactivityMs_(inactivityMs) {}

QtHttpTransfer::~QtHttpTransfer() = default;

QNetworkAccessManager& QtHttpTransfer::manager()
{
    // Made at the first transfer, in the thread that runs the transfers and after the application.
    if (!manager_) {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        manager_ = std::make_unique<QNetworkAccessManager>();
        manager_->setProxy(proxy_);
        QObject::connect(manager_.get(), &QNetworkAccessManager::proxyAuthenticationRequired, manager_.get(),
                         [this](const QNetworkProxy& proxy, QAuthenticator* authenticator) {
                             answerProxy(proxy, authenticator);
                         });
    }
    return *manager_;
}

HttpTransfer::Result QtHttpTransfer::get(const QString& url, const Limits& limits,
                                         const StateHandler& onState, const DataHandler& onData)
{
    return run(url, limits, onState, onData, nullptr, nullptr);
}

HttpTransfer::RangedResult QtHttpTransfer::getRanged(const QString& url, const Held& held,
                                                     const Limits& limits, const StateHandler& onState,
                                                     const ResponseHandler& onResponse,
                                                     const DataHandler& onData)
{
    return run(url, limits, onState, onData, &held, onResponse);
}

HttpTransfer::RangedResult QtHttpTransfer::run(const QString& url, const Limits& limits,
                                               const StateHandler& onState, const DataHandler& onData,
                                               const Held* held, const ResponseHandler& onResponse)
{
    loginRequestsInTransfer_ = 0;
    Transfer transfer(limits, inactivityMs_, onState, onData, held, &onResponse);
    holdTimers_ = [&transfer](bool hold) { transfer.holdTimers(hold); };
    const RangedResult result = transfer.run(manager(), url);
    holdTimers_ = nullptr;
    return result;
}

void QtHttpTransfer::answerProxy(const QNetworkProxy& proxy, QAuthenticator* authenticator)
{
    // The manager keeps a login it was given for later connections; a second challenge within one
    // transfer means the proxy refused what it was sent.
    ++loginRequestsInTransfer_;
    if (login_ && loginRequestsInTransfer_ == 1) {
        authenticator->setUser(login_->user);
        authenticator->setPassword(login_->password);
        return;
    }
    login_.reset();
    if (!dialogs_ || loginsAsked_ >= 2)
        return;  // an authenticator left empty fails the transfer with the proxy's message
    const bool again = loginsAsked_ > 0;
    ++loginsAsked_;
    if (holdTimers_)
        holdTimers_(true);
    const std::optional<Dialogs::Credentials> answer =
        dialogs_->askProxyCredentials(proxy.hostName() + u':' + QString::number(proxy.port()), again);
    if (holdTimers_)
        holdTimers_(false);
    if (!answer) {
        loginsAsked_ = 2;  // a cancelled dialog is not shown again in this run
        return;
    }
    login_ = answer;
    authenticator->setUser(answer->user);
    authenticator->setPassword(answer->password);
}

QString QtHttpTransfer::useProxy(const QString& address)
{
    const QString text = address.trimmed();
    QString error;
    proxy_ = QNetworkProxy(QNetworkProxy::DefaultProxy);
    if (!text.isEmpty()) {
        const QUrl url(text.contains(QStringLiteral("://")) ? text : QStringLiteral("http://") + text,
                       QUrl::StrictMode);
        const QString path = url.path();
        if (url.isValid() && url.scheme() == QStringLiteral("http") && !url.host().isEmpty() &&
            url.port() > 0 && (path.isEmpty() || path == QStringLiteral("/")) && !url.hasQuery() &&
            !url.hasFragment())
            proxy_ = QNetworkProxy(QNetworkProxy::HttpProxy, url.host(), static_cast<quint16>(url.port()),
                                   url.userName(), url.password());
        else
            error = QStringLiteral("adresa \"") + text +
                    QStringLiteral(
                        "\" nije oblika http://poslužitelj:port, pa vrijedi proxy iz postavki sustava.");
    }
    if (manager_)
        manager_->setProxy(proxy_);
    return error;
}
