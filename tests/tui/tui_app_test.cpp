// The terminal edition's keys, pause holds and record check, on the real game.
#include "tui/tui_app.h"

#include <sys/stat.h>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tui/best_result_file.h"
#include "tui/tui_texts.h"

#include <curses.h>  // last: its macros would rename the library's own members

namespace {

struct AppFixture : ::testing::Test {
    TuiApp app;
    std::string folder;
    std::string path;
    int64_t now = 1000;

    void SetUp() override {
        std::setlocale(LC_CTYPE, "C.UTF-8");
        char name[] = "/tmp/kostrel-tui-app-XXXXXX";
        folder = mkdtemp(name);
        path = folder + "/kostrel/best-result";
        startTuiGame(app.game);
        app.bestResultPath = path;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void press(std::initializer_list<int> keyCodes) {
        for (int code : keyCodes) handleKey(app, KeyPress{true, wint_t(code)}, now);
    }
    void type(const wchar_t* text) {
        for (; *text != 0; ++text) handleKey(app, KeyPress{false, wint_t(*text)}, now);
    }
    // Whether the controller itself stands still: a step down moves the piece or not.
    bool pieceStandsStill() {
        int row = app.game.state.pieceY;
        press({KEY_DOWN});
        return app.game.state.pieceY == row;
    }
    // A game that ends with `score` rows: the score is set, the pieces stacked to the top.
    void loseWithScore(int32_t score) {
        press({KEY_F(2)});
        app.game.state.score = score;
        for (int step = 0; step < 5000 && !app.gameEnded; ++step) press({KEY_DOWN});
        ASSERT_TRUE(app.gameEnded);
    }
    std::string stored() {
        std::ostringstream content;
        content << std::ifstream(path).rdbuf();
        return content.str();
    }
};

TEST_F(AppFixture, EachHoldIsReleasedOnlyByItsOwnCause) {
    EXPECT_EQ(nextFallWakeMs(app), -1) << "no game, no timer";
    press({KEY_F(2)});
    EXPECT_EQ(nextFallWakeMs(app), now + 500);
    type(L"p");
    press({KEY_FOCUS_OUT});
    type(L"P");  // the player lets go; the focus still holds
    EXPECT_TRUE(pieceStandsStill());
    EXPECT_EQ(nextFallWakeMs(app), -1);
    press({KEY_FOCUS_IN});
    EXPECT_FALSE(pieceStandsStill());

    type(L"o");  // a message, and the focus goes and comes back behind it
    press({KEY_FOCUS_OUT, KEY_FOCUS_IN});
    EXPECT_TRUE(pieceStandsStill());
    EXPECT_EQ(nextFallWakeMs(app), -1);  // the message holds the game, not only the keys
    type(L"\r");
    EXPECT_FALSE(pieceStandsStill());

    app.holds.tooSmall = true;
    applyHolds(app, now);
    type(L"pp");
    EXPECT_TRUE(pieceStandsStill());
    app.holds.tooSmall = false;
    applyHolds(app, now);
    EXPECT_FALSE(pieceStandsStill());

    type(L"pn");  // a new game keeps the player's pause
    EXPECT_TRUE(pieceStandsStill());
    app.holds.player = true;  // as a suspend leaves it
    applyHolds(app, now);
    type(L"p");
    EXPECT_FALSE(pieceStandsStill());
}

TEST_F(AppFixture, ALateTickIsOneStepInTheTimersRhythm) {
    press({KEY_F(2)});
    now += 5 * 500 + 10;  // a stopped process wakes
    handleFallTicks(app, now);
    EXPECT_EQ(app.game.state.pieceY, 1);
    EXPECT_EQ(nextFallWakeMs(app), 1000 + 6 * 500);

    // The ticks that fall due while paused are lost, not made up at the resume.
    type(L"p");
    now += 3 * 500 + 700;
    type(L"p");
    handleFallTicks(app, now);
    EXPECT_EQ(app.game.state.pieceY, 1);
    EXPECT_EQ(nextFallWakeMs(app), 1000 + 10 * 500);
}

TEST_F(AppFixture, NoRecordIsLostToAnUnreadableFileOrAnotherCopy) {
    loseWithScore(0);
    EXPECT_EQ(app.overlay, Overlay::None) << "a score of 0 is no record";
    EXPECT_EQ(nextFallWakeMs(app), -1);

    // A file that is there but cannot be read may hold a higher record: no prompt, and it
    // stays as it is. (Tests run as root, who reads any mode, so a folder takes its place.)
    std::filesystem::create_directories(path);
    loseWithScore(5);
    type(L"v");
    EXPECT_EQ(app.text, TEXT_BEST_RESULT_UNREADABLE);
    type(L"\033");

    // Another copy stores a higher record while the prompt is open: it stays. (A file that
    // turns unreadable meanwhile is kept by the save itself, as best_result_file_test shows.)
    std::filesystem::remove(path);
    loseWithScore(5);
    ASSERT_EQ(saveBestResult(path, BestResult{7, "Eva"}), SaveOutcome::Saved);
    type(L"Adam\r");
    EXPECT_EQ(stored(), "7\nEva\n");
    EXPECT_EQ(app.text, "Nelepšího skore 7 dosáhl Eva.") << "the player sees why";
    type(L"\033");
    loseWithScore(9);  // and a lower one is replaced
    ASSERT_EQ(saveBestResult(path, BestResult{8, "Cyril"}), SaveOutcome::Saved);
    type(L"Adam\r");
    EXPECT_EQ(stored(), "9\nAdam\n");
}

TEST_F(AppFixture, ThePromptEditsWholeCharactersAndRefusesHiddenOnes) {
    loseWithScore(9);
    type(L"Kuba q k");
    press({KEY_HOME, KEY_LEFT, KEY_DC});  // Left stays at the start
    type(L"Řp\x7F");                      // p is a letter of the name here, not the pause
    press({KEY_RIGHT, KEY_BACKSPACE});
    type(L"\t\u2028\u202E\uFFFF");  // a tab, a line separator, a direction mark, a noncharacter
    press({KEY_END, KEY_RIGHT, KEY_DC});  // Right stays at the end, Delete finds nothing
    EXPECT_EQ(app.name, L"Řba q k");
    type(L"\rv");
    EXPECT_EQ(app.text, "Nelepšího skore 9 dosáhl Řba q k.") << "read back from the file";
    type(L"\033");
    EXPECT_FALSE(app.quit);

    loseWithScore(10);  // Esc saves nothing
    type(L"X\033");
    EXPECT_EQ(app.overlay, Overlay::None);
    EXPECT_EQ(stored(), "9\nŘba q k\n");

    // An empty name is kept as "?"; the name stops at the file's 1023 bytes.
    loseWithScore(11);
    press({KEY_ENTER});
    EXPECT_EQ(stored(), "11\n?\n");
    loseWithScore(12);
    type((std::wstring(1022, L'a') + L"žbc").c_str());  // two bytes do not fit into one
    EXPECT_EQ(app.name, std::wstring(1022, L'a') + L"b");

    // A file that cannot be written (its folder would be a file) is reported; the game goes on.
    app.bestResultPath = path + "/best-result";
    press({KEY_ENTER});
    EXPECT_EQ(app.text, TEXT_RECORD_NOT_SAVED);
    press({KEY_ENTER, KEY_F(2)});
    EXPECT_FALSE(pieceStandsStill());
}

}  // namespace
