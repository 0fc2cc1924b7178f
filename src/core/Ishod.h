#pragma once

#include <QString>

// What a procedure reports back to its caller: whether it worked and, when it did not, the text the
// caller tells the user (empty when the procedure has already told everything it had to say).
struct Ishod {
    bool uspjeh = true;
    QString poruka{};

    explicit operator bool() const { return uspjeh; }
    static Ishod Uspjeh() { return {}; }
    static Ishod Neuspjeh(QString poruka = QString()) { return {false, std::move(poruka)}; }
};
