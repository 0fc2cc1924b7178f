#pragma once

#include <QString>

struct Okruzenje;

// How long the registration tool may run before it counts as hung and is ended.
inline constexpr int RokRegistracijeMs = 60000;

// Runs the registration tool, hidden, to register (or unregister) the COM component `direktorija` +
// `ime` (the folder ends in "/"), and waits for it to end, with the window processing events; a tool
// still running after RokRegistracijeMs is ended. True means the tool ran and ended with exit status
// 0. Each call writes exactly two log lines: the command line, then the command line followed by
// " Uspješno" or " Neuspješno"; a failure of a tool that was started adds the exit status (or why it
// did not end) and what the tool wrote.
bool RegistrirajDLL(Okruzenje& o, const QString& direktorija, const QString& ime);
bool DeregistrirajDLL(Okruzenje& o, const QString& direktorija, const QString& ime);
