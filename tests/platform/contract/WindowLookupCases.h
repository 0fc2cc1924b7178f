#pragma once

// The window finder's contract, as plain data: the Linux finder and the Windows body run the same
// rows, each side opening the row's window its own way. Texts are UTF-8.
namespace contract {

struct WindowLookupCase {
    const char* name;
    const char* title;      // the caption of the window the row opens
    const char* className;  // its window class
    bool byClass;           // the lookup asks for a class rather than a caption
    const char* query;
    bool found;
};

inline constexpr WindowLookupCase kWindowLookupCases[] = {
    {"exact caption", "Lumivex Blagajna 20", "LumivexProzor", false, "Lumivex Blagajna 20", true},
    {"caption in other letter case", "Lumivex Skladište 20", "LumivexProzor", false, "LUMIVEX SKLADIŠTE 20",
     true},
    {"caption with a document name", "Lumivex Blagajna 20 - [Račun 12]", "LumivexProzor", false,
     "Lumivex Blagajna 20", false},
    {"caption shorter than the query", "Lumivex Blagajna", "LumivexProzor", false, "Lumivex Blagajna 20",
     false},
    {"no window with the caption", "Terminal", "LumivexProzor", false, "Lumivex Plaće 20", false},
    {"empty caption matches nothing", "", "LumivexProzor", false, "", false},
    {"class whatever the caption", "Microsoft Excel - Knjiga1.xls", "XLMain", true, "XLMain", true},
    {"class in other letter case", "Dokument1", "OpusApp", true, "opusapp", true},
    {"no window of the class", "Dokument1", "OpusApp", true, "XLMain", false},
};

}  // namespace contract
