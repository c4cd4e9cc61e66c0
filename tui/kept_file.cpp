// The kept files' folders, reads, locks and renames, on POSIX calls.
#include "tui/kept_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace {

// mkstemp's pattern after the file's name. A word of its own, so that no file that the game
// keeps beside (best-result.replay beside best-result) looks like a leftover.
constexpr char TEMPORARY_MARK[] = ".tmp-";
constexpr char TEMPORARY_PATTERN[] = ".tmp-XXXXXX";

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return path.substr(0, slash == 0 ? 1 : slash);
}

void removeLeftoverTemporaries(const std::string& path) {
    const std::string prefix = path.substr(path.rfind('/') + 1) + TEMPORARY_MARK;
    DIR* entries = opendir(folderOf(path).c_str());
    if (entries == nullptr) return;
    while (const dirent* entry = readdir(entries)) {
        std::string name = entry->d_name;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.end() - 6, name.end(),
                        [](unsigned char letter) { return std::isalnum(letter) != 0; }))
            unlinkat(dirfd(entries), entry->d_name, 0);
    }
    closedir(entries);
}

// A write holds the lock for a few writes; a copy stopped in the middle of one (Ctrl+Z, a
// debugger) must not hang this game, so after a while the write counts as failed and the
// player is told. The game holds its signals back while it is busy, so nothing interrupts
// the wait.
bool lockWithin(int lock, int waitMs) {
    constexpr int RETRY_MS = 20;
    for (int waited = 0; flock(lock, LOCK_EX | LOCK_NB) != 0; waited += RETRY_MS) {
        if (errno != EWOULDBLOCK || waited >= waitMs) return false;
        usleep(RETRY_MS * 1000);
    }
    return true;
}

}  // namespace

std::string keptFolder(const char* xdgHome, const char* home, const char* passwordHome,
                       const char* fallback) {
    if (xdgHome != nullptr && xdgHome[0] == '/') return std::string(xdgHome) + "/kostrel";
    const char* homeFolder = home != nullptr && home[0] != '\0' ? home : passwordHome;
    if (homeFolder == nullptr || homeFolder[0] == '\0') return std::string();
    return std::string(homeFolder) + "/" + fallback + "/kostrel";
}

namespace {

std::string folderForUser(const char* variable, const char* fallback) {
    const char* home = std::getenv("HOME");
    const struct passwd* entry = home == nullptr || home[0] == '\0' ? getpwuid(getuid()) : nullptr;
    return keptFolder(std::getenv(variable), home, entry ? entry->pw_dir : nullptr, fallback);
}

}  // namespace

std::string dataFolderForUser() { return folderForUser("XDG_DATA_HOME", ".local/share"); }
std::string stateFolderForUser() { return folderForUser("XDG_STATE_HOME", ".local/state"); }

KeptRead readKeptFile(const std::string& path, size_t limit, std::string& content) {
    content.clear();
    if (path.empty()) return KeptRead::Missing;
    int descriptor = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // Only a file that is not there means nothing kept: any other failure may hide something.
    if (descriptor < 0) return errno == ENOENT ? KeptRead::Missing : KeptRead::Unreadable;
    struct stat status;
    bool readable = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    char buffer[65536];
    for (ssize_t count = 1; readable && count > 0 && content.size() <= limit;) {
        count = read(descriptor, buffer, sizeof buffer);
        readable = count >= 0;
        if (count > 0) content.append(buffer, static_cast<size_t>(count));
    }
    close(descriptor);
    if (!readable) return KeptRead::Unreadable;
    return content.size() <= limit ? KeptRead::Found : KeptRead::TooLarge;
}

int lockKeptFile(const std::string& path, int waitMs) {
    if (path.empty() || path[0] != '/' || path.back() == '/') return -1;
    std::error_code error;
    mode_t keptMask = umask(077);  // missing folders for the user alone
    std::filesystem::create_directories(folderOf(path), error);
    umask(keptMask);
    int lock = error ? -1 : open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0 || lockWithin(lock, waitMs)) return lock;
    close(lock);
    return -1;
}

void unlockKeptFile(int lock) { close(lock); }  // and with it the lock

bool replaceKeptFile(const std::string& path, const std::string& content) {
    removeLeftoverTemporaries(path);
    std::string temporary = path + TEMPORARY_PATTERN;
    int descriptor = mkstemp(&temporary[0]);  // mode 0600
    if (descriptor < 0) return false;
    bool written = write(descriptor, content.data(), content.size()) == ssize_t(content.size()) &&
                   fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    if (written && rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

bool writeKeptFile(const std::string& path, const std::string& content) {
    int lock = lockKeptFile(path);
    if (lock < 0) return false;
    bool written = replaceKeptFile(path, content);
    unlockKeptFile(lock);
    return written;
}

std::string keptPath(const std::string& folder, const std::string& name) {
    return folder.empty() ? std::string() : folder + "/" + name;
}
