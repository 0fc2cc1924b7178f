#pragma once

#include "platform/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers message boxes from a script and records every box the user would have seen.
class ScriptedDialogs : public Dialogs {
public:
    struct Box {
        Icon icon;
        QString caption;
        QString text;
        Buttons buttons;
        Answer answer;
    };

    Answer show(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    QString chooseFile(const FileRequest& request) override;

    // Answers for the next Yes/No boxes, in order. A question beyond them fails the test and is answered
    // No.
    void answer(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }
    // Paths the file dialog returns, in order; the empty string cancels. Once they run out it cancels.
    void chooseFiles(const QStringList& paths) { files_.insert(files_.end(), paths.begin(), paths.end()); }
    // Called for every box before it is answered, e.g. to change the world while the user reads it.
    std::function<void(const Box&)> onShow;

    const std::vector<Box>& boxes() const { return boxes_; }
    QStringList texts() const;
    const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
    void clear() { boxes_.clear(); }

private:
    std::deque<Answer> answers_;
    std::deque<QString> files_;
    std::vector<Box> boxes_;
    std::vector<FileRequest> fileRequests_;
};
