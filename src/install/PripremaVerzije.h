#pragma once

#include <QString>

struct Okruzenje;
class MachineInfo;

// Sets the working folders, brings the current control file into the Update folder from the chosen
// source (a download server or the network folder) and compares it with the installed one. True
// when something needs installing; "Download programa i instalacija" is enabled exactly then.
bool PripremiVerzijaTXT(Okruzenje& o);

// The computer's name as the platform reports it; the empty string when the query fails.
QString ImeRačunala(MachineInfo& računalo);

// Sets PutanjaPrograma, PutanjaUpdate, PutanjaBackup, PutanjaSkripti and PutanjaHelp, each ending
// in "/".
void PostaviPutanje(Okruzenje& o);
