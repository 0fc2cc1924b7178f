#include "support/HttpServer.h"

#include <httplib.h>
// The Windows tests' server has no TLS: there is no OpenSSL for Windows here.
#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
#include "support/TestCertificates.h"

#include <openssl/pem.h>
#endif

#include <sys/stat.h>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTcpServer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

const std::string kBasePath = "/download/Verzija20/";
const char* const kBinary = "application/octet-stream";

std::string utf8(const QString& s)
{
    return s.toStdString();
}

#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
std::unique_ptr<httplib::Server> tlsServer(const TlsIdentity& identity)
{
    BIO* certificateText = BIO_new_mem_buf(identity.certificate.constData(), -1);
    BIO* keyText = BIO_new_mem_buf(identity.key.constData(), -1);
    X509* certificate = PEM_read_bio_X509(certificateText, nullptr, nullptr, nullptr);
    EVP_PKEY* key = PEM_read_bio_PrivateKey(keyText, nullptr, nullptr, nullptr);
    // The server's context keeps references of its own to both.
    auto server = std::make_unique<httplib::SSLServer>(certificate, key);
    EVP_PKEY_free(key);
    X509_free(certificate);
    BIO_free(keyText);
    BIO_free(certificateText);
    return server;
}
#endif

// A file's version as a static server names it: an entity tag from its size and modification time to
// the nanosecond, and the time as an HTTP date.
struct Version {
    std::string etag;
    std::string lastModified;
};

Version versionOf(const QString& path)
{
    struct stat s {};
    ::stat(QFile::encodeName(path).constData(), &s);
    char etag[64];
    std::snprintf(etag, sizeof etag, "\"%llx-%llx-%lx\"", static_cast<unsigned long long>(s.st_size),
                  static_cast<unsigned long long>(s.st_mtim.tv_sec), static_cast<long>(s.st_mtim.tv_nsec));
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(s.st_mtim.tv_sec, Qt::UTC);
    const QString date = QLocale::c().toString(modified, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
    return {etag, date.toStdString()};
}

// If-Range names the present version by a strong entity tag or by the exact date; a weak tag never
// matches.
bool ifRangeMatches(const std::string& ifRange, const Version& version)
{
    if (ifRange.empty())
        return true;
    if (ifRange.front() == '"')
        return ifRange == version.etag;
    if (ifRange.rfind("W/", 0) == 0)
        return false;
    return ifRange == version.lastModified;
}

}  // namespace

HttpServer::HttpServer(const QString& folder)
    : HttpServer(folder, std::make_unique<httplib::Server>(), "http")
{
}

#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
HttpServer::HttpServer(const QString& folder, const TlsIdentity& identity)
    : HttpServer(folder, tlsServer(identity), "https")
{
}
#endif

HttpServer::HttpServer(const QString& folder, std::unique_ptr<httplib::Server> server, const char* scheme)
    : folder_(folder), server_(std::move(server)), scheme_(QString::fromLatin1(scheme))
{
    // A client that leaves a connection open must not hold up the end of a test.
    server_->set_keep_alive_timeout(0);
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        dispatch(request, response);
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] {
        server_->listen_after_bind();
        listenEnded_ = true;
    });
    // A stop before the server runs would be missed and leave its thread waiting for a client forever.
    while (!server_->is_running() && !listenEnded_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

HttpServer::~HttpServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    server_->stop();
    if (thread_.joinable())
        thread_.join();
}

QString HttpServer::baseUrl() const
{
    return url(QString::fromStdString(kBasePath));
}

QString HttpServer::url(const QString& path) const
{
    return scheme_ + QStringLiteral("://127.0.0.1:") + QString::number(port_) + path;
}

void HttpServer::reply(const QString& name, int status, const QByteArray& body)
{
    const std::string bytes = body.toStdString();
    handle(QString::fromStdString(kBasePath) + name,
           [status, bytes](const httplib::Request&, httplib::Response& r) {
               r.status = status;
               r.set_content(bytes, kBinary);
           });
}

