// The best-result file: where it lives, every bad form, what counts as no record, and
// replacement by rename, only of a lower score, one copy of the game at a time.
#include "tui/best_result_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A private folder per test, removed with everything in it.
struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        char name[] = "/tmp/kostrel-tui-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~ScratchFolder() { fs::remove_all(path); }
};

std::string readFile(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

std::vector<std::string> folderEntries(const std::string& path) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BestResultFile, PathFollowsXdgThenHomeThenPasswordDatabase) {
    struct {
        const char *xdg, *home, *password, *path;
    } cases[] = {
        {"/data", "/home/a", "/pw", "/data/kostrel/best-result"},
        {"", "/home/a", "/pw", "/home/a/.local/share/kostrel/best-result"},
        {"relative/data", "/home/a", "/pw", "/home/a/.local/share/kostrel/best-result"},
        {nullptr, nullptr, "/pw", "/pw/.local/share/kostrel/best-result"},
        {nullptr, "", "/pw", "/pw/.local/share/kostrel/best-result"},
        {nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bestResultPath(c.xdg, c.home, c.password), c.path)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

// What the C library already refuses is relied on, so it is checked here too, next to the
// format characters from the table.
TEST(BestResultFile, NamesRefuseHiddenAndUnassignableCharacters) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    for (wchar_t allowed : {L'a', L'Ž', L'ů', L'李', L'😀', L'\u0301', L' ', L'\u2010'})
        EXPECT_TRUE(nameCharacterAllowed(allowed)) << std::hex << unsigned(allowed);
    std::vector<wchar_t> refused = {
        0x09,   0x7F,   0x9B,    0x2028,  0xD800,  0x110000,  // controls, a surrogate, too high
        0x200B, 0x200F, 0x202A,  0x202E,  0x2066,  0x2069,   0xFEFF,  // the format ones
        0x00AD, 0x0600, 0x110BD, 0x1343F, 0xE0001, 0xE007F,           // and those glibc prints
    };
    for (wchar_t noncharacter = 0xFDD0; noncharacter <= 0xFDEF; ++noncharacter)
        refused.push_back(noncharacter);
    for (wchar_t plane = 0; plane <= 0x10; ++plane) {
        refused.push_back(plane * 0x10000 + 0xFFFE);
        refused.push_back(plane * 0x10000 + 0xFFFF);
    }
    for (wchar_t character : refused)
        EXPECT_FALSE(nameCharacterAllowed(character)) << std::hex << unsigned(character);
}

TEST(BestResultFile, AcceptsOnlyTheExactForm) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    const std::string longestName(1023, 'n');
    // Formatting what was read gives back the very text: score and name were read whole.
    const std::string good[] = {"0\nA\n", "2147483647\nŽluťoučký kůň\n",
                                "7\n" + longestName + "\n"};
    for (const std::string& content : good) {
        BestResult result;
        EXPECT_TRUE(parseBestResult(content, result)) << content;
        EXPECT_EQ(formatBestResult(result), content);
    }
    const std::string bad[] = {"",
                               "5\n",
                               "5\nA",
                               "5\nA\n\n",
                               "5\nA\nB\n",
                               "\nA\n",
                               "05\nA\n",
                               "+5\nA\n",
                               "-1\nA\n",
                               " 5\nA\n",
                               "5 \nA\n",
                               "2147483648\nA\n",
                               "99999999999\nA\n",
                               "5\r\nA\n",
                               "5\n\n",
                               "5\nA\tB\n",
                               "5\nA\x7F\n",
                               "5\n\xC2\x85\n",           // C1 control
                               "5\n\xC5\n",               // cut
                               "5\n\xC0\xAF\n",           // overlong
                               "5\n\xED\xA0\x80\n",       // surrogate
                               "5\n\xF4\x90\x80\x80\n",   // above U+10FFFF
                               "5\nEva\xE2\x80\xAEvA\n",  // U+202E turns the line around
                               "5\nA\xE2\x80\x8B\n",      // U+200B, zero width
                               "5\n\xEF\xBB\xBF\n",       // U+FEFF
                               "5\n\xEF\xBF\xBF\n",       // U+FFFF, a noncharacter
                               "5\n" + longestName + "n\n",
                               std::string("5\nA\0B\n", 6)};
    for (const std::string& content : bad) {
        BestResult result{42, "x"};
        EXPECT_FALSE(parseBestResult(content, result)) << '"' << content << '"';
        EXPECT_EQ(result.score, 42) << "a bad form changes nothing";
    }
}

