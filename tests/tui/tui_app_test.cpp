// The terminal edition's keys and pause holds, on the real game through its glue.
#include "tui/tui_app.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tui/tui_texts.h"

namespace {

struct AppFixture : ::testing::Test {
    TuiApp app;
    std::string folder;
    int64_t now = 1000;

    void SetUp() override {
        char name[] = "/tmp/kostrel-tui-app-XXXXXX";
        folder = mkdtemp(name);
        startTuiApp(app, createTuiGame(), folder + "/kostrel/best-result");
    }
    void TearDown() override {
        destroyTuiGame(app.game);
        std::filesystem::remove_all(folder);
    }
    void press(Key key, uint32_t codePoint = 0) { handleKey(app, KeyEvent{key, codePoint}, now); }
    void typeText(const char32_t* text) {
        for (; *text != 0; ++text) press(Key::Text, static_cast<uint32_t>(*text));
    }
    // Whether the controller itself stands still: a step down moves the piece or not.
    bool pieceStandsStill() {
        int row = readFallingPiece(*app.game).row;
        press(Key::Down);
        return readFallingPiece(*app.game).row == row;
    }
};

TEST_F(AppFixture, EachHoldIsReleasedOnlyByItsOwnCause) {
    EXPECT_EQ(nextFallWakeMs(app), -1) << "no game, no timer";
    press(Key::F2);
    EXPECT_EQ(nextFallWakeMs(app), now + TUI_FALL_INTERVAL_MS);
    press(Key::Text, 'p');
    press(Key::FocusOut);
    press(Key::Text, 'P');  // the player lets go; the focus still holds
    EXPECT_TRUE(pieceStandsStill());
    EXPECT_EQ(nextFallWakeMs(app), -1);
    press(Key::FocusIn);
    EXPECT_FALSE(pieceStandsStill());

    press(Key::Text, 'o');  // a message, and the focus goes and comes back behind it
    press(Key::FocusOut);
    press(Key::FocusIn);
    EXPECT_TRUE(pieceStandsStill());
    EXPECT_EQ(nextFallWakeMs(app), -1);  // the message holds the game, not only the keys
    press(Key::Enter);
    EXPECT_FALSE(pieceStandsStill());

    setTooSmall(app, true, now);
    typeText(U"pp");
    EXPECT_TRUE(pieceStandsStill());
    setTooSmall(app, false, now);
    EXPECT_FALSE(pieceStandsStill());

    typeText(U"pn");  // a new game keeps the player's pause
    EXPECT_TRUE(pieceStandsStill());
    holdForSuspend(app, now);
    press(Key::Text, 'p');
    EXPECT_FALSE(pieceStandsStill());
}

TEST_F(AppFixture, ALateTickIsOneStepInTheTimersRhythm) {
    press(Key::F2);
    handleFallTicks(app, now + 5 * TUI_FALL_INTERVAL_MS + 10);  // a stopped process wakes
    EXPECT_EQ(readFallingPiece(*app.game).row, 1);
    EXPECT_EQ(nextFallWakeMs(app), now + 6 * TUI_FALL_INTERVAL_MS);
}

TEST_F(AppFixture, ALostGameWithoutARecordShowsTheMarkOnly) {
    press(Key::F2);
    for (int step = 0; step < 5000 && !app.gameEnded; ++step) press(Key::Down);
    ASSERT_TRUE(app.gameEnded);
    EXPECT_EQ(app.overlay, Overlay::None) << "a score of 0 is no record";
    EXPECT_EQ(nextFallWakeMs(app), -1);
    press(Key::Text, 'v');
    EXPECT_EQ(app.text, TEXT_BEST_RESULT_UNREADABLE);
}

TEST_F(AppFixture, ThePromptTakesEveryLetterAndSavesTheNameOrSaysItCannot) {
    app.overlay = Overlay::NamePrompt;  // as a game over with score 9 opens it
    app.promptScore = 9;
    typeText(U"Kuba q k");
    press(Key::Home);
    press(Key::Delete);
    typeText(U"Řp");  // p is a letter of the name here, not the pause
    press(Key::Backspace);
    EXPECT_FALSE(app.quit);
    press(Key::Enter);
    EXPECT_EQ(app.overlay, Overlay::None);
    press(Key::Text, 'v');  // read back from the file
    EXPECT_EQ(app.text, "Nelepšího skore 9 dosáhl Řuba q k.");
    press(Key::Escape);

    app.overlay = Overlay::NamePrompt;  // Esc saves nothing
    app.name = NameEditor{};
    app.promptScore = 10;
    typeText(U"X");
    press(Key::Escape);
    EXPECT_EQ(app.overlay, Overlay::None);
    press(Key::Text, 'v');
    EXPECT_EQ(app.text, "Nelepšího skore 9 dosáhl Řuba q k.");
    press(Key::Escape);

    // A file that cannot be written (its folder would be a file) is reported; the game goes on.
    app.bestResultPath += "/best-result";
    app.overlay = Overlay::NamePrompt;
    press(Key::Enter);
    EXPECT_EQ(app.overlay, Overlay::Message);
    EXPECT_EQ(app.text, TEXT_RECORD_NOT_SAVED);
    press(Key::Enter);
    press(Key::F2);
    EXPECT_FALSE(pieceStandsStill());
}

}  // namespace