void HttpServer::replyBroken(const QString& name, const QByteArray& sent, qint64 promised)
{
    const std::string bytes = sent.toStdString();
    handle(QString::fromStdString(kBasePath) + name,
           [bytes, promised](const httplib::Request&, httplib::Response& r) {
               r.set_content_provider(static_cast<size_t>(promised), kBinary,
                                      [bytes](size_t offset, size_t, httplib::DataSink& sink) {
                                          if (offset >= bytes.size())
                                              return false;  // closes the connection
                                          return sink.write(bytes.data() + offset, bytes.size() - offset);
                                      });
           });
}

void HttpServer::replySlow(const QString& name, const QByteArray& body, int pieces,
                           std::chrono::milliseconds pause)
{
    const std::string bytes = body.toStdString();
    const size_t piece = std::max<size_t>(1, (bytes.size() + pieces - 1) / std::max(1, pieces));
    handle(QString::fromStdString(kBasePath) + name, [this, bytes, piece, pause](const httplib::Request&,
                                                                                 httplib::Response& r) {
        r.set_content_provider(bytes.size(), kBinary,
                               [this, bytes, piece, pause](size_t offset, size_t, httplib::DataSink& sink) {
                                   if (!this->pause(pause))
                                       return false;
                                   const size_t n = std::min(piece, bytes.size() - offset);
                                   return sink.write(bytes.data() + offset, n);
                               });
    });
}

void HttpServer::replyStalled(const QString& name, const QByteArray& sent, qint64 promised)
{
    const std::string bytes = sent.toStdString();
    handle(QString::fromStdString(kBasePath) + name,
           [this, bytes, promised](const httplib::Request&, httplib::Response& r) {
               r.set_content_provider(static_cast<size_t>(promised), kBinary,
                                      [this, bytes](size_t offset, size_t, httplib::DataSink& sink) {
                                          if (offset < bytes.size())
                                              return sink.write(bytes.data() + offset, bytes.size() - offset);
                                          this->pause(std::chrono::hours(1));
                                          return false;
                                      });
           });
}

void HttpServer::redirect(const QString& name, const QString& location, int status)
{
    const std::string target = utf8(location);
    handle(
        QString::fromStdString(kBasePath) + name,
        [target, status](const httplib::Request&, httplib::Response& r) { r.set_redirect(target, status); });
}

void HttpServer::handle(const QString& path, Handler handler)
{
    std::lock_guard lock(mutex_);
    handlers_[utf8(path)] = std::move(handler);
}

void HttpServer::clearReplies()
{
    std::lock_guard lock(mutex_);
    handlers_.clear();
}

void HttpServer::honourRanges(bool honour)
{
    std::lock_guard lock(mutex_);
    honourRanges_ = honour;
}

void HttpServer::sendValidators(bool send)
{
    std::lock_guard lock(mutex_);
    sendValidators_ = send;
}

void HttpServer::misplaceRanges(qint64 by)
{
    std::lock_guard lock(mutex_);
    misplaceBy_ = by;
}

void HttpServer::cutAfter(const QString& name, qint64 bytes, int times)
{
    std::lock_guard lock(mutex_);
    cuts_[utf8(name)] = {bytes, times};
}

QStringList HttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<HttpServer::Served> HttpServer::served() const
{
    std::lock_guard lock(mutex_);
    std::vector<Served> copy;
    for (const auto& s : served_) copy.push_back(*s);
    return copy;
}

void HttpServer::clearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
    served_.clear();
}

bool HttpServer::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    return !stopped_.wait_for(lock, duration, [this] { return stopping_; });
}

QString HttpServer::unreachableBaseUrl()
{
    // The port was free a moment ago and nothing listens on it once the socket is closed again.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:") + QString::number(port) + QString::fromStdString(kBasePath);
}

