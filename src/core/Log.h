#pragma once

#include <QString>

struct Okruzenje;

// Appends one dated line to Update.log in the Update folder beside the executable. Despite its name
// it writes every log line, not only errors. Never fails its caller: a line that cannot be written
// is lost and the user is told in a message box.
void LogirajGrešku(Okruzenje& o, const QString& tekst);

// The log's path: the executable's folder followed by "/Update/Update.log".
QString PutanjaLoga(Okruzenje& o);

// Status-bar panel 1 (the current action) and panel 2 (the state of the internet transfer).
void PostaviTrenutnuAkciju(Okruzenje& o, const QString& tekst);
void PostaviTrenutnoStanje(Okruzenje& o, const QString& tekst);

// Adds a message to a transcript: the separator goes before the message, so a transcript that was
// cleared begins with an empty line.
void DodajUTranskript(QString& transkript, const QString& poruka);

// Shows both transcripts in their panes, each replaced whole.
void PrikažiTranskripte(Okruzenje& o);
