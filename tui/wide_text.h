// The game's UTF-8 text as the wide characters that curses draws and reads, and back, by
// the library's own coding: no locale decides what a name holds.
#pragma once

#include <string>

#include "model/session/best_result.h"

// A byte that does not start a character shows as U+FFFD; the texts that the game shows
// are all UTF-8.
inline std::wstring wideText(const std::string& text) {
    std::wstring wide;
    for (size_t at = 0; at < text.size();) {
        uint32_t codePoint = 0;
        bool read = nextUtf8(text, at, codePoint);
        at += read ? 0 : 1;
        wide += static_cast<wchar_t>(read ? codePoint : 0xFFFD);
    }
    return wide;
}

inline std::string utf8Text(const std::wstring& wide) {
    std::string text;
    for (wchar_t character : wide) appendUtf8(text, static_cast<uint32_t>(character));
    return text;
}
