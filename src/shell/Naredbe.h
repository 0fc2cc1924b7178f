#pragma once

#include <functional>

struct Okruzenje;

// Runs a long command unless another one is in progress. While it runs the long commands' buttons
// are disabled; afterwards they are enabled again. False when it was refused.
bool PokreniDuguNaredbu(Okruzenje& o, const std::function<void()>& naredba);

// The window's commands and timer ticks.
void cmdVerzija_Click(Okruzenje& o);
void cmdDownloadAndUpdate_Klik(Okruzenje& o);
void cmdDownlNaLokaciju_Click(Okruzenje& o);
void tmrUpdate_Timer(Okruzenje& o);
void tmrPrijenos_Timer(Okruzenje& o);
