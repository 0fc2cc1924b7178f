#pragma once

#include <QString>

struct Okruzenje;

// Whether an application is running: `ime` is one of a few well-known outside applications ("Excel",
// "word", ... in any letter case, looked up by window class or, as under Wine, by the names of its
// executables) or else the exact caption of a window (ignoring letter case; a caption with anything
// added does not match). A found window gets the suite's private message and, when `aktiviraj` is
// true, is brought to the front; a minimised one stays minimised. Never fails its caller: any
// failure counts as not running.
bool AppJeStartana(Okruzenje& o, const QString& ime, bool aktiviraj);

// The display names of the suite's running programs, each followed by CR LF, in the suite's program
// order whatever order they were started in; the empty string when none runs. Never activates a
// window.
QString ProvjeriPokrenutePrograme(Okruzenje& o);
