#pragma once

#include <QString>

struct Okruzenje;

// Saves the source choice and both folders. The distribution target goes under "UpdateLokDirMr20"
// while option 0 is selected and under "UpdateLokDirMr.Lumivex.20" otherwise.
void SnimiPostavke(Okruzenje& o);

// Loads the folders, the source choice and the hours at start-up; selecting the stored option is
// not a click and saves nothing.
void UčitajPostavke(Okruzenje& o);

// With the network folder selected, the distribution target stored under
// "UpdateLokDirMr.Lumivex.20" (when not empty) replaces the one loaded before.
void UčitajLokacijuMreže(Okruzenje& o);

// 0 when option 0 is selected, else 1 when option 1 is selected, else 2.
int OdabraniIzvor(Okruzenje& o);

// Reads the download servers from the store (else the build's defaults) and puts their base URLs
// into the captions of the two internet options.
void UčitajServere(Okruzenje& o);

// Sends the transfers through the proxy that "Proxy" names ("http://host:port"); without one, the
// system's proxy configuration holds. An address that cannot be used is told in a box.
void UčitajProxy(Okruzenje& o);

// The base URL "scheme://host[:port]/download/Verzija20/" of a server as the store or the build
// names it; a value without a scheme gets "http://".
QString BaznaAdresa(const QString& server);

// The window's colour from "BojaIntegratora" (default 14277323); a value that is not a whole
// number gives the default.
quint32 BojaIntegratora(Okruzenje& o);

// Sets the background colour of the window, the three options, the tabs, the frame and the grid.
void PostaviBoje(Okruzenje& o, quint32 boja);

// Handlers of the user's changes.
void KlikNaOpciju(Okruzenje& o, int opcija);
void OdaberiLokaciju(Okruzenje& o, int i);   // click on cmdLokacija(i)
void ProvjeriLokaciju(Okruzenje& o, int i);  // leaving txtLokacija(i)
void PromjenaVremenaDownloada(Okruzenje& o, int sati);
