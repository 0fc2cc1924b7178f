#include "core/Putanje.h"
#include "core/Stanje.h"
#include "core/VrstaDatoteke.h"

#include <gtest/gtest.h>

namespace {

// Every procedure that installs, restores, compares or unpacks an item decides by this one rule, so a
// row that fails here fails in all of them.
struct KindCase {
    const char* name;
    const char* file;
    VrstaDatoteke kind;
    const char* folder;  // "P" program folder, "S" script folder, "H" help folder
    const char* archive;
    bool copyOnly;
};

const KindCase kKinds[] = {
    {"program", "Lumi.exe", VrstaDatoteke::Program, "P", "Lumi.7z", false},
    {"component", "Lumi.dll", VrstaDatoteke::Komponenta, "P", "Lumi.7z", false},
    {"script", "Izmjena.enc", VrstaDatoteke::Skripta, "S", "Izmjena.7z", true},
    {"help", "Pomoc.chm", VrstaDatoteke::Pomoć, "H", "Pomoc.7z", true},
    {"controlFile", "Verzije.txt", VrstaDatoteke::Kontrolna, "P", "Verzije.7z", false},
    {"archive", "Lumi.7z", VrstaDatoteke::Arhiva, "P", "Lumi7z", false},
    {"ocxIsUnknown", "Graf.ocx", VrstaDatoteke::Nepoznata, "P", "Graf.7z", false},
    {"upperCaseIsUnknown", "LUMI.EXE", VrstaDatoteke::Nepoznata, "P", "LUMI.7z", false},
    {"upperCaseHelpIsNoCopy", "POMOC.CHM", VrstaDatoteke::Nepoznata, "P", "POMOC.7z", false},
    {"kindWithoutDot", "Skriptaenc", VrstaDatoteke::Skripta, "S", "Skripta7z", true},
    {"shortName", "xe", VrstaDatoteke::Nepoznata, "P", "7z", false},
};

class FileKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(FileKind, DecidesKindFolderAndArchive)
{
    const KindCase& c = GetParam();
    Stanje s;
    s.PutanjaPrograma = QStringLiteral("/p/");
    s.PutanjaSkripti = QStringLiteral("/p/Skrite za izmjenu baze/");
    s.PutanjaHelp = QStringLiteral("/w/Help/");
    const QString folder = QString::fromLatin1(c.folder) == u"S"   ? s.PutanjaSkripti
                           : QString::fromLatin1(c.folder) == u"H" ? s.PutanjaHelp
                                                                   : s.PutanjaPrograma;
    const QString file = QString::fromUtf8(c.file);

    EXPECT_EQ(VrstaPoImenu(file), c.kind);
    EXPECT_EQ(CiljnaDirektorija(s, file), folder);
    EXPECT_EQ(ImeArhive(file), QString::fromUtf8(c.archive));
    EXPECT_EQ(SamoKopiranje(file), c.copyOnly);
}

INSTANTIATE_TEST_SUITE_P(Items, FileKind, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

struct FolderCase {
    const char* name;
    const char* folder;
    bool absolute;
    const char* withSlash;
    const char* withoutSlash;
};

const FolderCase kFolders[] = {
    {"unixFolder", "/srv/lumivex/", true, "/srv/lumivex/", "/srv/lumivex"},
    {"driveFolder", "D:/Lumivex", true, "D:/Lumivex/", "D:/Lumivex"},
    {"root", "/", true, "/", "/"},
    {"manySlashes", "/srv//", true, "/srv//", "/srv"},
    {"relative", "dijeljeno/", false, "dijeljeno/", "dijeljeno"},
    {"driveWithoutSlash", "D:Lumivex", false, "D:Lumivex/", "D:Lumivex"},
    {"empty", "", false, "/", ""},
};

class FolderPath : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderPath, ChecksAndTrimsTheFolder)
{
    const FolderCase& c = GetParam();
    const QString folder = QString::fromUtf8(c.folder);
    EXPECT_EQ(JeApsolutnaMapa(folder), c.absolute);
    EXPECT_EQ(SaKosomCrtom(folder), QString::fromUtf8(c.withSlash));
    EXPECT_EQ(BezKoseCrte(folder), QString::fromUtf8(c.withoutSlash));
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderPath, ::testing::ValuesIn(kFolders),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