TEST(BestResultFile, OnlyAMissingOrForeignFileIsNoRecord) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    ScratchFolder scratch;
    BestResult result;
    EXPECT_EQ(readBestResultFile(scratch.path + "/missing", result), StoredResult::None);
    EXPECT_EQ(readBestResultFile(scratch.path + "/missing/file", result), StoredResult::None);
    EXPECT_EQ(readBestResultFile("", result), StoredResult::None) << "no home";
    std::string large = scratch.path + "/large";
    std::ofstream(large) << "5\n" << std::string(4095, 'a') << "\n";  // 4098 bytes, else good
    EXPECT_EQ(readBestResultFile(large, result), StoredResult::None);
    // A file that is there but cannot be read may hold a record. Tests run as root, who
    // reads any mode, so a folder and a path through a file stand for it.
    EXPECT_EQ(readBestResultFile(scratch.path, result), StoredResult::Unreadable);
    EXPECT_EQ(readBestResultFile(large + "/file", result), StoredResult::Unreadable);
    EXPECT_EQ(saveBestResult(scratch.path + "/", BestResult{5, "a"}), SaveOutcome::Failed);
}

TEST(BestResultFile, ReplacesByRenameOnlyAHigherScore) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    ScratchFolder scratch;
    std::string folder = scratch.path + "/data/kostrel";
    std::string path = folder + "/best-result";
    const std::vector<std::string> entries = {"best-result", "best-result.lock"};
    ASSERT_EQ(saveBestResult(path, BestResult{3, "Ája"}), SaveOutcome::Saved);
    EXPECT_EQ(readFile(path), "3\nÁja\n");
    auto mode = [](const std::string& file) { return unsigned(fs::status(file).permissions()); };
    EXPECT_EQ(mode(folder), 0700u);
    EXPECT_EQ(mode(path), 0600u);

    // A reader of the old file keeps the whole old file: the new one is another file put
    // in its place, never the old one rewritten.
    int oldFile = open(path.c_str(), O_RDONLY);
    ASSERT_EQ(saveBestResult(path, BestResult{4, "Bob"}), SaveOutcome::Saved);
    char old[16] = {};
    EXPECT_EQ(read(oldFile, old, sizeof old - 1), 7);
    EXPECT_STREQ(old, "3\nÁja\n");
    close(oldFile);
    EXPECT_EQ(readFile(path), "4\nBob\n");
    EXPECT_EQ(folderEntries(folder), entries) << "no temporary left";

    // A tie or less keeps the stored record; so do results without the file's form.
    EXPECT_EQ(saveBestResult(path, BestResult{4, "Cyril"}), SaveOutcome::Beaten);
    EXPECT_EQ(saveBestResult(path, BestResult{5, ""}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult(path, BestResult{5, "a\nb"}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult(path, BestResult{-1, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult(path + "/best-result", BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(saveBestResult("relative/best-result", BestResult{5, "a"}), SaveOutcome::Failed);
    EXPECT_EQ(readFile(path), "4\nBob\n");
    EXPECT_EQ(folderEntries(folder), entries);
}

TEST(BestResultFile, ASaveRemovesTheTemporariesOfKilledSavesButNoneBeingWritten) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    ScratchFolder scratch;
    std::string path = scratch.path + "/best-result";
    for (const char* name : {"/best-result.aZ09xy", "/best-result.lock"})
        std::ofstream(scratch.path + name) << "1\nKilled\n";
    std::ofstream(scratch.path + "/best-result.notes") << "not ours\n";

    // Another copy is saving: it holds the lock while its temporary file exists. Whenever
    // this save gets to run, it must wait, and touch nothing meanwhile.
    int otherCopy = open((path + ".lock").c_str(), O_RDWR);
    ASSERT_EQ(flock(otherCopy, LOCK_EX), 0);
    std::thread save([&] {
        EXPECT_EQ(saveBestResult(path, BestResult{2, "Dan"}), SaveOutcome::Saved);
    });
    EXPECT_TRUE(fs::exists(scratch.path + "/best-result.aZ09xy"));
    EXPECT_FALSE(fs::exists(path));
    close(otherCopy);  // the other copy's save is over; it left its temporary behind
    save.join();
    EXPECT_EQ(readFile(path), "2\nDan\n");
    EXPECT_EQ(folderEntries(scratch.path),
              (std::vector<std::string>{"best-result", "best-result.lock", "best-result.notes"}));
}

}  // namespace
