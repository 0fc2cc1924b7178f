#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QSet>
#include <functional>

// The journald priorities that a line on standard error may carry, as "<3>" in front of it.
enum class JournalPriority { Error = 3, Warning = 4, Info = 6 };

// Each line of `text` (CR LF or LF) with the priority's prefix, each ending in "\n".
QByteArray JournalLines(JournalPriority priority, const QString& text);

// Writes the bytes to standard error at once, so a journal keeps the order of the lines.
void WriteStandardError(const QByteArray& bytes);

// The dialogs of a run without a window: every box that would have been shown is written to
// standard error with the priority of its icon, and a question is answered as the automatic run
// answers it, without anyone at the desk: Yes the first time it is asked, No when the same question
// comes again, since nobody can do what it waits for. The file dialog is cancelled.
class HeadlessDialogs : public Dialogs {
public:
    using Writer = std::function<void(const QByteArray&)>;

    // Writes to standard error unless a writer is given.
    explicit HeadlessDialogs(Writer writer = {});

    Answer show(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    QString chooseFile(const FileRequest& request) override;

    // The boxes other than questions shown since the last call to `resetReports`: every one that a
    // check can show tells of a problem.
    int reports() const { return reports_; }
    void resetReports() { reports_ = 0; }

private:
    Writer writer_;
    QSet<QString> asked_;
    int reports_ = 0;
};
