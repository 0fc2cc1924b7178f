#pragma once

#include <QString>

struct Okruzenje;

// Turns the archive of `ime`, already lying in the Update folder, back into the item's file in that
// folder: with the 7-Zip tool, or by a copy for a copy-only item. False when the archive is missing,
// the tool cannot be started or another step fails; `TrenutnaPoruka` then holds the text the caller
// shows. The tool's exit code is not read: the caller's check of the unpacked file's size decides.
bool Unzipaj(Okruzenje& o, const QString& ime);
