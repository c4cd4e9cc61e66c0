// The best-result file: where it lives, every bad form, and replacement by rename.
#include "tui/best_result_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
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

TEST(BestResultFile, AcceptsOnlyTheExactForm) {
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
                               "5\n\xC2\x85\n",
                               "5\n\xC5\n",
                               "5\n\xC0\xAF\n",
                               "5\n\xED\xA0\x80\n",
                               "5\n" + longestName + "n\n",
                               std::string("5\nA\0B\n", 6)};
    for (const std::string& content : bad) {
        BestResult result{42, "x"};
        EXPECT_FALSE(parseBestResult(content, result)) << '"' << content << '"';
        EXPECT_EQ(result.score, 42) << "a bad form changes nothing";
    }
}

TEST(BestResultFile, ReadsNothingFromBadFilesAndReplacesByRename) {
    ScratchFolder scratch;
    BestResult result;
    EXPECT_FALSE(readBestResultFile(scratch.path + "/missing", result));
    EXPECT_FALSE(readBestResultFile(scratch.path, result)) << "a folder";
    EXPECT_FALSE(readBestResultFile("", result));
    std::string large = scratch.path + "/large";
    std::ofstream(large) << "5\n" << std::string(4095, 'a') << "\n";  // 4098 bytes, else good
    EXPECT_FALSE(readBestResultFile(large, result));

    std::string folder = scratch.path + "/data/kostrel";
    std::string path = folder + "/best-result";
    ASSERT_TRUE(writeBestResultFile(path, BestResult{3, "Ája"}));
    EXPECT_EQ(readFile(path), "3\nÁja\n");
    auto mode = [](const std::string& file) { return unsigned(fs::status(file).permissions()); };
    EXPECT_EQ(mode(folder), 0700u);
    EXPECT_EQ(mode(path), 0600u);

    // A reader of the old file keeps the whole old file: the new one is another file put
    // in its place, never the old one rewritten.
    int oldFile = open(path.c_str(), O_RDONLY);
    ASSERT_TRUE(writeBestResultFile(path, BestResult{4, "Bob"}));
    char old[16] = {};
    EXPECT_EQ(read(oldFile, old, sizeof old - 1), 7);
    EXPECT_STREQ(old, "3\nÁja\n");
    close(oldFile);
    ASSERT_TRUE(readBestResultFile(path, result));
    EXPECT_EQ(formatBestResult(result), "4\nBob\n");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"best-result"}) << "no temporary";

    // Results without the file's form, and places where no file can be: nothing changes.
    EXPECT_FALSE(writeBestResultFile(path, BestResult{5, ""}));
    EXPECT_FALSE(writeBestResultFile(path, BestResult{5, "a\nb"}));
    EXPECT_FALSE(writeBestResultFile(path, BestResult{-1, "a"}));
    EXPECT_FALSE(writeBestResultFile(path + "/best-result", BestResult{5, "a"}));
    EXPECT_FALSE(writeBestResultFile("relative/best-result", BestResult{5, "a"}));
    EXPECT_EQ(readFile(path), "4\nBob\n");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"best-result"});
}

}  // namespace
