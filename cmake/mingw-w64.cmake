# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64) and runs
# the built programs under Wine. The POSIX thread flavour of the compiler gives std::mutex and
# std::thread; programs are linked statically, so no compiler DLL needs to lie beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${MINGW_PREFIX}-gcc-posix ${MINGW_PREFIX}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_PREFIX}-g++-posix ${MINGW_PREFIX}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(LUMIVEX_WINE NAMES wine wine64)
if(LUMIVEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMIVEX_WINE})
endif()
