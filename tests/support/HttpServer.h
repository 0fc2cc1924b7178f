#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct TlsIdentity;

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// A real HTTP server on 127.0.0.1 with a port of its own, answering in threads of its own while the
// test's thread runs the transfer. It serves the files of a folder under "/download/Verzija20/",
// streamed from disk, as a static server does: with an ETag and a Last-Modified date, and honouring
// one range of "Range: bytes=" (206 with Content-Range, 416 from the end on) when If-Range is absent
// or names the file's present version (else 200 with the whole file). A reply set for one name takes
// the place of the file and is sent as it is, whatever the request's Range. Replies and the ways of
// serving can be changed while the server runs.
//
//     HttpServer server(t.root("server"));
//     server.reply("Prazno.7z", 200, "");
//     t.stanje.PrimarniServer = server.baseUrl();
class HttpServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    // Serves the files of `folder` (none when empty) and starts listening.
    explicit HttpServer(const QString& folder = QString());
    // The same over HTTPS, showing `identity`'s certificate.
    HttpServer(const QString& folder, const TlsIdentity& identity);
    // Stops listening; a reply that is pausing gives up at once.
    ~HttpServer();

    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>/download/Verzija20/" (https with a certificate), the form of a download
    // server's base URL.
    QString baseUrl() const;
    // "http://127.0.0.1:<port>" (or https) followed by `path` ("/download/Verzija20/a.7z").
    QString url(const QString& path) const;
    const QString& folder() const { return folder_; }

    // The replies below are for `name` under "/download/Verzija20/", as the server decodes it.

    // A whole body with a status, e.g. (name, 404, "<html>...") or (name, 200, "") for an empty reply.
    void reply(const QString& name, int status, const QByteArray& body);
    // Promises `promised` bytes, sends `sent`, then closes the connection.
    void replyBroken(const QString& name, const QByteArray& sent, qint64 promised);
    // Sends `body` in `pieces` parts with `pause` before each.
    void replySlow(const QString& name, const QByteArray& body, int pieces, std::chrono::milliseconds pause);
    // Promises `promised` bytes, sends `sent`, and then sends nothing until the server stops.
    void replyStalled(const QString& name, const QByteArray& sent, qint64 promised);
    // Answers `name` with a redirect to `location` (a full URL or an absolute path).
    void redirect(const QString& name, const QString& location, int status = 302);
    // Answers the absolute `path` with a handler of the test's own; it runs on a server thread.
    void handle(const QString& path, Handler handler);
    // Forgets every reply set; the folder is served again.
    void clearReplies();

    // How every file is served: ranges honoured or ignored (a whole 200, no Accept-Ranges), validators
    // sent or not. Both by default.
    void honourRanges(bool honour);
    void sendValidators(bool send);
    // A range is answered with a 206 for the part that starts `by` bytes later than the one asked for,
    // as its Content-Range says; 0 (the default) answers what was asked.
    void misplaceRanges(qint64 by);
    // The next `times` bodies of the file `name` end after `bytes` bytes of this response's body: the
    // connection is closed there, whatever the length announced.
    void cutAfter(const QString& name, qint64 bytes, int times = 1);

    // What the server did for one request.
    struct Served {
        QString path;      // decoded
        QByteArray range;  // the request's Range and If-Range headers, empty when absent
        QByteArray ifRange;
        int status = 0;
        qint64 bodyBytes = 0;  // body bytes of a file written to the connection; 0 for a reply set
    };

    // The decoded paths of the requests received so far, in order, and what was done for each.
    QStringList requests() const;
    std::vector<Served> served() const;
    void clearRequests();

    // Waits up to `duration` in a handler; false when the server began stopping meanwhile.
    bool pause(std::chrono::milliseconds duration);

    // A base URL in the same form on which nothing listens, so a connection is refused.
    static QString unreachableBaseUrl();

private:
    HttpServer(const QString& folder, std::unique_ptr<httplib::Server> server, const char* scheme);
    void dispatch(const httplib::Request& request, httplib::Response& response);
    void serveFile(const std::string& name, const std::vector<std::pair<ssize_t, ssize_t>>& ranges,
                   const httplib::Request& request, httplib::Response& response,
                   const std::shared_ptr<Served>& record);

    QString folder_;
    std::unique_ptr<httplib::Server> server_;
    QString scheme_;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> listenEnded_{false};

    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::map<std::string, Handler> handlers_;
    QStringList requests_;
    std::vector<std::shared_ptr<Served>> served_;
    bool honourRanges_ = true;
    bool sendValidators_ = true;
    qint64 misplaceBy_ = 0;
    std::map<std::string, std::pair<qint64, int>> cuts_;  // name: bytes, times left
};
