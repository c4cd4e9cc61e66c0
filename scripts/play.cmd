@echo off
rem Plays Kostrel on Windows: builds Kostrel.exe with CMake's preset "windows" (MinGW or
rem Visual Studio, whichever CMake finds) and starts it. Needs CMake 3.21 or later and a
rem C++ compiler on the PATH.
setlocal
cd /d "%~dp0.." || exit /b 1
cmake --preset windows || exit /b 1
cmake --build --preset windows || exit /b 1
rem Visual Studio puts the program in a folder per configuration; single-configuration
rem generators put it straight into win\.
if exist "build\windows\win\Release\Kostrel.exe" (
  start "" "build\windows\win\Release\Kostrel.exe"
) else (
  start "" "build\windows\win\Kostrel.exe"
)
