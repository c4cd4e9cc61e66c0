// The best-result store in the registry and the message box that shows it.
#include "win/best_result_store.h"

#include <cstring>
#include <cwchar>

#include "win/ansi_text.h"
#include "win/czech_texts.h"

namespace {

// Created when absent, so even a reading leaves the empty key behind.
bool openStoreKey(HKEY& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, BEST_RESULT_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                           nullptr, &key, nullptr) == ERROR_SUCCESS;
}

bool queryRecord(HKEY key, uint32_t& record) {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG status =
        RegQueryValueExA(key, "Record", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return false;
    record = value;
    return true;
}

// Never trusts the stored length: one spare zero byte past the queried size terminates a
// name stored without its own terminator.
bool queryChampion(HKEY key, wchar_t* champion, int championChars) {
    char name[CHAMPION_BYTES + 1] = {};
    DWORD type = REG_NONE;
    DWORD size = CHAMPION_BYTES;
    LONG status =
        RegQueryValueExA(key, "Champion", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    if (status != ERROR_SUCCESS || type != REG_SZ) return false;
    if (std::strlen(name) >= static_cast<size_t>(CHAMPION_BYTES)) return false;
    fromAnsiText(name, champion, championChars);
    return true;
}

bool writeValues(HKEY key, const wchar_t* champion, uint32_t score) {
    char name[CHAMPION_BYTES];
    int length = toAnsiText(champion, name, sizeof name);
    DWORD record = score;
    bool written = RegSetValueExA(key, "Champion", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                                  static_cast<DWORD>(length + 1)) == ERROR_SUCCESS;
    return RegSetValueExA(key, "Record", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&record),
                          sizeof record) == ERROR_SUCCESS &&
           written;
}

struct BestResult {
    uint32_t record;
    wchar_t champion[CHAMPION_BYTES];
};

bool readBestResult(BestResult& result) {
    HKEY key;
    if (!openStoreKey(key)) return false;
    bool readable =
        queryChampion(key, result.champion, CHAMPION_BYTES) && queryRecord(key, result.record);
    RegCloseKey(key);
    return readable;
}

}  // namespace

uint32_t readBestScore() {
    HKEY key;
    if (!openStoreKey(key)) return 0;
    uint32_t record = 0;  // unless stored as a 4-byte REG_DWORD
    queryRecord(key, record);
    RegCloseKey(key);
    return record;
}

RecordWrite writeNewRecord(const wchar_t* champion, uint32_t score) {
    HKEY key;
    if (!openStoreKey(key)) return RecordWrite::failed;
    uint32_t stored = 0;  // read as the end-of-game check reads it
    queryRecord(key, stored);
    RecordWrite result = RecordWrite::beatenMeanwhile;
    if (score > stored)
        result = writeValues(key, champion, score) ? RecordWrite::written : RecordWrite::failed;
    RegCloseKey(key);
    return result;
}

void showBestResult(HWND owner) {
    BestResult stored;
    // The longest text: 25 fixed characters, an 11-character number, 1023 of name, zero.
    wchar_t text[1100];
    const wchar_t* shown = TEXT_BEST_RESULT_UNREADABLE;
    if (readBestResult(stored)) {
        std::swprintf(text, sizeof text / sizeof text[0], TEXT_BEST_RESULT,
                      static_cast<int>(static_cast<int32_t>(stored.record)), stored.champion);
        shown = text;
    }
    MessageBoxW(owner, shown, TEXT_RECORD_CAPTION, MB_ICONINFORMATION);
}
