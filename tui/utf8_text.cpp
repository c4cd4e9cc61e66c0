// UTF-8 by the rules of RFC 3629: at most four bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF.
#include "tui/utf8_text.h"

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of a character already known to be valid and `length` bytes long.
uint32_t decodeValid(const std::string& text, size_t at, size_t length) {
    static const unsigned char LEAD_MASK[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t codePoint = static_cast<unsigned char>(text[at]) & LEAD_MASK[length];
    for (size_t i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    return codePoint;
}

}  // namespace

void appendUtf8(std::string& text, uint32_t codePoint) {
    if (codePoint < 0x80) {
        text.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

size_t utf8CharacterLength(const std::string& text, size_t at) {
    if (at >= text.size()) return 0;
    unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    // The allowed range of the second byte narrows for the leads that could start an
    // overlong form, a surrogate or a value above U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    unsigned char second = static_cast<unsigned char>(text[at + 1]);
    if (second < low || second > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (!isContinuation(static_cast<unsigned char>(text[at + i]))) return 0;
    return length;
}

bool isControlCodePoint(uint32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

bool isPrintableUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        size_t length = utf8CharacterLength(text, at);
        if (length == 0 || isControlCodePoint(decodeValid(text, at, length))) return false;
        at += length;
    }
    return true;
}

size_t previousCharacterStart(const std::string& text, size_t at) {
    if (at == 0) return 0;
    size_t start = at - 1;
    while (start > 0 && isContinuation(static_cast<unsigned char>(text[start]))) --start;
    return start;
}
