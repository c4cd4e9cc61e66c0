// Conversion between the program's UTF-16 text and the system's ANSI code page, in which
// the registry keeps the champion's name.
#pragma once

// Converts text into buffer (bufferSize bytes, at least 1), always zero-terminated.
// Takes as many whole characters as fit; a character the code page lacks becomes its
// nearest letter (ř in code page 1252 becomes r) or '?'.
// Returns the number of bytes written before the terminator.
int toAnsiText(const wchar_t* text, char* buffer, int bufferSize);

// Converts ANSI text into buffer (bufferChars UTF-16 units, at least 1), always
// zero-terminated; text that does not fit comes back empty.
void fromAnsiText(const char* text, wchar_t* buffer, int bufferChars);
