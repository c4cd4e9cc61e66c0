// Conversion between the program's UTF-16 text and the system's ANSI code page.
#include "win/ansi_text.h"

#include <windows.h>

#include <cwchar>

namespace {

bool isLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

int ansiBytesFor(const wchar_t* text, int units) {
    if (units == 0) return 0;
    return WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
}

}  // namespace

int toAnsiText(const wchar_t* text, char* buffer, int bufferSize) {
    int units = static_cast<int>(std::wcslen(text));
    // Every character needs at least one byte, so at most bufferSize - 1 units can fit;
    // multi-byte code pages may need fewer. Never split a surrogate pair.
    if (units > bufferSize - 1) units = bufferSize - 1;
    while (units > 0 && (isLowSurrogate(text[units]) || ansiBytesFor(text, units) > bufferSize - 1))
        --units;
    int bytes = units == 0 ? 0
                           : WideCharToMultiByte(CP_ACP, 0, text, units, buffer, bufferSize - 1,
                                                 nullptr, nullptr);
    buffer[bytes] = '\0';
    return bytes;
}

void fromAnsiText(const char* text, wchar_t* buffer, int bufferChars) {
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, bufferChars);
    if (units == 0) buffer[0] = L'\0';
    buffer[bufferChars - 1] = L'\0';
}
