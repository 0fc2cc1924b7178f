#pragma once

#include <QString>
#include <optional>

// How the program talks to the user: message boxes and the file-open dialog. The program shows real
// dialogs; tests answer from a script and record what the user would have seen.
class Dialogs {
public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    // The file-open dialog used to pick a folder by picking a file in it.
    struct FileRequest {
        QString title;
        QString filter;         // "Verzije (*.txt)"
        QString defaultSuffix;  // "txt"
        QString fileName;       // proposed file name
        QString initialFolder;
        bool mustExist = true;  // only an existing file can be chosen
    };

    // What a proxy that asks for a login is given.
    struct Credentials {
        QString user;
        QString password;
    };

    virtual ~Dialogs() = default;

    // Shows a message box and waits for the user.
    virtual Answer show(Icon icon, const QString& caption, const QString& text, Buttons buttons) = 0;

    // Shows the file-open dialog; the chosen path, or the empty string when cancelled.
    virtual QString chooseFile(const FileRequest& request) = 0;

    // Asks for the user name and password that the proxy `proxy` ("host:port") wants; `again` when it
    // refused the previous answer. Nothing when the user cancels. Without a window no one can answer,
    // so by default nothing is asked and the transfer fails with the proxy's message.
    virtual std::optional<Credentials> askProxyCredentials(const QString& proxy, bool again)
    {
        (void)proxy;
        (void)again;
        return std::nullopt;
    }
};
