#include "support/HttpServer.h"

#include <httplib.h>
// The Windows tests' server has no TLS: there is no OpenSSL for Windows here.
#ifdef CPPHTTPLIB_OPENSSL_SUPPORT
#include "support/TestCertificates.h"

#include <openssl/pem.h>
#endif

#include <QFile>
#include <QTcpServer>
#include <algorithm>
#include <atomic>
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

QStringList HttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void HttpServer::clearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
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
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_ << QString::fromStdString(request.path);
        const auto found = handlers_.find(request.path);
        if (found != handlers_.end())
            handler = found->second;
    }
    if (handler)
        handler(request, response);
    else if (request.path.rfind(kBasePath, 0) == 0)
        serveFile(request.path.substr(kBasePath.size()), response);
    else
        response.status = 404;
}

void HttpServer::serveFile(const std::string& name, httplib::Response& response)
{
    const bool escapes = name.find("..") != std::string::npos;
    const QString path = folder_ + u'/' + QString::fromStdString(name);
    if (folder_.isEmpty() || escapes || !QFile::exists(path)) {
        response.status = 404;
        response.set_content("<html><body>404 Not Found</body></html>", "text/html");
        return;
    }
    auto in = std::make_shared<std::ifstream>(QFile::encodeName(path).toStdString(), std::ios::binary);
    const size_t size = static_cast<size_t>(QFile(path).size());
    response.set_content_provider(size, kBinary, [in](size_t offset, size_t length, httplib::DataSink& sink) {
        std::vector<char> buffer(std::min<size_t>(length, 256 * 1024));
        in->seekg(static_cast<std::streamoff>(offset));
        in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in->gcount();
        return got > 0 && sink.write(buffer.data(), static_cast<size_t>(got));
    });
}
