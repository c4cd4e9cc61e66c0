// The terminal edition's texts with their values filled in, printf's way, as long as they
// come out: the texts are the edition's own constants, and a value (a name, a reason) may be
// of any length.
#pragma once

#include <string>

std::string formatText(const char* format, ...);
