#pragma once

#include "core/Ishod.h"

#include <QString>

struct Okruzenje;

// Turns the archive of `ime`, already lying in the Update folder, back into the item's file in that
// folder: with the 7-Zip tool, or by a copy for a copy-only item. A failure (the archive is missing,
// the tool cannot be started or another step fails) carries the text the caller shows: "Unzip " and
// the name, or what the tool's start said. The tool's exit code is not read: the caller's check of
// the unpacked file's size decides.
Ishod Unzipaj(Okruzenje& o, const QString& ime);
