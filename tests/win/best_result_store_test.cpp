// The best-result store and its dialogs under Wine, against a throwaway HKEY_CURRENT_USER:
// missing and mistyped values, extreme records, oversized and unterminated names, the
// new-record dialog's OK and Cancel, a record that cannot be saved, and the Czech texts
// under the code page the locale gives.
#include <windows.h>

#include <cstring>
#include <string>

#include "check.h"
#include "res/resource.h"
#include "win/best_result_store.h"
#include "win/czech_texts.h"
#include "win/new_record_dialog.h"
#include "win_test_support.h"

namespace {

HWND owner = nullptr;

uint32_t storedRecord() {
    StoredValue value = storedValue("Record");
    if (!value.present || value.type != REG_DWORD || value.bytes.size() != 4) return 0xDEADBEEF;
    uint32_t record;
    std::memcpy(&record, value.bytes.data(), 4);
    return record;
}

void storeRecord(uint32_t record) { storeValue("Record", REG_DWORD, &record, sizeof record); }

void storeChampion(const std::string& name) {
    storeValue("Champion", REG_SZ, name.c_str(), static_cast<DWORD>(name.size() + 1));
}

// The message box that showBestResult opens, read and closed.
std::wstring boxCaption;
std::wstring boxText;

void readBoxAndPressOk(HWND box) {
    boxCaption = windowText(box);
    boxText = messageBoxText(box);
    pressButton(box, IDOK);
}

std::wstring shownBestResult() {
    boxCaption.clear();
    boxText.clear();
    whenModalOpens(readBoxAndPressOk);
    showBestResult(owner);
    CHECK(modalActionRan());
    disarmModal();
    CHECK_EQ(L"Rekord", boxCaption);
    return boxText;
}

const std::wstring UNREADABLE = TEXT_BEST_RESULT_UNREADABLE;

void withNoKeyNothingIsStoredAndTheKeyIsCreated() {
    useThrowawayCurrentUser();
    CHECK(!storeKeyExists());
    CHECK_EQ(0u, readBestScore());
    CHECK(storeKeyExists());
    BestResult result;
    CHECK(!readBestResult(result));
    CHECK_EQ(L"Nepodařilo se mi přečíst rekord z registru, zřejmě ještě žádný nebyl zapsán",
             shownBestResult());
}

void valuesOfTheWrongTypeOrSizeAreNotTaken() {
    useThrowawayCurrentUser();
    storeValue("Record", REG_SZ, "12", 3);
    storeChampion("Eva");
    CHECK_EQ(0u, readBestScore());
    CHECK_EQ(UNREADABLE, shownBestResult());

    const uint8_t fourBytes[4] = {9, 0, 0, 0};
    storeValue("Record", REG_BINARY, fourBytes, 4);
    CHECK_EQ(0u, readBestScore());
    storeValue("Record", REG_DWORD, fourBytes, 2);  // a DWORD of two bytes
    CHECK_EQ(0u, readBestScore());

    storeRecord(7);
    storeValue("Champion", REG_BINARY, "Eva", 4);
    CHECK_EQ(7u, readBestScore());
    CHECK_EQ(UNREADABLE, shownBestResult());
}

void aMissingChampionStillLeavesTheRecordForTheCheck() {
    useThrowawayCurrentUser();
    storeRecord(7);
    CHECK_EQ(7u, readBestScore());
    CHECK_EQ(UNREADABLE, shownBestResult());
}

void theHighestRecordIsNeverBeatenAndShowsAsMinusOne() {
    useThrowawayCurrentUser();
    storeRecord(0xFFFFFFFF);
    storeChampion("Eva");
    CHECK_EQ(0xFFFFFFFFu, readBestScore());
    whenModalOpens(readBoxAndPressOk);
    checkNewRecord(owner, 0xFFFFFFFF);
    checkNewRecord(owner, 0x7FFFFFFF);
    CHECK(!modalActionRan());
    disarmModal();
    CHECK_EQ(L"Nelepšího skore -1 dosáhl Eva.", shownBestResult());
}

void namesThatDoNotFitStayWithinTheBuffer() {
    useThrowawayCurrentUser();
    storeRecord(3);
    // 5000 characters: too long for the 1024-byte buffer, taken as unreadable.
    storeChampion(std::string(5000, 'x'));
    CHECK_EQ(UNREADABLE, shownBestResult());
    // 1024 bytes without a terminator: the name and its zero would not fit either.
    storeValue("Champion", REG_SZ, std::string(1024, 'y').data(), 1024);
    BestResult result;
    CHECK(!readBestResult(result));
    // The longest name that fits, 1023 characters, is shown whole.
    storeChampion(std::string(1023, 'z'));
    std::wstring shown = shownBestResult();
    CHECK_EQ(L"Nelepšího skore 3 dosáhl " + std::wstring(1023, L'z') + L".", shown);
    // A name stored without its terminator is taken as it was stored.
    storeValue("Champion", REG_SZ, "Pavel", 5);
    CHECK(readBestResult(result));
    CHECK_EQ(L"Pavel", std::wstring(result.champion));
}

// The Czech name as the system's ANSI code page stores it: 1250 has every letter, 1252
// has no ř and takes the nearest letter, r.
std::string jiriInAnsi() { return GetACP() == 1250 ? "Ji\xF8\xED" : "Jir\xED"; }
std::wstring jiriReadBack() { return GetACP() == 1250 ? L"Jiří" : L"Jirí"; }

void writingStoresTheNameInTheAnsiCodePageThenTheRecord() {
    useThrowawayCurrentUser();
    CHECK(writeBestResult(L"Jiří", 9));
    StoredValue champion = storedValue("Champion");
    CHECK_EQ(REG_SZ, champion.type);
    std::string expected = jiriInAnsi();
    CHECK_EQ(expected.size() + 1, champion.bytes.size());
    CHECK_EQ(expected, std::string(champion.bytes.begin(), champion.bytes.end()).c_str());
    CHECK_EQ(9u, storedRecord());
    BestResult result;
    CHECK(readBestResult(result));
    CHECK_EQ(jiriReadBack(), std::wstring(result.champion));
    CHECK_EQ(L"Nelepšího skore 9 dosáhl " + jiriReadBack() + L".", shownBestResult());

    // An empty name is the terminator alone; a long one keeps its first 1023 characters.
    CHECK(writeBestResult(L"", 10));
    CHECK_EQ(1u, storedValue("Champion").bytes.size());
    CHECK_EQ(L"Nelepšího skore 10 dosáhl .", shownBestResult());
    CHECK(writeBestResult(std::wstring(3000, L'w').c_str(), 11));
    CHECK_EQ(1024u, storedValue("Champion").bytes.size());
    CHECK(readBestResult(result));
    CHECK_EQ(std::wstring(1023, L'w'), std::wstring(result.champion));
}

// The new-record dialog, driven from a timer inside its own modal loop.
std::wstring dialogCaption;
std::wstring dialogPrompt;
const wchar_t* nameToType = L"";
int buttonToPress = IDOK;

// The template's four controls in tab order, with their classes, texts and styles.
void checkDialogLayout(HWND dialog) {
    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        DWORD style;
    };
    const Control controls[] = {{IDOK, L"Button", L"OK", 0x50010001},
                                {IDCANCEL, L"Button", L"Cancel", 0x50010000},
                                {IDC_RECORD_NAME, L"Edit", L"", 0x50810080},
                                {IDC_RECORD_PROMPT, L"Static", nullptr, 0x50020000}};
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Control& control : controls) {
        CHECK(child != nullptr);
        if (child == nullptr) return;
        CHECK_EQ(control.id, GetDlgCtrlID(child));
        CHECK_EQ(control.className, className(child));
        if (control.text != nullptr) CHECK_EQ(control.text, windowText(child));
        DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        // An edit control trades its WS_BORDER for the sunken WS_EX_CLIENTEDGE.
        if ((GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) style |= WS_BORDER;
        CHECK_EQ(control.style, style);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    CHECK(child == nullptr);
    CHECK(GetFocus() == GetDlgItem(dialog, IDOK));
    // 304 x 54 dialog units, placed at the owner's client origin.
    RECT units = {0, 0, 304, 54};
    MapDialogRect(dialog, &units);
    RECT client;
    GetClientRect(dialog, &client);
    CHECK_EQ(units.right, client.right);
    CHECK_EQ(units.bottom, client.bottom);
    POINT origin = {0, 0};
    ClientToScreen(owner, &origin);
    RECT outer;
    GetWindowRect(dialog, &outer);
    CHECK_EQ(origin.x, outer.left);
    CHECK_EQ(origin.y, outer.top);
}

void answerDialog(HWND dialog) {
    checkDialogLayout(dialog);
    dialogCaption = windowText(dialog);
    wchar_t prompt[256] = {};
    GetDlgItemTextW(dialog, IDC_RECORD_PROMPT, prompt, 256);
    dialogPrompt = prompt;
    SetDlgItemTextW(dialog, IDC_RECORD_NAME, nameToType);
    pressButton(dialog, buttonToPress);
}

bool dialogOpened(uint32_t score, const wchar_t* name, int button) {
    nameToType = name;
    buttonToPress = button;
    dialogCaption.clear();
    dialogPrompt.clear();
    whenModalOpens(answerDialog);
    checkNewRecord(owner, score);
    bool opened = modalActionRan();
    disarmModal();
    return opened;
}

void okWritesTheNameAndTheScore() {
    useThrowawayCurrentUser();
    CHECK(!dialogOpened(0, L"nikdo", IDOK));  // a score of 0 beats nothing
    CHECK(dialogOpened(12, L"Jiří", IDOK));
    CHECK_EQ(L"Nejlepší score", dialogCaption);
    CHECK_EQ(L"Vaše skore 12 je nový rekord, zadejte prosím své jméno", dialogPrompt);
    CHECK_EQ(12u, storedRecord());
    StoredValue champion = storedValue("Champion");
    CHECK_EQ(jiriInAnsi(), std::string(champion.bytes.begin(), champion.bytes.end()).c_str());

    // A tie is no record; one point more is.
    CHECK(!dialogOpened(12, L"Eva", IDOK));
    CHECK(dialogOpened(13, L"", IDOK));
    CHECK_EQ(13u, storedRecord());
    CHECK_EQ(1u, storedValue("Champion").bytes.size());
    // Above 2^31 the prompt shows the signed number, as the record text does.
    // Only the first 1023 characters of a longer name are taken.
    std::wstring longName(2000, L'n');
    CHECK(dialogOpened(14, longName.c_str(), IDOK));
    CHECK_EQ(1024u, storedValue("Champion").bytes.size());
    CHECK(dialogOpened(0x80000000u, L"Max", IDOK));
    CHECK_EQ(L"Vaše skore -2147483648 je nový rekord, zadejte prosím své jméno", dialogPrompt);
    CHECK_EQ(0x80000000u, storedRecord());
}

void cancelWritesNothing() {
    useThrowawayCurrentUser();
    CHECK(dialogOpened(1, L"Eva", IDCANCEL));
    CHECK(storeKeyExists());  // the check itself created it
    CHECK(!storedValue("Record").present);
    CHECK(!storedValue("Champion").present);
    // So the same score asks again.
    CHECK(dialogOpened(1, L"Eva", IDCANCEL));
}

// Makes the store's key impossible to create: its parent is volatile, and a lasting key
// cannot live under a volatile one.
void makeTheStoreUnwritable() {
    useThrowawayCurrentUser();
    HKEY software;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, nullptr, REG_OPTION_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, &software, nullptr);
    RegCloseKey(software);
}

