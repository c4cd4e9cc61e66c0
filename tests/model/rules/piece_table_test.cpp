// The built rotation table against the published pictures, and rotateShape's normalising.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board_builder.h"
#include "model/rules/piece_table.h"

namespace {

std::string picture(int kind, int rotation) {
    return std::string(piecePicture(kind, rotation), 16);
}

// Rows joined without separators, 'X' filled and ' ' blank.
std::string rows(const char* r0, const char* r1, const char* r2 = "....", const char* r3 = "....") {
    std::string text = std::string(r0) + r1 + r2 + r3;
    for (char& character : text) character = character == '.' ? ' ' : 'X';
    return text;
}

TEST(PieceTable, EveryPictureMatchesThePublishedTable) {
    freshRecord();
    const std::string expected[7][4] = {
        {rows("X...", "X...", "XX.."), rows("..X.", "XXX."), rows("XX..", ".X..", ".X.."),
         rows("XXX.", "X...")},
        {rows(".X..", ".X..", "XX.."), rows("XXX.", "..X."), rows("XX..", "X...", "X..."),
         rows("X...", "XXX.")},
        {rows("XX..", "XX.."), rows("XX..", "XX.."), rows("XX..", "XX.."), rows("XX..", "XX..")},
        {rows("XX..", ".XX."), rows(".X..", "XX..", "X..."), rows("XX..", ".XX."),
         rows(".X..", "XX..", "X...")},
        {rows(".XX.", "XX.."), rows("X...", "XX..", ".X.."), rows(".XX.", "XX.."),
         rows("X...", "XX..", ".X..")},
        {rows(".X..", "XXX."), rows(".X..", "XX..", ".X.."), rows("XXX.", ".X.."),
         rows("X...", "XX..", "X...")},
        {rows("X...", "X...", "X...", "X..."), rows("XXXX", "...."),
         rows("X...", "X...", "X...", "X..."), rows("XXXX", "....")},
    };
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        EXPECT_EQ(picture(kind, 0), std::string(PieceTemplate[kind])) << "kind " << kind;
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation)
            EXPECT_EQ(picture(kind, rotation), expected[kind][rotation])
                << "kind " << kind << " rotation " << rotation;
    }
}

TEST(RotateShape, NormalisesAnyPictureToTheTopLeftAndABlankOneStaysBlank) {
    // A single cell anywhere ends at (0, 0): up-shifts and left shifts as needed. An
    // all-blank picture must end too, blank.
    for (int cell = -1; cell < 16; ++cell) {
        char source[16];
        std::memset(source, ' ', sizeof source);
        if (cell >= 0) source[cell] = 'X';
        char destination[16];
        rotateShape(source, destination);
        std::string expected(16, ' ');
        if (cell >= 0) expected[0] = 'X';
        EXPECT_EQ(std::string(destination, 16), expected) << "cell " << cell;
    }
}

}  // namespace
