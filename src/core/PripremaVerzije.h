#pragma once

struct Okruzenje;

// Brings the current control file into the Update folder from the chosen source and compares it
// with the installed one; true when something needs installing. Enables or disables
// "Download programa i instalacija" accordingly.
bool PripremiVerzijaTXT(Okruzenje& o);
