// The decoder against what terminals send: every case is fed whole and byte by byte, and
// both must give the same keys.
#include "tui/key_decoder.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string describe(const std::vector<KeyEvent>& keys) {
    static const char* const names[] = {"Text",   "Left", "Right",  "Up",        "Down",
                                        "Home",   "End",  "Delete", "Backspace", "Enter",
                                        "Escape", "F2",   "F10",    "FocusIn",   "FocusOut"};
    std::string text;
    for (const KeyEvent& event : keys) {
        text += (text.empty() ? "" : " ") + std::string(names[static_cast<int>(event.key)]);
        char codePoint[16];
        std::snprintf(codePoint, sizeof codePoint, ":%X", event.codePoint);
        if (event.key == Key::Text) text += codePoint;
    }
    return text;
}

// Feeds the bytes in reads of at most `chunk` bytes to a fresh decoder.
std::string decode(const std::string& bytes, size_t chunk) {
    KeyDecoder decoder;
    std::vector<KeyEvent> keys;
    for (size_t at = 0; at < bytes.size(); at += chunk)
        decodeKeyBytes(decoder, bytes.data() + at, std::min(chunk, bytes.size() - at), keys);
    return describe(keys);
}

TEST(KeyDecoder, SequencesLettersAndBrokenInput) {
    const struct {
        const char* what;
        std::string bytes;
        const char* keys;
    } cases[] = {
        {"arrows, normal and application mode, with a modifier",
         "\033[A\033[B\033[C\033[D\033OA\033OD\033[1;5C", "Up Down Right Left Up Left Right"},
        {"F2 of xterm, rxvt, Linux; F10", "\033OQ\033[12~\033[[B\033[21~", "F2 F2 F2 F10"},
        {"Home End Delete", "\033[H\033[1~\033OF\033[4~\033[3~", "Home Home End End Delete"},
        {"focus reports", "\033[I\033[O", "FocusIn FocusOut"},
        {"unknown sequences vanish", "\033[200~\033[<0;3;4M\033[2O", ""},
        {"letters either case, Czech, four bytes", "nQ\xC5\xBEk\xC5\xAF\xF0\x9F\x98\x80",
         "Text:6E Text:51 Text:17E Text:6B Text:16F Text:1F600"},
        {"overlong, cut, surrogate and C1 dropped",
         "\xC0\xAF"
         "a\xC5"
         "b\xED\xA0\x80"
         "c\xC2\x85"
         "d",
         "Text:61 Text:62 Text:63 Text:64"},
        {"Enter, Backspace; Tab ignored", "\r\n\x7F\x08\t", "Enter Enter Backspace Backspace"},
        {"Esc before a letter, twice, then an arrow", "\033x\033\033\033[A",
         "Escape Text:78 Escape Escape Up"},
        {"overlong sequence dropped whole", "\033[" + std::string(40, '1') + "~p", "Text:70"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode(c.bytes, c.bytes.size()), c.keys) << c.what;
        EXPECT_EQ(decode(c.bytes, 1), c.keys) << c.what << " (byte by byte)";
    }
}

TEST(KeyDecoder, SplitFocusReportIsNeverLetters) {
    // Split after ESC [: no Esc wait starts, the sequence waits for its final byte.
    KeyDecoder decoder;
    std::vector<KeyEvent> keys;
    decodeKeyBytes(decoder, "\033[", 2, keys);
    EXPECT_FALSE(awaitsEscapeSequence(decoder));
    decodeKeyBytes(decoder, "O", 1, keys);
    EXPECT_EQ(describe(keys), "FocusOut");

    // Split after ESC: a lone Esc acts only when its wait runs out, and the late rest is
    // still the focus report, not the letter 'O' (the About key).
    KeyDecoder late;
    keys.clear();
    decodeKeyBytes(late, "\033", 1, keys);
    EXPECT_TRUE(awaitsEscapeSequence(late) && keys.empty());
    expireLoneEscape(late, keys);
    EXPECT_FALSE(awaitsEscapeSequence(late));
    decodeKeyBytes(late, "[Oo", 3, keys);
    EXPECT_EQ(describe(keys), "Escape FocusOut Text:6F");
}

}  // namespace
