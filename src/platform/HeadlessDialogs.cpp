#include "platform/HeadlessDialogs.h"

#include <QStringList>

#include <cstdio>

QByteArray JournalLines(JournalPriority priority, const QString& text)
{
    const QByteArray prefix = '<' + QByteArray::number(static_cast<int>(priority)) + '>';
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QByteArray out;
    for (const QString& line : normalised.split(u'\n')) out += prefix + line.toUtf8() + '\n';
    return out;
}

void WriteStandardError(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

HeadlessDialogs::HeadlessDialogs(Writer writer) : writer_(writer ? std::move(writer) : WriteStandardError) {}

Dialogs::Answer HeadlessDialogs::show(Icon icon, const QString& caption, const QString& text, Buttons buttons)
{
    // The program's boxes without an icon tell of a problem too.
    JournalPriority priority = JournalPriority::Warning;
    if (icon == Icon::Critical)
        priority = JournalPriority::Error;
    else if (icon == Icon::Information || icon == Icon::Question)
        priority = JournalPriority::Info;

    if (buttons == Buttons::Ok) {
        ++reports_;
        writer_(JournalLines(priority, caption + QStringLiteral(": ") + text));
        return Answer::Ok;
    }
    const bool again = asked_.contains(text);
    asked_.insert(text);
    const Answer answer = again ? Answer::No : Answer::Yes;
    writer_(JournalLines(priority, caption + QStringLiteral(": ") + text +
                                       (answer == Answer::Yes ? QStringLiteral("\nOdgovor: Da")
                                                              : QStringLiteral("\nOdgovor: Ne"))));
    return answer;
}

QString HeadlessDialogs::chooseFile(const FileRequest& request)
{
    writer_(JournalLines(JournalPriority::Info, request.title + QStringLiteral(": odabir je otkazan")));
    return QString();
}
