#pragma once

#include "platform/HeadlessDialogs.h"

#include <QString>

// The journald priority of a log line, read from its words since the log itself has no levels:
// a failure ("greška", "nije moguće", "nije uspio", "nisu uspješno", "neuspješno", "prekida se") is
// an error; a refusal or something missing ("upozorenje", "nije pokrenut", "odustaje", "postoje
// startovani", "nije pronađen", "nije nađena", "ne postoji", "ne postoje") a warning; anything
// else information. Letter case does not matter.
JournalPriority PrioritetRetkaLoga(const QString& tekst);
