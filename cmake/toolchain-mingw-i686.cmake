# Cross build for 32-bit Windows with the MinGW-w64 i686 tools; programs run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
