#pragma once

#include "platform/Dialogs.h"
#include "platform/HttpTransfer.h"

#include <QNetworkProxy>
#include <functional>
#include <memory>
#include <optional>

class QAuthenticator;
class QNetworkAccessManager;

// HTTP and HTTPS transfers with one QNetworkAccessManager for the object's life, so connections,
// proxy logins and TLS sessions are reused from one transfer to the next. Redirects are followed up
// to five times, never from https to http; a server's certificate must verify against the system's
// store; the body reaches the caller in pieces as it arrives and is never collected whole.
class QtHttpTransfer : public HttpTransfer {
public:
    // A transfer that receives nothing for `inactivityMs` milliseconds is given up as timed out, and so
    // is a body that brings less than its floor in a window of that length.
    explicit QtHttpTransfer(int inactivityMs = 60000);
    ~QtHttpTransfer() override;

    QtHttpTransfer(const QtHttpTransfer&) = delete;
    QtHttpTransfer& operator=(const QtHttpTransfer&) = delete;

    // A proxy that asks for a login is answered through `dialogs`: asked once for the whole life of
    // this object, and once more when the proxy refuses the answer. Without dialogs no one is asked.
    void askCredentialsThrough(Dialogs* dialogs) { dialogs_ = dialogs; }

    Result get(const QString& url, const Limits& limits, const StateHandler& onState,
               const DataHandler& onData) override;
    RangedResult getRanged(const QString& url, const Held& held, const Limits& limits,
                           const StateHandler& onState, const ResponseHandler& onResponse,
                           const DataHandler& onData) override;
    QString useProxy(const QString& address) override;

private:
    // One transfer, ranged when `held` is given.
    RangedResult run(const QString& url, const Limits& limits, const StateHandler& onState,
                     const DataHandler& onData, const Held* held, const ResponseHandler& onResponse);
    QNetworkAccessManager& manager();
    void answerProxy(const QNetworkProxy& proxy, QAuthenticator* authenticator);

    int inactivityMs_;
    Dialogs* dialogs_ = nullptr;
    QNetworkProxy proxy_{QNetworkProxy::DefaultProxy};
    std::unique_ptr<QNetworkAccessManager> manager_;
    std::function<void(bool hold)> holdTimers_;  // the current transfer's, while one runs

    std::optional<Dialogs::Credentials> login_;  // the proxy login given in this run
    int loginsAsked_ = 0;                        // dialogs shown in this run
    int loginRequestsInTransfer_ = 0;            // proxy challenges during the current transfer
};
