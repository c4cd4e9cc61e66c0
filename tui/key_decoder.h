// Turns the bytes a terminal sends into keys: arrows and function keys from their escape
// sequences, UTF-8 letters, and the xterm focus reports, which are never taken for letters,
// however their bytes are split between reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class Key {
    Text,  // a printable character, in KeyEvent::codePoint
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    Delete,
    Backspace,
    Enter,
    Escape,
    F2,
    F10,
    FocusIn,
    FocusOut,
};

struct KeyEvent {
    Key key;
    uint32_t codePoint;  // for Key::Text only, 0 otherwise
};

// How long a lone Esc byte waits for the rest of a sequence before it counts as the Esc
// key. Terminals send a sequence in one write, so this is far more than they need.
constexpr int LONE_ESCAPE_WAIT_MS = 50;

// Longest control sequence kept; longer ones are read to their end and dropped.
constexpr size_t SEQUENCE_LIMIT = 32;

struct KeyDecoder {
    enum class Stage { Ground, Escape, ControlSequence, SingleShift, LinuxFunction, Utf8 };
    Stage stage = Stage::Ground;
    char sequence[SEQUENCE_LIMIT] = {};  // parameter and intermediate bytes after ESC [
    size_t sequenceLength = 0;
    bool sequenceOverflow = false;
    uint32_t codePoint = 0;        // the UTF-8 character being assembled
    int utf8Missing = 0;           // continuation bytes still to come
    unsigned char utf8Low = 0x80;  // allowed range of the next continuation byte
    unsigned char utf8High = 0xBF;
    // A lone Esc has just timed out: a '[' that follows is taken as the late rest of a
    // sequence, so that a focus report split by a long pause still yields no letters.
    bool afterTimedOutEscape = false;
};

// Decodes the bytes and appends the keys they complete.
void decodeKeyBytes(KeyDecoder& decoder, const char* bytes, size_t count,
                    std::vector<KeyEvent>& keys);

// True while a lone Esc byte waits: the caller ends the wait with expireLoneEscape after
// LONE_ESCAPE_WAIT_MS without further bytes.
bool awaitsEscapeSequence(const KeyDecoder& decoder);
void expireLoneEscape(KeyDecoder& decoder, std::vector<KeyEvent>& keys);
