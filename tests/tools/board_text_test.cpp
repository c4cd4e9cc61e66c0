// Board text: what is accepted, and a reason with the line for everything else.
#include <gtest/gtest.h>

#include <sstream>

#include "board_builder.h"
#include "tools/sim/board_text.h"

namespace {

std::string emptyLines(int count, const char* ending = "\n") {
    std::string text;
    for (int line = 0; line < count; ++line) text += std::string("..........") + ending;
    return text;
}

bool parse(const std::string& text, GameState& state, std::string& error) {
    std::istringstream in(text);
    state = freshRecord();
    return readBoardText(in, state, error);
}

TEST(BoardText, RoundTripsAndAcceptsTheAllowedEndings) {
    GameState state = freshRecord();
    setRow(state, 0, "#........#");
    setRow(state, 19, "##.#######");
    std::ostringstream out;
    writeBoardText(out, state);
    const std::string text = out.str();

    for (const std::string& variant :
         {text, text.substr(0, text.size() - 1), text + "\n\n\r\n", emptyLines(20, "\r\n")}) {
        GameState parsed;
        std::string error;
        EXPECT_TRUE(parse(variant, parsed, error)) << error;
    }
    GameState parsed;
    std::string error;
    ASSERT_TRUE(parse(text, parsed, error));
    EXPECT_EQ(filledCells(state), filledCells(parsed));
}

TEST(BoardText, RefusesEverythingElseNamingTheLine) {
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "line 1: the board ends after 0 of 20 lines"},
        {emptyLines(19), "line 20: the board ends after 19 of 20 lines"},
        {emptyLines(3) + ".........\n", "line 4: 9 cells, expected 10"},
        {emptyLines(3) + "...........\n", "line 4: more than 10 cells"},
        {emptyLines(2) + "....x.....\n", "line 3, column 5: 'x' is not '.' or '#'"},
        {emptyLines(2) + "....\t.....\n", "line 3, column 5: byte 0x09"},
        {emptyLines(1) + "..........\r.", "line 2: carriage return not followed by a line feed"},
        {emptyLines(20) + "..........\n", "line 21: text after the 20 board lines"},
        {emptyLines(20) + "\n \n", "line 22: text after the 20 board lines"},
        {emptyLines(5) + "....", "line 6: 4 cells, expected 10"},
        {emptyLines(5) + "..........", "line 6: the board ends after 6 of 20 lines"},
    };
    for (const auto& bad : cases) {
        GameState parsed;
        std::string error;
        EXPECT_FALSE(parse(bad.text, parsed, error)) << bad.reason;
        EXPECT_NE(std::string::npos, error.find(bad.reason)) << "got: " << error;
    }
}

}  // namespace
