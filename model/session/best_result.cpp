// The stored best result read strictly, so that a damaged or foreign one never counts as a
// record, and the name rule on the library's own decoder and table.
#include "model/session/best_result.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "model/session/name_character_table.h"

namespace {

constexpr uint32_t LAST_CODE_POINT = 0x10FFFF;

bool isSurrogate(uint32_t value) { return value >= 0xD800 && value <= 0xDFFF; }

// Decimal digits without sign or leading zeros, at most INT32_MAX.
bool parseScore(const std::string& digits, int32_t& score) {
    if (digits.empty() || digits.size() > 10 || (digits[0] == '0' && digits.size() > 1))
        return false;
    int64_t value = 0;
    for (char digit : digits) {
        if (digit < '0' || digit > '9') return false;
        value = value * 10 + (digit - '0');
    }
    if (value > INT32_MAX) return false;
    score = static_cast<int32_t>(value);
    return true;
}

bool storedNameAllowed(const std::string& name) { return !name.empty() && promptNameAllowed(name); }

}  // namespace

bool nameCharacterAllowed(uint32_t codePoint) {
    const uint32_t* end = std::end(NAME_CHARACTER_BOUNDARIES);
    return (std::upper_bound(std::begin(NAME_CHARACTER_BOUNDARIES), end, codePoint) -
            std::begin(NAME_CHARACTER_BOUNDARIES)) %
               2 ==
           1;
}

bool nextUtf8(const std::string& text, size_t& at, uint32_t& codePoint) {
    if (at >= text.size()) return false;
    auto byte = [&](size_t index) { return static_cast<uint8_t>(text[index]); };
    uint8_t lead = byte(at);
    size_t length = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || text.size() - at < length) return false;
    uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (size_t index = at + 1; index < at + length; ++index) {
        if ((byte(index) & 0xC0) != 0x80) return false;
        value = value << 6 | (byte(index) & 0x3Fu);
    }
    constexpr uint32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};  // by length: not overlong
    if (value < SMALLEST[length] || value > LAST_CODE_POINT || isSurrogate(value)) return false;
    codePoint = value;
    at += length;
    return true;
}

void appendUtf8(std::string& text, uint32_t codePoint) {
    if (codePoint > LAST_CODE_POINT) {
        text += '\xFF';  // never a byte of UTF-8
        return;
    }
    int continuations = codePoint < 0x80 ? 0 : codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
    constexpr uint8_t LEADS[] = {0x00, 0xC0, 0xE0, 0xF0};
    text += static_cast<char>(LEADS[continuations] | codePoint >> 6 * continuations);
    while (continuations-- > 0)
        text += static_cast<char>(0x80 | ((codePoint >> 6 * continuations) & 0x3F));
}

bool utf8FromUtf16(const char16_t* units, size_t count, std::string& text) {
    text.clear();
    for (size_t index = 0; index < count; ++index) {
        uint32_t unit = units[index];
        bool pairs = unit >= 0xD800 && unit <= 0xDBFF && index + 1 < count &&
                     units[index + 1] >= 0xDC00 && units[index + 1] <= 0xDFFF;
        if (pairs) unit = 0x10000 + ((unit - 0xD800) << 10) + (units[++index] - 0xDC00u);
        if (isSurrogate(unit)) return false;
        appendUtf8(text, unit);
    }
    return true;
}

std::u16string utf16FromUtf8(const std::string& text) {
    std::u16string units;
    size_t at = 0;
    for (uint32_t codePoint = 0; nextUtf8(text, at, codePoint);) {
        if (codePoint >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            codePoint = 0xDC00 + (codePoint & 0x3FF);
        }
        units += static_cast<char16_t>(codePoint);
    }
    return units;
}

bool promptNameAllowed(const std::string& name) {
    if (name.size() > NAME_BYTE_LIMIT) return false;
    size_t at = 0;
    for (uint32_t codePoint = 0; at < name.size();)
        if (!nextUtf8(name, at, codePoint) || !nameCharacterAllowed(codePoint)) return false;
    return true;
}

std::string savedName(const std::string& typed) { return typed.empty() ? "?" : typed; }

bool parseBestResult(const std::string& text, BestResult& result) {
    size_t firstEnd = text.find('\n');
    if (firstEnd == std::string::npos || text.size() > BEST_RESULT_TEXT_LIMIT ||
        text.size() < firstEnd + 2 || text.back() != '\n')
        return false;
    BestResult parsed;
    // A line feed is a control, so the name, which may hold none, is the whole second line.
    parsed.name = text.substr(firstEnd + 1, text.size() - firstEnd - 2);
    if (!parseScore(text.substr(0, firstEnd), parsed.score) || !storedNameAllowed(parsed.name))
        return false;
    result = parsed;
    return true;
}

std::string formatBestResult(const BestResult& result) {
    char digits[12] = {};  // "-2147483648" and its terminator fit
    std::to_chars(digits, digits + sizeof digits - 1, result.score);
    return std::string(digits) + "\n" + result.name + "\n";
}

bool isNewBestResult(int32_t score, StoredResult found, const BestResult& stored) {
    int32_t best = found == StoredResult::Found ? stored.score : 0;
    return found != StoredResult::Unreadable && score > best;
}

SaveOutcome saveOutcome(const BestResult& saved, StoredResult found, const BestResult& stored) {
    if (saved.score < 0 || !storedNameAllowed(saved.name) || found == StoredResult::Unreadable)
        return SaveOutcome::Failed;
    if (found == StoredResult::Found && stored.score >= saved.score) return SaveOutcome::Beaten;
    return SaveOutcome::Saved;
}
