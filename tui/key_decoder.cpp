// A byte-at-a-time state machine over ECMA-48 control sequences (ESC [ ... final), the
// single shift sequences (ESC O x) of application keypads, the Linux console's function
// keys (ESC [ [ x) and UTF-8.
#include "tui/key_decoder.h"

#include <cstdlib>

#include "tui/utf8_text.h"

namespace {

using Stage = KeyDecoder::Stage;

void emit(std::vector<KeyEvent>& keys, Key key, uint32_t codePoint = 0) {
    keys.push_back(KeyEvent{key, codePoint});
}

// The arrows, Home and End: the same final byte after ESC [ and after ESC O.
bool cursorKey(unsigned char final, Key& key) {
    switch (final) {
    case 'A': key = Key::Up; return true;
    case 'B': key = Key::Down; return true;
    case 'C': key = Key::Right; return true;
    case 'D': key = Key::Left; return true;
    case 'H': key = Key::Home; return true;
    case 'F': key = Key::End; return true;
    default: return false;
    }
}

// The key of a finished ESC [ params final sequence; false for sequences that mean nothing
// here (mouse reports, modified keys this game does not use, answers to queries).
bool controlSequenceKey(const KeyDecoder& decoder, unsigned char final, Key& key) {
    const char* parameters = decoder.sequence;
    bool bare = decoder.sequenceLength == 0;
    // Arrows and Home/End may carry a modifier parameter (1;5C); the key is the same.
    if (cursorKey(final, key)) return true;
    switch (final) {
    case 'I': key = Key::FocusIn; return bare;
    case 'O': key = Key::FocusOut; return bare;
    case '~': break;
    default: return false;
    }
    if (bare) return false;
    switch (std::atoi(parameters)) {  // the first parameter; a modifier may follow ';'
    case 1:
    case 7: key = Key::Home; return true;
    case 4:
    case 8: key = Key::End; return true;
    case 3: key = Key::Delete; return true;
    case 12: key = Key::F2; return true;
    case 21: key = Key::F10; return true;
    default: return false;
    }
}

bool singleShiftKey(unsigned char final, Key& key) {
    if (final == 'Q') {
        key = Key::F2;
        return true;
    }
    return cursorKey(final, key);
}

void startUtf8(KeyDecoder& decoder, unsigned char lead) {
    decoder.utf8Low = 0x80;
    decoder.utf8High = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        decoder.codePoint = lead & 0x1F;
        decoder.utf8Missing = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        decoder.codePoint = lead & 0x0F;
        decoder.utf8Missing = 2;
        if (lead == 0xE0) decoder.utf8Low = 0xA0;
        if (lead == 0xED) decoder.utf8High = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        decoder.codePoint = lead & 0x07;
        decoder.utf8Missing = 3;
        if (lead == 0xF0) decoder.utf8Low = 0x90;
        if (lead == 0xF4) decoder.utf8High = 0x8F;
    } else {
        return;  // not a lead byte: dropped
    }
    decoder.stage = Stage::Utf8;
}

void decodeGround(KeyDecoder& decoder, unsigned char byte, std::vector<KeyEvent>& keys) {
    if (byte == 0x1B) {
        decoder.stage = Stage::Escape;
    } else if (byte == '\r' || byte == '\n') {
        emit(keys, Key::Enter);
    } else if (byte == 0x7F || byte == 0x08) {
        emit(keys, Key::Backspace);
    } else if (byte >= 0x20 && byte < 0x7F) {
        emit(keys, Key::Text, byte);
    } else if (byte >= 0x80) {
        startUtf8(decoder, byte);
    }
    // Other control bytes (Tab, Ctrl letters the terminal did not turn into signals) are
    // no key of this game.
}

void startControlSequence(KeyDecoder& decoder) {
    decoder.stage = Stage::ControlSequence;
    decoder.sequenceLength = 0;
    decoder.sequenceOverflow = false;
    decoder.sequence[0] = '\0';
}

