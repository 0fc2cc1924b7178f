#pragma once

#include <QString>

struct Okruzenje;

// Status-bar panel 1 (the current action) and panel 2 (the state of the internet transfer).
void PostaviTrenutnuAkciju(Okruzenje& o, const QString& tekst);
void PostaviTrenutnoStanje(Okruzenje& o, const QString& tekst);

// Adds a message to a transcript: the separator goes before the message, so a transcript that was
// cleared begins with an empty line.
void DodajUTranskript(QString& transkript, const QString& poruka);

// Shows both transcripts in their panes, each replaced whole.
void PrikažiTranskripte(Okruzenje& o);
