#pragma once

struct Okruzenje;

// The window's loading, which is the whole start-up: the recovery of an interrupted installation,
// the version in the caption, the first tab, the
// operator check, the settings, the control file, the colour. The window is shown afterwards.
void UčitajProzor(Okruzenje& o);

// Probes whether the program folder can be written by creating and deleting "UpdateADM" in it;
// warns the operator when the folder cannot be created and goes on either way.
void ProvjeriOperatera(Okruzenje& o);