// Returns false when the byte does not belong to the sequence and must be read afresh.
bool decodeControlSequence(KeyDecoder& decoder, unsigned char byte, std::vector<KeyEvent>& keys) {
    if (byte == '[' && decoder.sequenceLength == 0 && !decoder.sequenceOverflow) {
        decoder.stage = Stage::LinuxFunction;
        return true;
    }
    if (byte >= 0x20 && byte <= 0x3F) {  // parameter and intermediate bytes
        if (decoder.sequenceLength + 1 < SEQUENCE_LIMIT) {
            decoder.sequence[decoder.sequenceLength++] = static_cast<char>(byte);
            decoder.sequence[decoder.sequenceLength] = '\0';
        } else {
            decoder.sequenceOverflow = true;
        }
        return true;
    }
    decoder.stage = Stage::Ground;
    if (byte < 0x40 || byte > 0x7E) return false;  // a broken sequence: dropped
    Key key;
    if (!decoder.sequenceOverflow && controlSequenceKey(decoder, byte, key)) emit(keys, key);
    return true;
}

bool decodeUtf8(KeyDecoder& decoder, unsigned char byte, std::vector<KeyEvent>& keys) {
    if (byte < decoder.utf8Low || byte > decoder.utf8High) {
        decoder.stage = Stage::Ground;  // a cut character is dropped, the byte read afresh
        return false;
    }
    decoder.codePoint = (decoder.codePoint << 6) | (byte & 0x3F);
    decoder.utf8Low = 0x80;
    decoder.utf8High = 0xBF;
    if (--decoder.utf8Missing > 0) return true;
    decoder.stage = Stage::Ground;
    if (!isControlCodePoint(decoder.codePoint)) emit(keys, Key::Text, decoder.codePoint);
    return true;
}

// Returns false when the byte must be read again in the ground stage.
bool decodeByte(KeyDecoder& decoder, unsigned char byte, std::vector<KeyEvent>& keys) {
    switch (decoder.stage) {
    case Stage::Ground: decodeGround(decoder, byte, keys); return true;
    case Stage::Escape:
        if (byte == '[') {
            startControlSequence(decoder);
            return true;
        }
        if (byte == 'O') {
            decoder.stage = Stage::SingleShift;
            return true;
        }
        // Esc followed by anything else (Alt+key, or Esc pressed twice): the Esc key, then
        // the byte on its own.
        emit(keys, Key::Escape);
        decoder.stage = Stage::Ground;
        return false;
    case Stage::SingleShift: {
        decoder.stage = Stage::Ground;
        Key key;
        if (singleShiftKey(byte, key)) emit(keys, key);
        return byte >= 0x40 && byte <= 0x7E;
    }
    case Stage::LinuxFunction:
        decoder.stage = Stage::Ground;
        if (byte == 'B') emit(keys, Key::F2);
        return byte >= 0x40 && byte <= 0x7E;
    case Stage::ControlSequence: return decodeControlSequence(decoder, byte, keys);
    case Stage::Utf8: return decodeUtf8(decoder, byte, keys);
    }
    return true;
}

}  // namespace

void decodeKeyBytes(KeyDecoder& decoder, const char* bytes, size_t count,
                    std::vector<KeyEvent>& keys) {
    for (size_t i = 0; i < count; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (decoder.afterTimedOutEscape) {
            decoder.afterTimedOutEscape = false;
            if (byte == '[' && decoder.stage == Stage::Ground) {
                startControlSequence(decoder);
                continue;
            }
        }
        if (!decodeByte(decoder, byte, keys)) decodeByte(decoder, byte, keys);
    }
}

bool awaitsEscapeSequence(const KeyDecoder& decoder) { return decoder.stage == Stage::Escape; }

void expireLoneEscape(KeyDecoder& decoder, std::vector<KeyEvent>& keys) {
    if (decoder.stage != Stage::Escape) return;
    decoder.stage = Stage::Ground;
    decoder.afterTimedOutEscape = true;
    emit(keys, Key::Escape);
}