void HttpServer::dispatch(const httplib::Request& request, httplib::Response& response)
{
    // The library would cut every body to the request's range, even a 200's, and answer a range past
    // the end with a 206 of a negative length; the server decides about ranges itself.
    const httplib::Ranges ranges = request.ranges;
    const_cast<httplib::Request&>(request).ranges.clear();

    Handler handler;
    auto record = std::make_shared<Served>();
    record->path = QString::fromStdString(request.path);
    record->range = QByteArray::fromStdString(request.get_header_value("Range"));
    record->ifRange = QByteArray::fromStdString(request.get_header_value("If-Range"));
    {
        std::lock_guard lock(mutex_);
        requests_ << QString::fromStdString(request.path);
        served_.push_back(record);
        const auto found = handlers_.find(request.path);
        if (found != handlers_.end())
            handler = found->second;
    }
    if (handler)
        handler(request, response);
    else if (request.path.rfind(kBasePath, 0) == 0)
        serveFile(request.path.substr(kBasePath.size()), ranges, request, response, record);
    else
        response.status = 404;
    std::lock_guard lock(mutex_);
    record->status = response.status == -1 ? 200 : response.status;
}

void HttpServer::serveFile(const std::string& name, const httplib::Ranges& ranges,
                           const httplib::Request& request, httplib::Response& response,
                           const std::shared_ptr<Served>& record)
{
    const bool escapes = name.find("..") != std::string::npos;
    const QString path = folder_ + u'/' + QString::fromStdString(name);
    if (folder_.isEmpty() || escapes || !QFile::exists(path)) {
        response.status = 404;
        response.set_content("<html><body>404 Not Found</body></html>", "text/html");
        return;
    }
    const Version version = versionOf(path);
    const size_t size = static_cast<size_t>(QFile(path).size());
    bool honour = false;
    qint64 misplaceBy = 0;
    qint64 cut = -1;
    {
        std::lock_guard lock(mutex_);
        honour = honourRanges_;
        misplaceBy = misplaceBy_;
        if (sendValidators_) {
            response.set_header("ETag", version.etag);
            response.set_header("Last-Modified", version.lastModified);
        }
        const auto found = cuts_.find(name);
        if (found != cuts_.end() && found->second.second > 0) {
            cut = found->second.first;
            --found->second.second;
        }
    }

    size_t first = 0;
    size_t length = size;
    response.status = 200;
    if (honour) {
        response.set_header("Accept-Ranges", "bytes");
        // One range is honoured; a client that asks for several gets the whole file, as it may.
        if (ranges.size() == 1 && ifRangeMatches(request.get_header_value("If-Range"), version)) {
            const auto [from, to] = ranges.front();
            const size_t start =
                from >= 0 ? static_cast<size_t>(from) : size - std::min(size, static_cast<size_t>(to));
            if (start >= size || (from < 0 && to == 0)) {
                response.status = 416;
                response.set_header("Content-Range", "bytes */" + std::to_string(size));
                return;
            }
            const size_t end = from >= 0 && to >= 0 ? std::min(size, static_cast<size_t>(to) + 1) : size;
            first = std::min(
                end - 1, static_cast<size_t>(std::max<qint64>(0, static_cast<qint64>(start) + misplaceBy)));
            length = end - first;
            response.status = 206;
            response.set_header("Content-Range", "bytes " + std::to_string(first) + '-' +
                                                     std::to_string(end - 1) + '/' + std::to_string(size));
        }
    }

    // The bytes are counted before they go, so a client never holds bytes the count lacks.
    const size_t limit = cut >= 0 ? std::min(length, static_cast<size_t>(cut)) : length;
    auto in = std::make_shared<std::ifstream>(QFile::encodeName(path).toStdString(), std::ios::binary);
    response.set_content_provider(
        length, kBinary,
        [this, in, first, limit, record](size_t offset, size_t wanted, httplib::DataSink& sink) {
            if (offset >= limit)
                return false;  // closes the connection
            std::vector<char> buffer(std::min<size_t>({wanted, limit - offset, 256 * 1024}));
            in->seekg(static_cast<std::streamoff>(first + offset));
            in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const std::streamsize got = in->gcount();
            if (got <= 0)
                return false;
            {
                std::lock_guard lock(mutex_);
                record->bodyBytes += got;
            }
            if (sink.write(buffer.data(), static_cast<size_t>(got)))
                return true;
            std::lock_guard lock(mutex_);
            record->bodyBytes -= got;
            return false;
        });
}
