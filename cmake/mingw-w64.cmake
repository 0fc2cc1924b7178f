# Cross-compiles for 64-bit Windows with Debian's posix-thread mingw-w64 compilers
# (g++-mingw-w64-x86-64-posix) and runs the built programs under Wine. The posix flavour gives
# std::mutex and std::thread, and it is the flavour the Windows prefix of scripts/windows-deps was
# built with: the two flavours ship different runtime DLLs under the same names.
#
# Alone (the Win32 bodies' tests) the programs are linked statically, so no compiler DLL needs to lie
# beside them. Chained from the prefix's Qt toolchain (QT_CHAINLOAD_TOOLCHAIN_FILE) the program shares
# the runtime DLLs with Qt's, which lie beside it in the program folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${MINGW_PREFIX}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_PREFIX}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_PREFIX}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config looks below the prefixes of CMAKE_PREFIX_PATH (the Qt toolchain puts the Windows prefix
# there) and never in the host's own folders.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${MINGW_PREFIX}/lib/pkgconfig)

if(NOT QT_CHAINLOAD_TOOLCHAIN_FILE)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

find_program(LUMIVEX_WINE NAMES wine wine64)
if(LUMIVEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMIVEX_WINE})
endif()
