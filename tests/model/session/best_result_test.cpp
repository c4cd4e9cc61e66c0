// The stored best result's form and the name rule: the exact form and nothing else, the
// names of the table that both editions share, and every character that the C library
// under C.UTF-8 prints still allowed. (When a score is a new record, and when a save
// replaces one, the session's and the terminal file's tests show.)
#include "model/session/best_result.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <fstream>
#include <string>

namespace {

// General category Cf of Unicode 15.0 (DerivedGeneralCategory.txt), first and last of each
// run: what the terminal edition refused beside what the C library does not print.
constexpr uint32_t FORMAT_CHARACTERS[][2] = {
    {0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},
    {0x70F, 0x70F},     {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F}};

TEST(BestResult, AcceptsOnlyTheExactForm) {
    const std::string longestName(1023, 'n');
    // Formatting what was read gives back the very text: score and name were read whole.
    for (const std::string& text : {std::string("0\nA\n"), std::string("7\n" + longestName + "\n"),
                                    std::string("2147483647\nŽluťoučký kůň 李 😀\n")}) {
        BestResult result;
        EXPECT_TRUE(parseBestResult(text, result)) << text;
        EXPECT_EQ(formatBestResult(result), text);
    }
    const std::string bad[] = {"", "5", "5\n", "5\nA", "5\nA\n\n", "5\nA\nB\n", "\nA\n", "05\nA\n",
                               "+5\nA\n", "-1\nA\n", " 5\nA\n", "2147483648\nA\n",
                               "99999999999\nA\n", "5\r\nA\n", "5\n\n", "5\n" + longestName + "n\n",
                               std::string("5\nA\0B\n", 6),
                               // Cut, overlong, a surrogate, above U+10FFFF, a byte never in UTF-8:
                               "5\n\xC5\n", "5\n\xC0\xAF\n", "5\n\xE0\x80\xAF\n",
                               "5\n\xED\xA0\x80\n", "5\n\xF4\x90\x80\x80\n", "5\nA\xFF\n"};
    for (const std::string& text : bad) {
        BestResult result{42, "x"};
        EXPECT_FALSE(parseBestResult(text, result)) << '"' << text << '"';
        EXPECT_EQ(result.score, 42) << "a bad form changes nothing";
    }
}

// The table's names as the page hands them over, UTF-16 code units, and through the
// terminal's file; a lone surrogate has no UTF-8, and the page's text refuses it.
TEST(BestResult, BothEditionsTakeTheSameNames) {
    std::ifstream table(KOSTREL_TESTS_DIR "/model/session/best_result_names.tsv");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::u16string fields = utf16FromUtf8(line), units;
        for (size_t at = fields.rfind(u'\t') + 1; at < fields.size(); ++at) {
            char16_t unit = fields[at];
            if (fields.compare(at, 2, u"\\u") == 0) {
                std::string hex(fields.begin() + at + 2, fields.begin() + at + 6);
                unit = static_cast<char16_t>(std::stoul(hex, nullptr, 16));
                at += 5;
            }
            units += unit;
        }
        std::string name, repeated;
        bool converted = utf8FromUtf16(units.data(), units.size(), name);
        for (int time = std::stoi(line.substr(7)); time > 0; --time) repeated += name;
        bool accepted = line.compare(0, 6, "accept") == 0;
        BestResult result;
        EXPECT_EQ(converted && parseBestResult("5\n" + repeated + "\n", result), accepted) << line;
        EXPECT_EQ(converted && promptNameAllowed(repeated), accepted) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 18);
}

// Every character that the terminal edition took, the C library's printable ones (under
// C.UTF-8, as the game sets it when the terminal's locale is not UTF-8) but the format
// characters, is still allowed, so no stored name is lost. With glibc 2.36 (Unicode 14.0,
// as the table) the table allows exactly these.
TEST(BestResult, NoNameThatTheCLibraryPrintsIsLost) {
    std::string kept = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    uint32_t lost = 0, first = 0;
    for (uint32_t code = 0; code < 0x110000; ++code) {
        auto inRun = [&](const uint32_t* run) { return code >= run[0] && code <= run[1]; };
        bool format =
            std::any_of(std::begin(FORMAT_CHARACTERS), std::end(FORMAT_CHARACTERS), inRun);
        if (std::iswprint(wint_t(code)) && !format && !nameCharacterAllowed(code) && lost++ == 0)
            first = code;
    }
    std::setlocale(LC_CTYPE, kept.c_str());
    EXPECT_EQ(lost, 0u) << std::hex << "printed but refused, the first: U+" << first;
    for (uint32_t plane = 0; plane <= 0x10; ++plane)
        EXPECT_FALSE(nameCharacterAllowed(plane * 0x10000 + 0xFFFE) ||
                     nameCharacterAllowed(plane * 0x10000 + 0xFFFF));
}

}  // namespace
