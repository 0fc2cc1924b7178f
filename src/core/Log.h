#pragma once

#include <QString>

struct Okruzenje;

// Appends one dated line to Update.log in the Update folder beside the executable. Despite its name
// it writes every log line, not only errors. Never fails its caller: a line that cannot be written
// is lost and the user is told in a message box.
void LogirajGrešku(Okruzenje& o, const QString& tekst);

// The log's path: the executable's folder followed by "/Update/Update.log".
QString PutanjaLoga(Okruzenje& o);
