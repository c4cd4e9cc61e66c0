// The decoder against what terminals send: every case is fed whole and byte by byte, and
// both must give the same keys.
#include "tui/key_decoder.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const char* const KEY_NAMES[] = {"Text", "Left", "Right", "Up", "Down", "Home", "End",
                                 "Delete", "Backspace", "Enter", "Escape", "F2", "F10",
                                 "FocusIn", "FocusOut"};

std::string describe(const std::vector<KeyEvent>& keys) {
    std::string text;
    for (const KeyEvent& event : keys) {
        if (!text.empty()) text += ' ';
        text += KEY_NAMES[static_cast<int>(event.key)];
        if (event.key == Key::Text) {
            char codePoint[16];
            std::snprintf(codePoint, sizeof codePoint, ":%X", event.codePoint);
            text += codePoint;
        }
    }
    return text;
}

std::string decodeWhole(const std::string& bytes) {
    KeyDecoder decoder;
    std::vector<KeyEvent> keys;
    decodeKeyBytes(decoder, bytes.data(), bytes.size(), keys);
    return describe(keys);
}

std::string decodeByteByByte(const std::string& bytes) {
    KeyDecoder decoder;
    std::vector<KeyEvent> keys;
    for (char byte : bytes) decodeKeyBytes(decoder, &byte, 1, keys);
    return describe(keys);
}

struct DecodeCase {
    const char* what;
    std::string bytes;
    const char* keys;
};

TEST(KeyDecoder, SequencesLettersAndBrokenInput) {
    const DecodeCase cases[] = {
        {"arrows, normal mode", "\033[A\033[B\033[C\033[D", "Up Down Right Left"},
        {"arrows, application mode", "\033OA\033OD", "Up Left"},
        {"arrow with a modifier", "\033[1;5C", "Right"},
        {"F2 of xterm, rxvt, Linux", "\033OQ\033[12~\033[[B", "F2 F2 F2"},
        {"F10", "\033[21~", "F10"},
        {"Home End Delete", "\033[H\033[1~\033OF\033[4~\033[3~", "Home Home End End Delete"},
        {"focus reports", "\033[I\033[O", "FocusIn FocusOut"},
        {"unknown sequences vanish", "\033[200~\033[<0;3;4M\033[2O", ""},
        {"letters either case", "nQ", "Text:6E Text:51"},
        {"Czech letters", "\xC5\xBEk\xC5\xAF\xC5\x88", "Text:17E Text:6B Text:16F Text:148"},
        {"four-byte character", "\xF0\x9F\x98\x80", "Text:1F600"},
        {"overlong and cut UTF-8 dropped", "\xC0\xAF" "a\xC5" "b", "Text:61 Text:62"},
        {"surrogate dropped", "\xED\xA0\x80" "c", "Text:63"},
        {"C1 control dropped", "\xC2\x85" "d", "Text:64"},
        {"Enter, Backspace; Tab ignored", "\r\n\x7F\x08\t", "Enter Enter Backspace Backspace"},
        {"Esc before a letter", "\033x", "Escape Text:78"},
        {"Esc twice, then an arrow", "\033\033\033[A", "Escape Escape Up"},
        {"overlong sequence dropped whole", "\033[" + std::string(40, '1') + "~p", "Text:70"},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(decodeWhole(c.bytes), c.keys) << c.what;
        EXPECT_EQ(decodeByteByByte(c.bytes), c.keys) << c.what << " (byte by byte)";
    }
}

TEST(KeyDecoder, LoneEscapeActsOnlyAfterItsWait) {
    KeyDecoder decoder;
    std::vector<KeyEvent> keys;
    decodeKeyBytes(decoder, "\033", 1, keys);
    EXPECT_TRUE(awaitsEscapeSequence(decoder));
    EXPECT_EQ(describe(keys), "");
    expireLoneEscape(decoder, keys);
    EXPECT_EQ(describe(keys), "Escape");
    EXPECT_FALSE(awaitsEscapeSequence(decoder));
}

TEST(KeyDecoder, FocusReportSplitAcrossReadsIsNeverLetters) {
    // Split after ESC [: the sequence waits for its final byte however long it takes.
    KeyDecoder decoder;
    std::vector<KeyEvent> keys;
    decodeKeyBytes(decoder, "\033[", 2, keys);
    EXPECT_FALSE(awaitsEscapeSequence(decoder));
    decodeKeyBytes(decoder, "O", 1, keys);
    EXPECT_EQ(describe(keys), "FocusOut");

    // Split after ESC, and the wait ran out: the Esc key, but the late rest is still read as
    // the focus report, not as the letter 'O' (the About key).
    KeyDecoder late;
    keys.clear();
    decodeKeyBytes(late, "\033", 1, keys);
    expireLoneEscape(late, keys);
    decodeKeyBytes(late, "[Oo", 3, keys);
    EXPECT_EQ(describe(keys), "Escape FocusOut Text:6F");
}

}  // namespace
