# Cross build for 32-bit Windows with the MinGW-w64 i686 tools; programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The win32 thread model: nothing built for Windows uses threads, and the -posix compilers
# would link winpthread into every program, and with it an import of GetTickCount64,
# which Windows XP lacks.
find_program(CMAKE_C_COMPILER NAMES i686-w64-mingw32-gcc-win32 i686-w64-mingw32-gcc)
find_program(CMAKE_CXX_COMPILER NAMES i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++)
find_program(CMAKE_RC_COMPILER NAMES i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# `wine` from the PATH: scripts/wine-env.sh puts one first that starts the right loader.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
