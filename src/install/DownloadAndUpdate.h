#pragma once

struct Okruzenje;

// "Download programa i instalacija": fetches every needed archive from the chosen source, asks the
// user, writes the report engine's two settings to the registry, installs and tells the outcome.
void cmdDownloadAndUpdate_Click(Okruzenje& o);
