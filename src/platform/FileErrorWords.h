#pragma once

// The words a user reads for a failed file operation, the same on every system: each file system
// maps its own error codes to one of these kinds. Plain C++ in UTF-8, so the Windows bodies, which
// know no Qt, read the same words.
enum class FileErrorKind {
    Missing,
    AccessDenied,
    Exists,
    DiskFull,
    WriteProtected,
    InUse,
    NotAFolder,
    IsAFolder,
    FolderNotEmpty,
    NameTooLong,
    DeviceFault,
    OtherDevice,
    TooManyOpenFiles,
};

constexpr const char* FileErrorWords(FileErrorKind kind)
{
    switch (kind) {
        case FileErrorKind::Missing:
            return "Datoteka ili direktorija nije pronađena.";
        case FileErrorKind::AccessDenied:
            return "Pristup je odbijen.";
        case FileErrorKind::Exists:
            return "Datoteka već postoji.";
        case FileErrorKind::DiskFull:
            return "Na disku nema dovoljno mjesta.";
        case FileErrorKind::WriteProtected:
            return "Disk je zaštićen od pisanja.";
        case FileErrorKind::InUse:
            return "Datoteku koristi drugi program.";
        case FileErrorKind::NotAFolder:
            return "Dio putanje nije direktorija.";
        case FileErrorKind::IsAFolder:
            return "Putanja je direktorija, a ne datoteka.";
        case FileErrorKind::FolderNotEmpty:
            return "Direktorija nije prazna.";
        case FileErrorKind::NameTooLong:
            return "Ime datoteke je predugačko.";
        case FileErrorKind::DeviceFault:
            return "Greška u čitanju ili pisanju na uređaj.";
        case FileErrorKind::OtherDevice:
            return "Premještanje između uređaja nije moguće.";
        case FileErrorKind::TooManyOpenFiles:
            return "Previše otvorenih datoteka.";
    }
    return "";
}
