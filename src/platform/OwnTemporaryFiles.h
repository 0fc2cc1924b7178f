#pragma once

// The name of the temporary file that the file system makes beside a target while it copies or writes
// it: "." + the target's name + kOwnTemporaryMark + a part of letters, digits and "." that makes it
// unique, for example ".Verzije.txt.LumivexLiveUpdate20-privremena-Xa3k9Q". A kill can leave one
// behind, and the name says whose it is, so the updater removes its own and never a file of the
// user's. Plain C++, so the Windows bodies, which know no Qt, make the same names.
inline constexpr char kOwnTemporaryMark[] = ".LumivexLiveUpdate20-privremena-";
inline constexpr wchar_t kOwnTemporaryMarkWide[] = L".LumivexLiveUpdate20-privremena-";
