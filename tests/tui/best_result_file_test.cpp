// The best-result file: where it lives, which names and forms it takes, what counts as no
// record, and replacement by rename, only of a lower score, one copy of the game at a time.
#include "tui/best_result_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

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

}  // namespace
