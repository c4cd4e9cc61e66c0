// libFuzzer target: the best result's stored form and the name rule on any bytes. Nothing
// crashes; a stored result that reads back writes back the same and holds a name that a
// prompt may hold; a name that the rule allows is stored and read back whole, and goes to
// the page's UTF-16 and back unchanged; UTF-16 from the page that converts at all converts
// to text that the decoder reads to its end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/session/best_result.h"

namespace {

// A broken promise ends the run as a crash, which libFuzzer reports with its input.
void require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "best_result_fuzz: %s\n", promise);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    BestResult stored;
    if (parseBestResult(text, stored)) {
        require(formatBestResult(stored) == text, "a stored result read back writes back the same");
        require(promptNameAllowed(stored.name), "a stored name is one that a prompt may hold");
    }

    if (!text.empty() && promptNameAllowed(text)) {
        BestResult again;
        require(parseBestResult(formatBestResult(BestResult{2147483647, text}), again) &&
                    again.name == text && again.score == 2147483647,
                "an allowed name is stored and read back whole");
        const std::u16string units = utf16FromUtf8(text);
        std::string back;
        require(utf8FromUtf16(units.data(), units.size(), back) && back == text,
                "an allowed name goes to UTF-16 and back unchanged");
    }

    std::vector<char16_t> units(size / 2);
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    std::string converted;
    if (utf8FromUtf16(units.data(), units.size(), converted)) {
        size_t at = 0;
        for (uint32_t codePoint = 0; nextUtf8(converted, at, codePoint);) {
            nameCharacterAllowed(codePoint);
        }
        require(at == converted.size(), "converted UTF-16 is UTF-8 that reads to its end");
    }
    return 0;
}
