// Registration of the board view's and the preview's window classes.
#pragma once

#include <windows.h>

// Registers the board view's class, then the preview's; both share one black background
// brush that lives as long as the program. False if either registration fails.
bool registerChildWindowClasses(HINSTANCE instance);
