@echo off
rem Plays Kostrel on Windows: builds Kostrel.exe with CMake (MinGW or Visual Studio, whichever
rem CMake finds) and starts it. Needs CMake and a C++ compiler on the PATH.
setlocal
set "ROOT=%~dp0.."
set "BUILD=%ROOT%\build\windows"
cmake -S "%ROOT%" -B "%BUILD%" -DKOSTREL_BUILD_TESTS=OFF || exit /b 1
cmake --build "%BUILD%" --config Release --target Kostrel || exit /b 1
rem Visual Studio puts the program in a folder per configuration; single-configuration
rem generators put it straight into win\.
if exist "%BUILD%\win\Release\Kostrel.exe" (
  start "" "%BUILD%\win\Release\Kostrel.exe"
) else (
  start "" "%BUILD%\win\Kostrel.exe"
)
