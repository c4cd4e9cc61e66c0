// Reading is strict, so a damaged or foreign file never counts as a record; writing goes
// through rename(2), which replaces the old file in one step.
#include "tui/best_result_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tui/utf8_text.h"

namespace {

constexpr size_t NAME_LIMIT = 1023;
constexpr const char* SCORE_CEILING = "2147483647";

bool parseScore(const std::string& digits, int32_t& score) {
    if (digits.empty() || digits.size() > std::strlen(SCORE_CEILING)) return false;
    for (char digit : digits)
        if (digit < '0' || digit > '9') return false;
    if (digits.size() > 1 && digits[0] == '0') return false;
    // Same length: the decimal strings compare like the numbers.
    if (digits.size() == std::strlen(SCORE_CEILING) && digits > SCORE_CEILING) return false;
    score = static_cast<int32_t>(std::strtol(digits.c_str(), nullptr, 10));
    return true;
}

bool validName(const std::string& name) {
    return !name.empty() && name.size() <= NAME_LIMIT && isPrintableUtf8(name);
}

// Creates each missing folder of the path with mode 0700.
bool makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string prefix = folder.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat status;
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool writeAll(int descriptor, const std::string& data) {
    size_t written = 0;
    while (written < data.size()) {
        ssize_t count = write(descriptor, data.data() + written, data.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<size_t>(count);
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced is no failure of the
// write, which has already happened.
void syncFolder(const std::string& folder) {
    int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
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
    const char* passwordHome = nullptr;
    if (home == nullptr || home[0] == '\0') {
        const struct passwd* entry = getpwuid(getuid());
        if (entry != nullptr) passwordHome = entry->pw_dir;
    }
    return bestResultPath(std::getenv("XDG_DATA_HOME"), home, passwordHome);
}

bool parseBestResult(const std::string& content, BestResult& result) {
    size_t firstEnd = content.find('\n');
    if (firstEnd == std::string::npos) return false;
    size_t secondEnd = content.find('\n', firstEnd + 1);
    if (secondEnd == std::string::npos || secondEnd + 1 != content.size()) return false;
    BestResult parsed;
    if (!parseScore(content.substr(0, firstEnd), parsed.score)) return false;
    parsed.name = content.substr(firstEnd + 1, secondEnd - firstEnd - 1);
    if (!validName(parsed.name)) return false;
    result = parsed;
    return true;
}

std::string formatBestResult(const BestResult& result) {
    return std::to_string(result.score) + "\n" + result.name + "\n";
}

bool readBestResultFile(const std::string& path, BestResult& result) {
    if (path.empty()) return false;
    int descriptor = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) return false;
    struct stat status;
    std::string content;
    bool readable = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
                    status.st_size <= BEST_RESULT_FILE_LIMIT;
    // The size is checked again while reading, for a file that grows meanwhile.
    char buffer[BEST_RESULT_FILE_LIMIT + 1];
    while (readable) {
        ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            readable = count == 0;
            break;
        }
        content.append(buffer, static_cast<size_t>(count));
        readable = content.size() <= static_cast<size_t>(BEST_RESULT_FILE_LIMIT);
    }
    close(descriptor);
    return readable && parseBestResult(content, result);
}

bool writeBestResultFile(const std::string& path, const BestResult& result) {
    if (result.score < 0 || !validName(result.name)) return false;
    size_t slash = path.rfind('/');
    if (path.empty() || path[0] != '/' || slash == std::string::npos) return false;
    std::string folder = path.substr(0, slash == 0 ? 1 : slash);
    if (!makeFolders(folder)) return false;

    std::string temporary = path + ".XXXXXX";
    int descriptor = mkstemp(&temporary[0]);  // mode 0600
    if (descriptor < 0) return false;
    bool written = writeAll(descriptor, formatBestResult(result)) && fsync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    if (written && rename(temporary.c_str(), path.c_str()) == 0) {
        syncFolder(folder);
        return true;
    }
    unlink(temporary.c_str());
    return false;
}
