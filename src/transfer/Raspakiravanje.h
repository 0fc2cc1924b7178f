#pragma once

#include <QString>

struct Okruzenje;

// The name under which an item travels: the item's name without its last three characters, followed
// by "7z" (Program.exe travels as Program.7z, Skripta.js as Skripta7z).
QString ImeArhive(const QString& ime);

// Help files and encrypted files travel uncompressed under the archive name and are only copied back
// to their own name; the test of the last three characters is case-sensitive.
bool SamoKopiranje(const QString& ime);

// Turns the archive of `ime`, already lying in the Update folder, back into the item's file in that
// folder: with the 7-Zip tool, or by a copy for a copy-only item. False when the archive is missing,
// the tool cannot be started or another step fails; `TrenutnaPoruka` then holds the text the caller
// shows. The tool's exit code is not read: the caller's check of the unpacked file's size decides.
bool Unzipaj(Okruzenje& o, const QString& ime);