std::wstring failureCaption;
std::wstring failureText;

void readFailureAndPressOk(HWND box) {
    failureCaption = windowText(box);
    failureText = messageBoxText(box);
    pressButton(box, IDOK);
}

void answerDialogThenTheFailure(HWND dialog) {
    answerDialog(dialog);
    whenModalOpens(readFailureAndPressOk);  // the message box comes from within the dialog
}

void aRecordThatCannotBeSavedIsToldToThePlayer() {
    makeTheStoreUnwritable();
    CHECK(!storeKeyExists());
    CHECK_EQ(0u, readBestScore());
    CHECK(!writeBestResult(L"Eva", 4));

    nameToType = L"Eva";
    buttonToPress = IDOK;
    failureText.clear();
    whenModalOpens(answerDialogThenTheFailure);
    checkNewRecord(owner, 4);
    disarmModal();
    CHECK_EQ(L"Vaše skore 4 je nový rekord, zadejte prosím své jméno", dialogPrompt);
    CHECK_EQ(L"Rekord", failureCaption);
    CHECK_EQ(L"Nepodařilo se mi zapsat rekord do registru.", failureText);
    CHECK(!storeKeyExists());

    // Cancel writes nothing, so there is nothing to report.
    failureText.clear();
    buttonToPress = IDCANCEL;
    whenModalOpens(answerDialogThenTheFailure);
    checkNewRecord(owner, 4);
    disarmModal();
    CHECK(failureText.empty());
}

}  // namespace

int main() {
    std::printf("ANSI code page %u\n", GetACP());
    owner = createHostWindow(400, 300);
    RUN_TEST(withNoKeyNothingIsStoredAndTheKeyIsCreated);
    RUN_TEST(valuesOfTheWrongTypeOrSizeAreNotTaken);
    RUN_TEST(aMissingChampionStillLeavesTheRecordForTheCheck);
    RUN_TEST(theHighestRecordIsNeverBeatenAndShowsAsMinusOne);
    RUN_TEST(namesThatDoNotFitStayWithinTheBuffer);
    RUN_TEST(writingStoresTheNameInTheAnsiCodePageThenTheRecord);
    RUN_TEST(okWritesTheNameAndTheScore);
    RUN_TEST(cancelWritesNothing);
    RUN_TEST(aRecordThatCannotBeSavedIsToldToThePlayer);
    restoreCurrentUser();
    return check::summary("best_result_store_test");
}
