// Full rows leave from the bottom up, one point and one label text each.
#include <gtest/gtest.h>

#include <cstring>

#include "board_builder.h"
#include "model/recording_notifier.h"
#include "model/row_clearing.h"

namespace {

constexpr uint32_t LABEL = 0x1234;

const char FULL[] = "##########";
const char P[] = "#.#.......";
const char Q[] = ".##......#";
const char R[] = "...#......";

GameState linkedRecord(int score) {
    GameState state = freshRecord();
    state.scoreLabel = LABEL;
    state.score = score;
    return state;
}

std::vector<std::string> labelTexts(const NotifierRecord& record) {
    std::vector<std::string> texts;
    for (const auto& [window, text] : record.texts) {
        EXPECT_EQ(LABEL, window);
        texts.push_back(text);
    }
    return texts;
}

TEST(ClearFullRows, RowsComeDownOneRowPerRemovedRowBelow) {
    NotifierRecord& record = recordNotifications();
    GameState state = linkedRecord(5);
    setRow(state, 19, FULL);
    setRow(state, 18, P);
    setRow(state, 17, FULL);
    setRow(state, 16, Q);
    setRow(state, 15, R);
    clearFullRows(state);
    GameState expected = linkedRecord(7);
    setRow(expected, 19, P);
    setRow(expected, 18, Q);
    setRow(expected, 17, R);
    EXPECT_EQ(filledCells(state), filledCells(expected));
    EXPECT_EQ(7, state.score);
    EXPECT_EQ(labelTexts(record), (std::vector<std::string>{"6", "7"}));
}

TEST(ClearFullRows, StackedFullRowsAllGoAtTheBottom) {
    NotifierRecord& record = recordNotifications();
    GameState state = linkedRecord(0);
    for (int row = 16; row <= 19; ++row) setRow(state, row, FULL);
    setRow(state, 15, P);
    clearFullRows(state);
    GameState expected = freshRecord();
    setRow(expected, 19, P);
    EXPECT_EQ(filledCells(state), filledCells(expected));
    EXPECT_EQ(labelTexts(record), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST(ClearFullRows, FullTopRowGoesOnlyWithARowBelowIt) {
    NotifierRecord& record = recordNotifications();
    GameState alone = linkedRecord(3);
    setRow(alone, 0, FULL);
    clearFullRows(alone);
    EXPECT_EQ(10u, filledCells(alone).size());
    EXPECT_EQ(3, alone.score);
    EXPECT_TRUE(record.texts.empty());

    GameState withBottom = linkedRecord(0);
    setRow(withBottom, 0, FULL);
    setRow(withBottom, 19, FULL);
    clearFullRows(withBottom);
    EXPECT_TRUE(filledCells(withBottom).empty());
    EXPECT_EQ(2, withBottom.score);
}

TEST(ClearFullRows, NineteenRowsEmptyTheGrid) {
    NotifierRecord& record = recordNotifications();
    GameState state = linkedRecord(0);
    for (int row = 1; row < BOARD_ROWS; ++row) setRow(state, row, FULL);
    clearFullRows(state);
    EXPECT_TRUE(filledCells(state).empty());
    EXPECT_EQ(19, state.score);
    EXPECT_EQ(19u, record.texts.size());
    EXPECT_EQ("19", record.texts.back().second);
}

TEST(ClearFullRows, WordValuesCountAndSurviveAsTheyAre) {
    NotifierRecord& record = recordNotifications();
    GameState state = freshRecord();  // no label linked: the score still counts
    for (int column = 0; column < BOARD_COLUMNS; ++column) state.cells[19][column] = column + 1;
    state.cells[18][3] = 0xABCD;
    state.score = -2;  // formatted signed, as the label shows it
    clearFullRows(state);
    EXPECT_EQ(-1, state.score);
    EXPECT_EQ(0xABCDu, state.cells[19][3]);
    EXPECT_EQ(1u, filledCells(state).size());
    EXPECT_TRUE(record.texts.empty());

    GameState negative = linkedRecord(-2);
    setRow(negative, 19, FULL);
    clearFullRows(negative);
    EXPECT_EQ(labelTexts(record), (std::vector<std::string>{"-1"}));
}

TEST(ClearFullRows, NoFullRowChangesNothing) {
    NotifierRecord& record = recordNotifications();
    GameState state = linkedRecord(4);
    setRow(state, 19, "#########.");
    GameState before = state;
    clearFullRows(state);
    EXPECT_EQ(0, std::memcmp(&before, &state, sizeof state));
    EXPECT_TRUE(record.texts.empty());
}

}  // namespace
