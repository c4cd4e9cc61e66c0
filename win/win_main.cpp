// Kostrel.exe's entry point; the program takes no command line.
#include <windows.h>

#include "win/kostrel_startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return runKostrel(instance, showCommand);
}
