#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

ScriptedDialogs::~ScriptedDialogs()
{
    if (!answers_.empty())
        ADD_FAILURE() << answers_.size() << " scripted answer(s) never asked for";
    if (!logins_.empty())
        ADD_FAILURE() << logins_.size() << " scripted proxy login(s) never asked for";
}

Dialogs::Answer ScriptedDialogs::show(Icon icon, const QString& caption, const QString& text, Buttons buttons)
{
    Answer a = Answer::Ok;
    if (buttons == Buttons::YesNo) {
        if (!answers_.empty()) {
            a = answers_.front();
            answers_.pop_front();
        } else if (!spare_.empty()) {
            a = spare_.front();
            spare_.pop_front();
        } else {
            // A question the test did not expect is a fault of the program or of the test's script.
            ADD_FAILURE() << "Unscripted question: " << text.toStdString();
            a = Answer::No;
        }
    }
    boxes_.push_back({icon, caption, text, buttons, a});
    if (onShow)
        onShow(boxes_.back());
    return a;
}

QString ScriptedDialogs::chooseFile(const FileRequest& request)
{
    fileRequests_.push_back(request);
    if (files_.empty())
        return QString();
    QString path = files_.front();
    files_.pop_front();
    return path;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList t;
    for (const Box& b : boxes_) t << b.text;
    return t;
}

std::optional<Dialogs::Credentials> ScriptedDialogs::askProxyCredentials(const QString& proxy, bool again)
{
    loginQuestions_.push_back({proxy, again});
    if (logins_.empty()) {
        ADD_FAILURE() << "unscripted proxy login question for " << proxy.toStdString();
        return std::nullopt;
    }
    const bool given = logins_.front().has_value();
    const Credentials login = given ? *logins_.front() : Credentials{};
    logins_.pop_front();
    if (!given)
        return std::nullopt;
    return login;
}
