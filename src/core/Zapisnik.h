#pragma once

#include <QString>
#include <functional>

class FileSystem;
class Clock;
class MachineInfo;
class Dialogs;

// The log: Update.log in the Update folder beside the executable, written through the file system
// port with the time of the clock port. Despite the old name of its entry point it takes every log
// line, not only errors. Never fails its caller: a line that cannot be written is lost and the user
// is told in a message box.
class Zapisnik {
public:
    Zapisnik(FileSystem& fs, Clock& sat, MachineInfo& računalo, Dialogs& dijalozi)
        : fs_(fs), sat_(sat), računalo_(računalo), dijalozi_(dijalozi)
    {
    }

    // Appends one dated line holding `tekst`.
    void piši(const QString& tekst);

    // The log's path: the executable's folder followed by "/Update/Update.log". Read at every line,
    // so a computer whose executable folder is set after the log was made still logs beside it.
    QString putanja() const;

    // Receives every line's text too, when set: a run without a window copies it to standard error.
    void kopirajU(std::function<void(const QString&)> kopija) { kopija_ = std::move(kopija); }

    // A view of the log that writes every line after one procedure's prefix.
    class SPrefiksom {
    public:
        SPrefiksom(Zapisnik& log, QString prefiks) : log_(log), prefiks_(std::move(prefiks)) {}
        void operator()(const QString& tekst) const { log_.piši(prefiks_ + tekst); }
        Zapisnik& log() const { return log_; }
        const QString& prefiks() const { return prefiks_; }

    private:
        Zapisnik& log_;
        QString prefiks_;
    };
    SPrefiksom sPrefiksom(QString prefiks) { return SPrefiksom(*this, std::move(prefiks)); }

private:
    FileSystem& fs_;
    Clock& sat_;
    MachineInfo& računalo_;
    Dialogs& dijalozi_;
    std::function<void(const QString&)> kopija_;
};
