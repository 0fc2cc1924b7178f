#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
}

// A real HTTP proxy on 127.0.0.1 with a port of its own, as an office has one. It forwards a GET for
// an absolute URL to the server on 127.0.0.1 that the URL names, whatever host name the URL gives, so
// a name that only the proxy knows ("http://posluzitelj.ured:<port>/...") reaches the test's server.
// With a login set it answers 407 until a request brings that login.
class HttpProxy {
public:
    HttpProxy();
    ~HttpProxy();

    HttpProxy(const HttpProxy&) = delete;
    HttpProxy& operator=(const HttpProxy&) = delete;

    // "http://127.0.0.1:<port>", the form of the http_proxy variable and of Settings/Proxy.
    QString address() const;

    // Asks every request for Basic credentials `user` and `password`.
    void requireLogin(const QString& user, const QString& password);

    // The absolute URLs forwarded so far, in order.
    QStringList forwarded() const;
    // How many requests were answered 407.
    int challenges() const;

private:
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::string expected_;  // the whole Proxy-Authorization value; empty when no login is needed
    QStringList forwarded_;
    int challenges_ = 0;
};
