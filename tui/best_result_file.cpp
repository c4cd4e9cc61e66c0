// Reading is strict, so a damaged or foreign file never counts as a record; a save looks at
// the stored score again under the lock, just before its rename.
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
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <filesystem>

namespace {

// General category Cf of Unicode 15.0 (DerivedGeneralCategory.txt), first and last of
// each run.
constexpr wchar_t FORMAT_CHARACTERS[][2] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};
constexpr char TEMPORARY_SUFFIX[] = ".XXXXXX";  // mkstemp's pattern
constexpr size_t FILE_LIMIT = 4096;             // a larger file is not a best-result file

bool validName(const std::string& name) {
    bool valid = false;
    std::wstring wide = wideText(name, &valid);
    return valid && !name.empty() && name.size() <= NAME_BYTE_LIMIT &&
           name.find('\0') == std::string::npos &&
           std::all_of(wide.begin(), wide.end(), nameCharacterAllowed);
}

// Decimal digits without sign or leading zeros, at most INT32_MAX.
bool parseScore(const std::string& digits, int32_t& score) {
    if (digits[0] == '-' || (digits[0] == '0' && digits.size() > 1)) return false;
    const char* end = digits.data() + digits.size();
    std::from_chars_result read = std::from_chars(digits.data(), end, score);
    return read.ec == std::errc() && read.ptr == end;
}

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
bool lockWithin(int lock) {
    constexpr int RETRY_MS = 20;
    for (int waited = 0; flock(lock, LOCK_EX | LOCK_NB) != 0; waited += RETRY_MS) {
        if (errno != EWOULDBLOCK || waited >= LOCK_WAIT_MS) return false;
        usleep(RETRY_MS * 1000);
    }
    return true;
}

SaveOutcome saveLocked(const std::string& path, const std::string& folder, const BestResult& result,
                       BestResult* stored) {
    removeLeftoverTemporaries(folder, path.substr(path.rfind('/') + 1));
    BestResult found;
    StoredResult state = readBestResultFile(path, found);
    if (state == StoredResult::Unreadable) return SaveOutcome::Failed;
    if (state == StoredResult::Found && found.score >= result.score) {
        if (stored != nullptr) *stored = found;
        return SaveOutcome::Beaten;
    }
    return replaceFile(path, result) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

}  // namespace

bool nameCharacterAllowed(wchar_t character) {
    if (!iswprint(static_cast<wint_t>(character))) return false;
    return std::none_of(
        std::begin(FORMAT_CHARACTERS), std::end(FORMAT_CHARACTERS),
        [&](const wchar_t* run) { return character >= run[0] && character <= run[1]; });
}

std::wstring wideText(const std::string& text, bool* valid) {
    std::wstring wide(text.size(), L'\0');
    size_t length = std::mbstowcs(&wide[0], text.c_str(), wide.size());
    if (valid != nullptr) *valid = length != static_cast<size_t>(-1);
    wide.resize(length == static_cast<size_t>(-1) ? 0 : length);
    return wide;
}

std::string utf8Text(const std::wstring& wide) {
    std::string text(wide.size() * MB_LEN_MAX, '\0');
    size_t length = std::wcstombs(&text[0], wide.c_str(), text.size());
    text.resize(length == static_cast<size_t>(-1) ? 0 : length);
    return text;
}

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

bool parseBestResult(const std::string& content, BestResult& result) {
    size_t firstEnd = content.find('\n');
    size_t secondEnd = content.find('\n', firstEnd + 1);
    BestResult parsed;
    if (firstEnd == std::string::npos || secondEnd == std::string::npos ||
        secondEnd + 1 != content.size() || !parseScore(content.substr(0, firstEnd), parsed.score))
        return false;
    parsed.name = content.substr(firstEnd + 1, secondEnd - firstEnd - 1);
    if (!validName(parsed.name)) return false;
    result = parsed;
    return true;
}

std::string formatBestResult(const BestResult& result) {
    return std::to_string(result.score) + "\n" + result.name + "\n";
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

SaveOutcome saveBestResult(const std::string& path, const BestResult& result, BestResult* stored) {
    size_t slash = path.rfind('/');
    if (result.score < 0 || !validName(result.name) || path.empty() || path[0] != '/' ||
        slash + 1 == path.size())
        return SaveOutcome::Failed;
    std::string folder = path.substr(0, slash == 0 ? 1 : slash);
    std::error_code error;
    mode_t keptMask = umask(077);  // missing folders for the user alone
    std::filesystem::create_directories(folder, error);
    umask(keptMask);
    int lock = error ? -1 : open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) return SaveOutcome::Failed;
    SaveOutcome outcome =
        lockWithin(lock) ? saveLocked(path, folder, result, stored) : SaveOutcome::Failed;
    close(lock);  // and with it the lock
    return outcome;
}
