// The terminal edition's best-result file (where it lives, what counts as no record, rename
// of only a lower score, one copy at a time) and the keys on the real game around it. (The
// holds and the fall clock are the session's; the prompt's editing is played in tui_e2e.py.)
#include "tui/tui_app.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tui/best_result_file.h"
#include "tui/tui_texts.h"

#include <curses.h>  // last: its macros would rename the library's own members

namespace {

namespace fs = std::filesystem;

// A private folder per test, removed with everything in it.
struct BestResultFile : ::testing::Test {
    std::string folder;
    void SetUp() override {
        char name[] = "/tmp/kostrel-tui-test-XXXXXX";
        folder = mkdtemp(name);
    }
    void TearDown() override { fs::remove_all(folder); }
    static std::string read(const std::string& path) {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    }
    static size_t entries(const std::string& path) {
        return size_t(std::distance(fs::directory_iterator(path), fs::directory_iterator()));
    }
};

TEST_F(BestResultFile, FolderFollowsXdgThenHomeThenPasswordDatabase) {
    const std::string tail = "/.local/state/kostrel";
    auto folder = [](const char* xdg, const char* home, const char* passwordHome) {
        return keptFolder(xdg, home, passwordHome, ".local/state");
    };
    EXPECT_EQ(folder("/state", "/home/a", "/pw"), "/state/kostrel");
    EXPECT_EQ(folder("", "/home/a", "/pw"), "/home/a" + tail);
    EXPECT_EQ(folder("relative/state", "/home/a", "/pw"), "/home/a" + tail);
    EXPECT_EQ(folder(nullptr, nullptr, "/pw"), "/pw" + tail);
    EXPECT_EQ(folder(nullptr, "", "/pw"), "/pw" + tail);
    EXPECT_EQ(folder(nullptr, nullptr, nullptr), "");
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

    // A tie keeps the stored record; so does a result without the file's form, or a path
    // that cannot be one.
    EXPECT_EQ(saveBestResult(path, BestResult{4, "Cyril"}), SaveOutcome::Beaten);
    EXPECT_EQ(saveBestResult(path, BestResult{5, "a\nb"}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult(path + "/best-result", BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult("relative/best-result", BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(read(path), "4\nBob\n");
    EXPECT_EQ(entries(data), 2u) << "the file and its lock, no temporary left";
}

// How many of this process's descriptors are open on the file.
int openDescriptors(const std::string& path) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        count += fs::read_symlink(entry.path(), error) == path ? 1 : 0;
    }
    return count;
}

TEST_F(BestResultFile, ASaveRemovesTheTemporariesOfKilledSavesButNoneBeingWritten) {
    std::string path = folder + "/best-result";
    for (const char* name : {"/best-result.tmp-aZ09xy", "/best-result.lock", "/best-result.notes",
                             "/best-result.replay"})
        std::ofstream(folder + name) << "1\nKilled\n";

    // Another copy is saving: it holds the lock while its temporary file exists. A save
    // that may wait a moment gives up; one that may wait longer waits, touching nothing.
    int otherCopy = open((path + ".lock").c_str(), O_RDWR);
    ASSERT_EQ(flock(otherCopy, LOCK_EX), 0);
    EXPECT_EQ(saveBestResult(path, {3, "Eva"}, nullptr, nullptr, 30), SaveOutcome::Failed);
    std::thread save([&] {
        EXPECT_EQ(saveBestResult(path, {2, "Dan"}, nullptr, nullptr, 60000), SaveOutcome::Saved);
    });
    // Once the save has the lock file open, it waits for the lock, which it cannot take.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (openDescriptors(path + ".lock") < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(openDescriptors(path + ".lock"), 2);
    EXPECT_TRUE(fs::exists(folder + "/best-result.tmp-aZ09xy"));
    EXPECT_FALSE(fs::exists(path));
    close(otherCopy);  // the other copy's save is over; it left its temporary behind
    save.join();
    EXPECT_EQ(read(path), "2\nDan\n");
    EXPECT_FALSE(fs::exists(folder + "/best-result.tmp-aZ09xy"));
    EXPECT_EQ(entries(folder), 4u) << "the file, its lock, the notes and the game beside it";
}

// The app on the real game, its best-result file in the test's private folder.
struct TuiAppTest : BestResultFile {
    TuiApp app;
    std::string path;

    void SetUp() override {
        BestResultFile::SetUp();
        path = folder + "/kostrel/best-result";
        startTuiApp(app, TuiFolders{folder + "/kostrel", folder + "/state"});
    }
    void press(std::initializer_list<int> keyCodes) {
        for (int code : keyCodes) handleKey(app, KeyPress{true, wint_t(code)}, 1000);
    }
    void type(const std::wstring& text) {
        for (wchar_t letter : text) handleKey(app, KeyPress{false, wint_t(letter)}, 1000);
    }
    // A game that ends with `score` rows: the score is set, the pieces stacked to the top.
    void loseWithScore(int32_t score) {
        press({KEY_F(2)});
        app.session.state.score = score;
        for (int step = 0; step < 5000 && !app.session.gameOver; ++step) press({KEY_DOWN});
        ASSERT_TRUE(app.session.gameOver);
    }
};

TEST_F(TuiAppTest, ThePromptSavesWhatStillBeatsTheFileAndSaysWhatItCouldNot) {
    loseWithScore(9);  // Esc saves nothing
    EXPECT_TRUE(sessionHeldBy(app.session, HoldCause::Dialog));
    type(L"X\033");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(app.session.holds, 0);

    // Another copy stores a higher record while the prompt is open: it stays, and the
    // player sees why. A lower one is replaced; an empty name is kept as "?".
    loseWithScore(5);
    ASSERT_EQ(saveBestResult(path, BestResult{7, "Eva"}), SaveOutcome::Saved);
    type(L"Adam\r");
    EXPECT_EQ(app.text, "Nelepšího skore 7 dosáhl Eva.");
    type(L"\033");
    loseWithScore(9);
    ASSERT_EQ(saveBestResult(path, BestResult{8, "Cyril"}), SaveOutcome::Saved);
    press({KEY_ENTER});
    type(L"v");
    EXPECT_EQ(app.text, "Nelepšího skore 9 dosáhl ?.") << "read back from the file";
    type(L"\033W");
    EXPECT_EQ(app.text, TEXT_BEST_GAME_UNVERIFIED) << "its game never reached the score set here";
    type(L"\033");

    // The name stops at the file's 1023 bytes; a file that cannot be written (its folder
    // would be a file) is reported, and the game goes on.
    loseWithScore(12);
    type(std::wstring(1022, L'a') + L"žbc");  // two bytes do not fit into one
    EXPECT_EQ(app.name, std::wstring(1022, L'a') + L"b");
    app.folders.data = path;
    press({KEY_ENTER});
    EXPECT_EQ(app.text, TEXT_RECORD_NOT_SAVED);
    press({KEY_ENTER, KEY_F(2)});
    EXPECT_FALSE(app.session.gameOver);

    // The About box holds the game until Enter; `P` or `p` until `p`.
    type(L"o");
    EXPECT_EQ(app.caption, TEXT_ABOUT_CAPTION);
    EXPECT_EQ(app.session.holds, 1 << int(HoldCause::Dialog));
    type(L"\rP");
    EXPECT_EQ(app.session.holds, 1 << int(HoldCause::Player));
    type(L"pq");
    EXPECT_EQ(app.session.holds, 0);
    EXPECT_TRUE(app.quit);
}

}  // namespace
