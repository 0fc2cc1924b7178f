#pragma once

#include <QString>

class InstanceLock;
struct Okruzenje;

// The window's caption with the program's version; a second start finds the first window by it.
QString NaslovProzora();

// Takes the installation for this process before anything else happens. When a living updater holds
// it, the user is told in an information box, the first window is brought to the front when
// `aktivirajPrvi` is set and it can be found, and false is returned: the caller ends without touching
// anything. A lock that cannot be made at all is logged and the start goes on, as the operator check
// lets a user without write rights go on.
bool ZauzmiInstalaciju(Okruzenje& o, InstanceLock& brava, bool aktivirajPrvi);

// The window's loading, which is the whole start-up: the recovery of an interrupted installation,
// the version in the caption, the first tab, the
// operator check, the settings, the control file, the colour. The window is shown afterwards.
void UčitajProzor(Okruzenje& o);

// Probes whether the program folder can be written by creating and deleting "UpdateADM" in it;
// warns the operator when the folder cannot be created and goes on either way.
void ProvjeriOperatera(Okruzenje& o);
