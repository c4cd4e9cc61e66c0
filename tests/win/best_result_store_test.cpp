// The best-result store and its dialogs under Wine, against a throwaway HKEY_CURRENT_USER:
// missing, mistyped and oversized values, the new-record dialog's focus, OK and Cancel, a
// record beaten while the dialog was open or that cannot be saved, and the Czech texts under
// the code page the locale gives.
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "win/best_result_store.h"
#include "win/new_record_dialog.h"
#include "win_test_support.h"

namespace {

HWND owner = nullptr;

std::string dword(uint32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }
std::string sz(const std::string& text) { return text + '\0'; }

// The type and raw bytes of a value under the store's key; REG_NONE when it is missing
// (and storing REG_NONE stores nothing).
struct StoredValue {
    DWORD type;
    std::string bytes;
};

StoredValue storedValue(const char* name) {
    StoredValue value = {REG_NONE, std::string(8192, '\0')};
    DWORD size = static_cast<DWORD>(value.bytes.size());
    if (RegGetValueA(HKEY_CURRENT_USER, BEST_RESULT_KEY, name, RRF_RT_ANY | RRF_NOEXPAND,
                     &value.type, &value.bytes[0], &size) != ERROR_SUCCESS)
        return {REG_NONE, ""};
    value.bytes.resize(size);
    return value;
}

void storeValue(const char* name, DWORD type, const std::string& bytes) {
    if (type != REG_NONE)
        RegSetKeyValueA(HKEY_CURRENT_USER, BEST_RESULT_KEY, name, type, bytes.data(),
                        static_cast<DWORD>(bytes.size()));
}

std::wstring shownBestResult() {
    shownCaption = shownText = L"";
    whenModalOpens(readBoxAndPressOk);
    showBestResult(owner);
    CHECK(disarmModal());
    CHECK_EQ(L"Rekord", shownCaption);
    return shownText;
}

// What was stored (REG_NONE: nothing), what the end-of-game check takes as the best score,
// and what Best results shows.
void onlyWellFormedValuesAreTaken() {
    const std::wstring unreadable =
        L"Nepodařilo se mi přečíst rekord z registru, zřejmě ještě žádný nebyl zapsán";
    const struct {
        DWORD recordType;
        std::string record;
        DWORD championType;
        std::string champion;
        uint32_t bestScore;
        std::wstring shown;
    } cases[] = {
        {REG_NONE, "", REG_NONE, "", 0, unreadable},
        {REG_SZ, sz("12"), REG_SZ, sz("Eva"), 0, unreadable},
        {REG_BINARY, dword(9), REG_SZ, sz("Eva"), 0, unreadable},
        {REG_DWORD, dword(9).substr(0, 2), REG_SZ, sz("Eva"), 0, unreadable},
        {REG_DWORD, dword(7), REG_NONE, "", 7, unreadable},
        {REG_DWORD, dword(7), REG_BINARY, sz("Eva"), 7, unreadable},
        {REG_DWORD, dword(0xFFFFFFFF), REG_SZ, sz("Eva"), 0xFFFFFFFF,
         L"Nelepšího skore -1 dosáhl Eva."},
        // Names too long for the 1024-byte buffer, with or without their terminator.
        {REG_DWORD, dword(3), REG_SZ, sz(std::string(5000, 'x')), 3, unreadable},
        {REG_DWORD, dword(3), REG_SZ, std::string(1024, 'y'), 3, unreadable},
        {REG_DWORD, dword(3), REG_SZ, sz(std::string(1023, 'z')), 3,
         L"Nelepšího skore 3 dosáhl " + std::wstring(1023, L'z') + L"."},
        {REG_DWORD, dword(3), REG_SZ, "Pavel", 3, L"Nelepšího skore 3 dosáhl Pavel."},
    };
    for (const auto& c : cases) {
        useThrowawayCurrentUser();
        storeValue("Record", c.recordType, c.record);
        storeValue("Champion", c.championType, c.champion);
        CHECK_EQ(c.bestScore, readBestScore());
        CHECK_EQ(c.shown, shownBestResult());
    }
}

// The Czech name as the system's ANSI code page stores it: 1250 has every letter, 1252
// has no ř and takes the nearest letter, r.
std::string jiriInAnsi() { return GetACP() == 1250 ? "Ji\xF8\xED" : "Jir\xED"; }
std::wstring jiriReadBack() { return GetACP() == 1250 ? L"Jiří" : L"Jirí"; }

// What the dialog procedure answered to WM_INITDIALOG, and the focus right after it.
LRESULT initAnswer = -1;
HWND focusAfterInit = nullptr;

LRESULT CALLBACK noteInitDialog(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        initAnswer = call->lResult;
        focusAfterInit = GetFocus();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The new-record dialog, answered from a timer inside its own modal loop.
const wchar_t* nameToType = L"";
int buttonToPress = IDOK;

void answerDialog(HWND dialog) {
    // A name typed at once goes into its box: the focus is there, and FALSE keeps the dialog
    // manager from moving it to OK (where Windows and Wine differ on activation).
    CHECK_EQ(FALSE, initAnswer);
    CHECK(focusAfterInit == GetDlgItem(dialog, IDC_RECORD_NAME));
    shownCaption = windowText(dialog);
    shownText = windowText(GetDlgItem(dialog, IDC_RECORD_PROMPT));
    SetDlgItemTextW(dialog, IDC_RECORD_NAME, nameToType);
    pressButton(dialog, buttonToPress);
}

// Whether the dialog opened (and was answered); answer may go on to read a message box.
bool dialogOpened(uint32_t score, const wchar_t* name, int button,
                  void (*answer)(HWND) = answerDialog) {
    nameToType = name;
    buttonToPress = button;
    initAnswer = -1;
    whenModalOpens(answer);
    checkNewRecord(owner, score);
    return disarmModal();
}

void okWritesTheNameAndTheScoreAndCancelNothing() {
    useThrowawayCurrentUser();
    CHECK(!dialogOpened(0, L"nikdo", IDOK));  // a score of 0 beats nothing
    CHECK(dialogOpened(1, L"Eva", IDCANCEL));
    CHECK_EQ(REG_NONE, storedValue("Record").type);
    CHECK_EQ(REG_NONE, storedValue("Champion").type);
    CHECK(dialogOpened(1, L"Eva", IDCANCEL));  // so the same score asks again

    CHECK(dialogOpened(12, L"Jiří", IDOK));
    CHECK_EQ(L"Nejlepší score", shownCaption);
    CHECK_EQ(L"Vaše skore 12 je nový rekord, zadejte prosím své jméno", shownText);
    CHECK_EQ(dword(12), storedValue("Record").bytes);
    CHECK_EQ(sz(jiriInAnsi()), storedValue("Champion").bytes);
    CHECK_EQ(L"Nelepšího skore 12 dosáhl " + jiriReadBack() + L".", shownBestResult());
    // A tie is no record; one point more is. Only 1023 characters of a name are taken.
    CHECK(!dialogOpened(12, L"Eva", IDOK));
    CHECK(dialogOpened(13, L"", IDOK));
    CHECK_EQ(L"Nelepšího skore 13 dosáhl .", shownBestResult());
    CHECK(dialogOpened(14, std::wstring(2000, L'n').c_str(), IDOK));
    CHECK_EQ(sz(std::string(1023, 'n')), storedValue("Champion").bytes);
    // Above 2^31 the prompt shows the signed number, as the record text does.
    CHECK(dialogOpened(0x80000000u, L"Max", IDOK));
    CHECK_EQ(L"Vaše skore -2147483648 je nový rekord, zadejte prosím své jméno", shownText);
    CHECK_EQ(dword(0x80000000u), storedValue("Record").bytes);
    // The highest record is never beaten, however the scores compare as signed numbers.
    CHECK(dialogOpened(0xFFFFFFFF, L"Max", IDOK));
    CHECK(!dialogOpened(0xFFFFFFFF, L"Eva", IDOK));
    CHECK(!dialogOpened(0x7FFFFFFF, L"Eva", IDOK));
}

// What another copy of the game stores while the dialog is open, before OK is pressed.
uint32_t storedMeanwhile = 0;

void storeMeanwhileThenAnswer(HWND dialog) {
    storeValue("Record", REG_DWORD, dword(storedMeanwhile));
    storeValue("Champion", REG_SZ, sz("Eva"));
    answerDialog(dialog);
    whenModalOpens(readBoxAndPressOk);  // a box that OK opens from within the dialog
}

// OK writes only what is still a record when it is pressed; else, and when the store cannot
// be written (its key cannot be created under a volatile parent), the player is told.
void aRecordNotWrittenIsToldToThePlayer() {
    const std::wstring beaten =
        L"Mezitím byl uložen stejný nebo vyšší rekord, váš výsledek se proto neuložil.";
    const struct {
        bool unwritable;
        uint32_t meanwhile;
        std::wstring told;
        std::string record, champion;  // stored afterwards
    } cases[] = {{false, 5, beaten, dword(5), sz("Eva")},
                 {false, 4, beaten, dword(4), sz("Eva")},
                 {false, 3, L"", dword(4), sz("Jan")},
                 {true, 3, L"Nepodařilo se mi zapsat rekord do registru.", "", ""}};
    for (const auto& c : cases) {
        useThrowawayCurrentUser();
        HKEY software;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, nullptr,
                        c.unwritable ? REG_OPTION_VOLATILE : 0, KEY_ALL_ACCESS, nullptr, &software,
                        nullptr);
        RegCloseKey(software);
        storedMeanwhile = c.meanwhile;
        CHECK_EQ(!c.told.empty(), dialogOpened(4, L"Jan", IDOK, storeMeanwhileThenAnswer));
        if (!c.told.empty()) CHECK_EQ(L"Rekord: " + c.told, shownCaption + L": " + shownText);
        CHECK_EQ(c.record, storedValue("Record").bytes);
        CHECK_EQ(c.champion, storedValue("Champion").bytes);
    }
}

}  // namespace

int main() {
    std::printf("ANSI code page %u\n", GetACP());
    owner = createHostWindow(400, 300);
    SetWindowsHookExW(WH_CALLWNDPROCRET, noteInitDialog, nullptr, GetCurrentThreadId());
    RUN_TEST(onlyWellFormedValuesAreTaken);
    RUN_TEST(okWritesTheNameAndTheScoreAndCancelNothing);
    RUN_TEST(aRecordNotWrittenIsToldToThePlayer);
    return check::summary("best_result_store_test");
}
