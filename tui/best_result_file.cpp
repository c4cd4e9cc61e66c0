// The file's reading and writing; its form is the library's. A save looks at the stored
// score again under the lock, just before its rename.
#include "tui/best_result_file.h"

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

constexpr char TEMPORARY_SUFFIX[] = ".XXXXXX";  // mkstemp's pattern
constexpr size_t FILE_LIMIT = 4096;             // a larger file is not a best-result file

void removeLeftoverTemporaries(const std::string& folder, const std::string& base) {
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr) return;
    while (const dirent* entry = readdir(entries)) {
        std::string name = entry->d_name;
        if (name.size() == base.size() + sizeof TEMPORARY_SUFFIX - 1 &&
            name.compare(0, base.size() + 1, base + ".") == 0 &&
            std::all_of(name.end() - 6, name.end(),
                        [](unsigned char letter) { return std::isalnum(letter) != 0; }))
            unlinkat(dirfd(entries), entry->d_name, 0);
    }
    closedir(entries);
}

bool replaceFile(const std::string& path, const BestResult& result) {
    std::string temporary = path + TEMPORARY_SUFFIX;
    int descriptor = mkstemp(&temporary[0]);  // mode 0600
    if (descriptor < 0) return false;
    std::string content = formatBestResult(result);
    bool written = write(descriptor, content.data(), content.size()) == ssize_t(content.size()) &&
                   fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    if (written && rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

// A save holds the lock for a few writes; a copy stopped in the middle of one (Ctrl+Z, a
// debugger) must not hang this game, so after a while the save counts as failed and the
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

SaveOutcome saveLocked(const std::string& path, const std::string& folder, const BestResult& result,
                       BestResult* stored) {
    removeLeftoverTemporaries(folder, path.substr(path.rfind('/') + 1));
    BestResult found;
    SaveOutcome outcome = saveOutcome(result, readBestResultFile(path, found), found);
    if (outcome == SaveOutcome::Beaten && stored != nullptr) *stored = found;
    if (outcome != SaveOutcome::Saved) return outcome;
    return replaceFile(path, result) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

}  // namespace

std::string bestResultPath(const char* xdgDataHome, const char* home, const char* passwordHome) {
    const char* tail = "/kostrel/best-result";
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::string(xdgDataHome) + tail;
    const char* homeFolder = home != nullptr && home[0] != '\0' ? home : passwordHome;
    if (homeFolder == nullptr || homeFolder[0] == '\0') return std::string();
    return std::string(homeFolder) + "/.local/share" + tail;
}

std::string bestResultPathForUser() {
    const char* home = std::getenv("HOME");
    const struct passwd* entry = home == nullptr || home[0] == '\0' ? getpwuid(getuid()) : nullptr;
    return bestResultPath(std::getenv("XDG_DATA_HOME"), home, entry ? entry->pw_dir : nullptr);
}

StoredResult readBestResultFile(const std::string& path, BestResult& result) {
    if (path.empty()) return StoredResult::None;
    int descriptor = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // Only a file that is not there means no record: any other failure may hide one.
    if (descriptor < 0) return errno == ENOENT ? StoredResult::None : StoredResult::Unreadable;
    struct stat status;
    bool readable = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    std::string content;
    char buffer[FILE_LIMIT + 1];  // a byte past the limit tells a file too large
    for (ssize_t count = 1; readable && count > 0 && content.size() <= FILE_LIMIT;) {
        count = read(descriptor, buffer, sizeof buffer);
        readable = count >= 0;
        if (count > 0) content.append(buffer, static_cast<size_t>(count));
    }
    close(descriptor);
    if (!readable) return StoredResult::Unreadable;
    bool parsed = content.size() <= FILE_LIMIT && parseBestResult(content, result);
    return parsed ? StoredResult::Found : StoredResult::None;
}

SaveOutcome saveBestResult(const std::string& path, const BestResult& result, BestResult* stored,
                           int lockWaitMs) {
    size_t slash = path.rfind('/');
    // A result without the stored form is refused before anything is touched.
    bool storable = saveOutcome(result, StoredResult::None, BestResult{}) == SaveOutcome::Saved;
    if (!storable || path.empty() || path[0] != '/' || slash + 1 == path.size())
        return SaveOutcome::Failed;
    std::string folder = path.substr(0, slash == 0 ? 1 : slash);
    std::error_code error;
    mode_t keptMask = umask(077);  // missing folders for the user alone
    std::filesystem::create_directories(folder, error);
    umask(keptMask);
    int lock = error ? -1 : open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) return SaveOutcome::Failed;
    SaveOutcome outcome = lockWithin(lock, lockWaitMs) ? saveLocked(path, folder, result, stored)
                                                       : SaveOutcome::Failed;
    close(lock);  // and with it the lock
    return outcome;
}
