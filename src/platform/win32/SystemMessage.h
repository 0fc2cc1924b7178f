#pragma once

#include <cstdint>
#include <string>

// Plain C++ bodies of the Windows side of the ports: they use only the standard library in their
// headers, so the Qt adapters compile anywhere and the bodies build with mingw-w64 without Qt.
namespace win32 {

// The system's description of an error code in the user's language, without the closing line
// break; "Greška <code>" when the system has none.
std::wstring SystemMessage(std::uint32_t code);

}  // namespace win32
