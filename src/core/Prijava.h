#pragma once

#include "platform/Dialogs.h"

#include <QString>

class Zapisnik;

// How one procedure tells a failure: the prefix of its log line, the box's icon, whether a box is
// shown at all, a sentence the box adds on a line of its own (what happens next), and the error
// transcript that takes the text too, if any.
struct NačinPrijave {
    QString prefiks;
    Dialogs::Icon ikona = Dialogs::Icon::Exclamation;
    bool kutija = true;
    QString zaključak{};
    QString* transkript = nullptr;
};

// The one failure reporter: adds `tekst` to the transcript, logs it after the prefix and then, when
// asked, shows it in a box with the program's caption.
void PrijaviNeuspjeh(Zapisnik& log, Dialogs& dijalozi, const NačinPrijave& način, const QString& tekst);
