#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// A virtual X display of a test's own. It picks a free display number, points DISPLAY at it while it
// lives, and on destruction ends the server and puts DISPLAY back.
class Xvfb {
public:
    // With `noReset` the server keeps its state when its last client leaves, as Wine's desktop
    // process needs between the programs of one test run.
    explicit Xvfb(bool noReset = false);
    ~Xvfb();

    // False when Xvfb is not installed or did not come up; `why()` then says what happened.
    bool running() const { return !display_.isEmpty(); }
    QString why() const { return why_; }

    // ":N"
    QString display() const { return display_; }

    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

private:
    QProcess server_;
    QString display_;
    QString why_;
    bool hadDisplay_ = false;
    QByteArray oldDisplay_;
};
