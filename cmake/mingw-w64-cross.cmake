# What the i686 and x86_64 toolchain files share: the MinGW-w64 tools for
# CMAKE_SYSTEM_PROCESSOR, their sysroot, and Wine to run what they build.
set(CMAKE_SYSTEM_NAME Windows)
set(triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

# The win32 thread model: nothing built for Windows uses threads, and the -posix compilers
# would link winpthread into every program, and with it an import of GetTickCount64,
# which Windows XP lacks.
find_program(CMAKE_C_COMPILER NAMES ${triplet}-gcc-win32 ${triplet}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${triplet}-g++-win32 ${triplet}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# `wine` from the PATH: scripts/wine-env.sh puts one first that starts the right loader.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
