#pragma once

#include <functional>

struct Okruzenje;

// Runs a long command unless another one is in progress. While it runs the long commands' buttons
// are disabled; afterwards they are enabled again. False when it was refused.
bool PokreniDuguNaredbu(Okruzenje& o, const std::function<void()>& naredba);

// The window's buttons: each runs its command under the one-operation guard of PokreniDuguNaredbu,
// so a click while another long command works does nothing.
void cmdVerzija_KlikUzZaštitu(Okruzenje& o);
void cmdDownloadAndUpdate_KlikUzZaštitu(Okruzenje& o);
void cmdDownlNaLokaciju_KlikUzZaštitu(Okruzenje& o);

// The window's timer ticks.
void tmrUpdate_Timer(Okruzenje& o);
void tmrPrijenos_Timer(Okruzenje& o);
