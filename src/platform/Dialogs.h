#pragma once

#include <QString>

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

    virtual ~Dialogs() = default;

    // Shows a message box and waits for the user.
    virtual Answer show(Icon icon, const QString& caption, const QString& text, Buttons buttons) = 0;

    // Shows the file-open dialog; the chosen path, or the empty string when cancelled.
    virtual QString chooseFile(const FileRequest& request) = 0;
};
