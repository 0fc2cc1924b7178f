#pragma once

#include <QString>

struct Okruzenje;

// Starts the registration tool, hidden and without waiting, to register (or unregister) the COM
// component `direktorija` + `ime` (the folder ends in "/"). True means the tool was started; whether
// it managed is not observed. Each call writes exactly two log lines: the command line, then the
// command line followed by " Uspješno" or " Neuspješno".
bool RegistrirajDLL(Okruzenje& o, const QString& direktorija, const QString& ime);
bool DeregistrirajDLL(Okruzenje& o, const QString& direktorija, const QString& ime);
