#pragma once

// The file-system port's failures, as plain data: each row runs one operation in a folder holding
// the files "a.txt" ("A") and "b.txt" ("B") and the folder "mapa", and must fail with the user's
// words, say whether what it needed was missing, and where an opening operation failed. Both the
// Linux file system and the Windows body run these rows; afterwards nothing is lost or left behind.
namespace contract {

enum class FileOperation {
    CopyReplacing,
    Move,
    RemoveFile,
    RemoveFolder,
    CreateFolder,
    FileSize,
    ListFiles,
    ReadFile,
    ReadInParts,
    AppendToFile,
    SyncFile,
    SyncFolder,
    SyncFileSystem
};
enum class FileStage { None, Open, Transfer };

struct FileFailureCase {
    const char* name;
    FileOperation operation;
    const char* path;    // relative to the folder, with "/"
    const char* target;  // the second path of a copy or move
    const char* text;
    bool notFound;
    FileStage stage;
};

inline constexpr const char kMissing[] = "Datoteka ili direktorija nije pronađena.";
inline constexpr const char kFolder[] = "Putanja je direktorija, a ne datoteka.";
inline constexpr const char kExists[] = "Datoteka već postoji.";
inline constexpr const char kNotAFolder[] = "Dio putanje nije direktorija.";

inline constexpr FileFailureCase kFileFailureCases[] = {
    {"copy of a missing file", FileOperation::CopyReplacing, "nema.txt", "a.txt", kMissing, true,
     FileStage::Open},
    {"copy of a folder", FileOperation::CopyReplacing, "mapa", "a.txt", kFolder, false, FileStage::Open},
    {"copy into a missing folder", FileOperation::CopyReplacing, "a.txt", "nema/a.txt", kMissing, true,
     FileStage::Open},
    {"move onto an existing file", FileOperation::Move, "a.txt", "b.txt", kExists, false, FileStage::None},
    {"move of a missing file", FileOperation::Move, "nema.txt", "c.txt", kMissing, true, FileStage::None},
    // A missing destination folder is no missing old file: the caller would overwrite that file
    // without a backup of it.
    {"move into a missing folder", FileOperation::Move, "a.txt", "nema/a.txt", kMissing, false,
     FileStage::None},
    {"delete of a missing file", FileOperation::RemoveFile, "nema.txt", "", kMissing, true, FileStage::None},
    {"delete of a folder as a file", FileOperation::RemoveFile, "mapa", "", kFolder, false, FileStage::None},
    {"delete of a missing folder", FileOperation::RemoveFolder, "nema", "", kMissing, true, FileStage::None},
    {"folder in a missing parent", FileOperation::CreateFolder, "nema/nova", "", kMissing, true,
     FileStage::None},
    {"folder that exists", FileOperation::CreateFolder, "mapa", "", kExists, false, FileStage::None},
    {"size of a missing file", FileOperation::FileSize, "nema.txt", "", kMissing, true, FileStage::None},
    {"list of a missing folder", FileOperation::ListFiles, "nema", "", kMissing, true, FileStage::None},
    {"read of a missing file", FileOperation::ReadFile, "nema.txt", "", kMissing, true, FileStage::Open},
    {"read of a folder", FileOperation::ReadFile, "mapa", "", kFolder, false, FileStage::Open},
    {"read in parts of a missing file", FileOperation::ReadInParts, "nema.txt", "", kMissing, true,
     FileStage::Open},
    {"read in parts of a folder", FileOperation::ReadInParts, "mapa", "", kFolder, false, FileStage::Open},
    {"append in a missing folder", FileOperation::AppendToFile, "nema/Update.log", "", kMissing, true,
     FileStage::Open},
    {"sync of a missing file", FileOperation::SyncFile, "nema.txt", "", kMissing, true, FileStage::None},
    {"sync of a missing folder", FileOperation::SyncFolder, "nema", "", kMissing, true, FileStage::None},
    {"sync of a file as a folder", FileOperation::SyncFolder, "a.txt", "", kNotAFolder, false,
     FileStage::None},
    {"sync of the file system of a missing folder", FileOperation::SyncFileSystem, "nema/", "", kMissing,
     true, FileStage::None},
};

}  // namespace contract
