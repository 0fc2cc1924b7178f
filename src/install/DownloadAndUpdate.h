#pragma once

struct Okruzenje;

// "Download programa i instalacija": fetches every needed archive from the chosen source, asks the
// user, writes the report engine's two settings to the registry, installs and tells the outcome.
// True when the new programs were installed.
bool cmdDownloadAndUpdate_Click(Okruzenje& o);
