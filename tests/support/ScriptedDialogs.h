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

    // One proxy login question as the user saw it.
    struct LoginQuestion {
        QString proxy;
        bool again;
    };

    // A script with answers left over fails the test: the program did not ask what the test expected.
    ~ScriptedDialogs() override;

    Answer show(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    QString chooseFile(const FileRequest& request) override;
    // Answers from the script of proxyLogins; a question nobody scripted fails the test.
    std::optional<Credentials> askProxyCredentials(const QString& proxy, bool again) override;

    // Answers for the next Yes/No boxes, in order. A question beyond them fails the test and is answered
    // No.
    void answer(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }
    // Answers for Yes/No boxes that may or may not come (a sweep over fault points), used once the
    // answers above have run out; left over, they do not fail the test.
    void answerIfAsked(std::initializer_list<Answer> answers) { spare_.insert(spare_.end(), answers); }
    // Paths the file dialog returns, in order; the empty string cancels. Once they run out it cancels.
    void chooseFiles(const QStringList& paths) { files_.insert(files_.end(), paths.begin(), paths.end()); }
    // Answers for the next proxy login questions, in order; std::nullopt cancels.
    void proxyLogins(std::initializer_list<std::optional<Credentials>> logins)
    {
        logins_.insert(logins_.end(), logins);
    }
    const std::vector<LoginQuestion>& loginQuestions() const { return loginQuestions_; }
    // Called for every box before it is answered, e.g. to change the world while the user reads it.
    std::function<void(const Box&)> onShow;

    const std::vector<Box>& boxes() const { return boxes_; }
    QStringList texts() const;
    const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
    void clear() { boxes_.clear(); }

private:
    std::deque<Answer> answers_;
    std::deque<Answer> spare_;
    std::deque<QString> files_;
    std::vector<Box> boxes_;
    std::vector<FileRequest> fileRequests_;
    std::deque<std::optional<Credentials>> logins_;
    std::vector<LoginQuestion> loginQuestions_;
};
