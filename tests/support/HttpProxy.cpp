#include "support/HttpProxy.h"

#include <httplib.h>

#include <QByteArray>
#include <QUrl>

HttpProxy::HttpProxy() : server_(std::make_unique<httplib::Server>())
{
    // A connection closes once its response has gone and no next request waits, so a client that
    // keeps its connections open does not hold up the end of a test.
    server_->set_keep_alive_timeout(0);
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        const QUrl target(QString::fromStdString(request.target));
        {
            std::lock_guard lock(mutex_);
            if (!expected_.empty() && request.get_header_value("Proxy-Authorization") != expected_) {
                ++challenges_;
                response.status = 407;
                response.set_header("Proxy-Authenticate", "Basic realm=\"Ured\"");
                response.set_content("<html>407</html>", "text/html");
                return;
            }
            forwarded_ << target.toString();
        }
        if (target.scheme() != QStringLiteral("http") || target.port() <= 0) {
            response.status = 502;
            return;
        }
        httplib::Client origin("127.0.0.1", target.port());
        origin.set_decompress(false);
        const std::string path = target.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).toStdString();
        httplib::Result answer = origin.Get(path.empty() ? "/" : path.c_str());
        if (!answer) {
            response.status = 502;
            return;
        }
        response.status = answer->status;
        response.set_content(answer->body, answer->get_header_value("Content-Type").c_str());
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // A stop before the server runs would be missed and leave its thread waiting for a client forever.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

HttpProxy::~HttpProxy()
{
    server_->stop();
    if (thread_.joinable())
        thread_.join();
}

QString HttpProxy::address() const
{
    return QStringLiteral("http://127.0.0.1:") + QString::number(port_);
}

void HttpProxy::requireLogin(const QString& user, const QString& password)
{
    std::lock_guard lock(mutex_);
    expected_ = "Basic " + (user + u':' + password).toUtf8().toBase64().toStdString();
}

QStringList HttpProxy::forwarded() const
{
    std::lock_guard lock(mutex_);
    return forwarded_;
}

int HttpProxy::challenges() const
{
    std::lock_guard lock(mutex_);
    return challenges_;
}
