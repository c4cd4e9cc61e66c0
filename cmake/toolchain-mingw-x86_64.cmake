# Cross build for 64-bit Windows with the MinGW-w64 x86_64 tools, for hosts that cannot run
# 32-bit x86 code: there the Win32 tests and Kostrel.exe run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
