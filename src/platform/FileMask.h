#pragma once

#include "platform/FileSystem.h"

// Deletes the files of `folder` (not its subfolders) whose names match the wildcard `mask`, through
// the file system's own listing and delete, as FileSystem::removeFiles promises; `noMatch` is the
// system's "not found" failure, returned when no file matches.
FsResult RemoveMatchingFiles(FileSystem& fs, const QString& folder, const QString& mask,
                             const FsResult& noMatch);
