// The built rotation table against the published pictures (rotateShape builds only this
// table, so the table's pictures are its test), and a preview word's picture.
#include <gtest/gtest.h>

#include <string>

#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"

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
    for (int kind = 0; kind < PIECE_KINDS; ++kind)
        for (int rotation = 0; rotation < PIECE_ROTATIONS; ++rotation)
            EXPECT_EQ(picture(kind, rotation), expected[kind][rotation])
                << "kind " << kind << " rotation " << rotation;
}

TEST(PieceTable, APreviewWordOutOfRangeShowsABlankPicture) {
    for (uint32_t word : {packPreviewWord(7, 0), packPreviewWord(0, 4), 0xFFFFFFFFu})
        EXPECT_EQ(std::string(previewPicture(word), 16), std::string(16, ' ')) << word;
}

}  // namespace
