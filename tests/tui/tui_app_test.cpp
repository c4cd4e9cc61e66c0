// The terminal edition's best-result file: where it lives, which names and forms it takes,
// what counts as no record, and replacement by rename, only of a lower score, one copy of
// the game at a time. Then the app on the real game: its keys, pause holds and record check.
#include "tui/tui_app.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tui/best_result_file.h"
#include "tui/tui_texts.h"

#include <curses.h>  // last: its macros would rename the library's own members

namespace {

namespace fs = std::filesystem;

// A private folder per test, removed with everything in it; names are read as UTF-8.
struct BestResultFile : ::testing::Test {
    std::string folder;
    void SetUp() override {
        std::setlocale(LC_CTYPE, "C.UTF-8");
        char name[] = "/tmp/kostrel-tui-test-XXXXXX";
        folder = mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(folder); }
    static std::string read(const std::string& path) {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    }
    static std::vector<std::string> entries(const std::string& path) {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(BestResultFile, PathFollowsXdgThenHomeThenPasswordDatabase) {
    const std::string tail = "/.local/share/kostrel/best-result";
    EXPECT_EQ(bestResultPath("/data", "/home/a", "/pw"), "/data/kostrel/best-result");
    EXPECT_EQ(bestResultPath("", "/home/a", "/pw"), "/home/a" + tail);
    EXPECT_EQ(bestResultPath("relative/data", "/home/a", "/pw"), "/home/a" + tail);
    EXPECT_EQ(bestResultPath(nullptr, nullptr, "/pw"), "/pw" + tail);
    EXPECT_EQ(bestResultPath(nullptr, "", "/pw"), "/pw" + tail);
    EXPECT_EQ(bestResultPath(nullptr, nullptr, nullptr), "");
}

TEST_F(BestResultFile, AcceptsOnlyTheExactFormAndVisibleNames) {
    const std::string longestName(1023, 'n');
    // Formatting what was read gives back the very text: score and name were read whole.
    for (const std::string& content :
         {std::string("0\nA\n"), std::string("7\n" + longestName + "\n"),
          std::string("2147483647\nŽluťoučký kůň 李 😀\n")}) {
        BestResult result;
        EXPECT_TRUE(parseBestResult(content, result)) << content;
        EXPECT_EQ(formatBestResult(result), content);
    }
    const std::string bad[] = {
        "", "5\n", "5\nA", "5\nA\n\n", "5\nA\nB\n", "\nA\n", "05\nA\n", "+5\nA\n", "-1\nA\n",
        " 5\nA\n", "2147483648\nA\n", "99999999999\nA\n", "5\r\nA\n", "5\n\n",
        "5\n" + longestName + "n\n", std::string("5\nA\0B\n", 6),
        // Controls (tab, DEL, C1), cut, overlong, a surrogate, above U+10FFFF:
        "5\nA\tB\n", "5\nA\x7F\n", "5\n\xC2\x85\n", "5\n\xC5\n", "5\n\xC0\xAF\n",
        "5\n\xED\xA0\x80\n", "5\n\xF4\x90\x80\x80\n",
        // U+202E turns the line around; U+200B and U+FEFF hide; U+FFFF is a noncharacter.
        "5\nEva\xE2\x80\xAEvA\n", "5\nA\xE2\x80\x8B\n", "5\n\xEF\xBB\xBF\n", "5\n\xEF\xBF\xBF\n"};
    for (const std::string& content : bad) {
        BestResult result{42, "x"};
        EXPECT_FALSE(parseBestResult(content, result)) << '"' << content << '"';
        EXPECT_EQ(result.score, 42) << "a bad form changes nothing";
    }
    // The C library refuses the noncharacters, which is relied on; format characters that
    // it counts as printable, some of them one column wide, come from the table.
    for (wchar_t plane = 0; plane <= 0x10; ++plane)
        EXPECT_FALSE(nameCharacterAllowed(plane * 0x10000 + 0xFFFE) ||
                     nameCharacterAllowed(plane * 0x10000 + 0xFFFF));
    for (wchar_t refused = 0xFDD0; refused <= 0xFDEF; ++refused)
        EXPECT_FALSE(nameCharacterAllowed(refused));
    for (wchar_t refused : {0x00AD, 0x0600, 0x2066, 0x2069, 0x110BD, 0x1343F, 0xE007F})
        EXPECT_FALSE(nameCharacterAllowed(refused)) << std::hex << unsigned(refused);
    EXPECT_TRUE(nameCharacterAllowed(L'\u0301') && nameCharacterAllowed(L'\u2010'));
}

TEST_F(BestResultFile, OnlyAMissingOrForeignFileIsNoRecord) {
    BestResult result;
    EXPECT_EQ(readBestResultFile(folder + "/missing", result), StoredResult::None);
    EXPECT_EQ(readBestResultFile(folder + "/missing/file", result), StoredResult::None);
    EXPECT_EQ(readBestResultFile("", result), StoredResult::None) << "no home";
    std::ofstream(folder + "/large") << "5\n" << std::string(4095, 'a') << "\n";  // 4098 bytes
    EXPECT_EQ(readBestResultFile(folder + "/large", result), StoredResult::None);
    // A file that is there but cannot be read may hold a record, and is never replaced.
    // Tests run as root, who reads any mode, so a pipe, a folder and a path through a file
    // stand for it.
    std::string pipe = folder + "/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(readBestResultFile(pipe, result), StoredResult::Unreadable);
    EXPECT_EQ(readBestResultFile(folder, result), StoredResult::Unreadable);
    EXPECT_EQ(readBestResultFile(folder + "/large/file", result), StoredResult::Unreadable);
    EXPECT_EQ(saveBestResult(pipe, BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(BestResultFile, ReplacesByRenameOnlyALowerScore) {
    std::string data = folder + "/data/kostrel";
    std::string path = data + "/best-result";
    const std::vector<std::string> files = {"best-result", "best-result.lock"};
    ASSERT_EQ(saveBestResult(path, BestResult{3, "Ája"}), SaveOutcome::Saved);
    EXPECT_EQ(read(path), "3\nÁja\n");
    EXPECT_EQ(unsigned(fs::status(data).permissions()), 0700u);
    EXPECT_EQ(unsigned(fs::status(path).permissions()), 0600u);

    // A reader of the old file keeps the whole old file: the new one is another file put
    // in its place, never the old one rewritten.
    int oldFile = open(path.c_str(), O_RDONLY);
    ASSERT_EQ(saveBestResult(path, BestResult{4, "Bob"}), SaveOutcome::Saved);
    char old[16] = {};
    EXPECT_EQ(::read(oldFile, old, sizeof old - 1), 7);
    EXPECT_STREQ(old, "3\nÁja\n");
    close(oldFile);

    // A tie or less keeps the stored record; so do results without the file's form.
    EXPECT_EQ(saveBestResult(path, BestResult{4, "Cyril"}), SaveOutcome::Beaten);
    for (const BestResult& bad : {BestResult{5, ""}, BestResult{5, "a\nb"}, BestResult{-1, "a"}})
        EXPECT_EQ(saveBestResult(path, bad), SaveOutcome::Failed) << bad.name;
    EXPECT_EQ(saveBestResult(path + "/best-result", BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult("relative/best-result", BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(read(path), "4\nBob\n");
    EXPECT_EQ(entries(data), files) << "no temporary left";
}

TEST_F(BestResultFile, ASaveRemovesTheTemporariesOfKilledSavesButNoneBeingWritten) {
    std::string path = folder + "/best-result";
    for (const char* name : {"/best-result.aZ09xy", "/best-result.lock", "/best-result.notes"})
        std::ofstream(folder + name) << "1\nKilled\n";

    // Another copy is saving: it holds the lock while its temporary file exists. A save
    // waits for it, and touches nothing meanwhile; one that waits too long fails.
    int otherCopy = open((path + ".lock").c_str(), O_RDWR);
    ASSERT_EQ(flock(otherCopy, LOCK_EX), 0);
    EXPECT_EQ(saveBestResult(path, {3, "Eva"}), SaveOutcome::Failed);
    std::thread save([&] { EXPECT_EQ(saveBestResult(path, {2, "Dan"}), SaveOutcome::Saved); });
    EXPECT_TRUE(fs::exists(folder + "/best-result.aZ09xy"));
    EXPECT_FALSE(fs::exists(path));
    close(otherCopy);  // the other copy's save is over; it left its temporary behind
    save.join();
    EXPECT_EQ(read(path), "2\nDan\n");
    EXPECT_EQ(entries(folder),
              (std::vector<std::string>{"best-result", "best-result.lock", "best-result.notes"}));
}

// The app on the real game, its best-result file in the test's private folder.
struct AppFixture : BestResultFile {
    TuiApp app;
    std::string path;
    int64_t now = 1000;

    void SetUp() override {
        BestResultFile::SetUp();
        path = folder + "/kostrel/best-result";
        startTuiGame(app.game);
        app.bestResultPath = path;
    }
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
    std::string stored() { return read(path); }
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
    fs::create_directories(path);
    loseWithScore(5);
    type(L"v");
    EXPECT_EQ(app.text, TEXT_BEST_RESULT_UNREADABLE);
    type(L"\033");

    // Another copy stores a higher record while the prompt is open: it stays. (A file that
    // turns unreadable meanwhile is kept by the save itself, as best_result_file_test shows.)
    fs::remove(path);
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
