// The main window under Wine: its place and its group boxes, the Czech menu, keys and menu
// commands turned into board commands, activation pause, the boxes it opens, and the menu's
// Konec ending the message loop with exit code 0. The best-result store and its dialogs,
// against a throwaway HKEY_CURRENT_USER: missing, mistyped and oversized values, the
// new-record dialog's focus, OK and Cancel, a record beaten while the dialog was open or that
// cannot be saved, and the Czech texts under the code page the locale gives. The end-to-end
// test plays the keys and the game-over hand-off to the new-record dialog.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "model/game/game_command.h"
#include "res/resource.h"
#include "win/best_result_store.h"
#include "win/board_view.h"
#include "win/child_window_classes.h"
#include "win/kostrel_startup.h"
#include "win/main_window.h"
#include "win/new_record_dialog.h"
#include "win_test_support.h"

namespace {

using Codes = std::vector<uint32_t>;

HWND mainWindow = nullptr;
HWND boardView = nullptr;
WNDPROC boardViewProc = nullptr;
Codes viewCommands;  // the WM_GAME_COMMAND codes that reached the board view

LRESULT CALLBACK RecordingViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GAME_COMMAND) viewCommands.push_back(static_cast<uint32_t>(wParam));
    return CallWindowProcW(boardViewProc, view, message, wParam, lParam);
}

// The commands that reached the board view since the last call, posted ones included.
Codes viewGot() {
    pumpMessages();
    Codes got;
    got.swap(viewCommands);
    return got;
}

GameState& game() { return *boardViewState(boardView); }

// Where a visible child sits in its parent, "x,y widthxheight", and its class's own style
// bits: 7 a group box.
std::wstring place(HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    wchar_t text[64];
    swprintf(text, 64, L"%ld,%ld %ldx%ld %ls%lx", r.left, r.top, r.right - r.left, r.bottom - r.top,
             (style & WS_VISIBLE) != 0 ? L"" : L"hidden ", style & 0xF);
    return text;
}

// The board, the preview and the right-aligned score label sit where the end-to-end test
// reads them, from each other; here the window and the group boxes, and the board anchored.
void theWindowAndItsGroupBoxesSitWhereTheyBelong() {
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    CHECK_EQ(360, outer.right - outer.left);
    CHECK_EQ(505, outer.bottom - outer.top);
    LONG style = GetWindowLongW(mainWindow, GWL_STYLE);
    CHECK_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
             style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX));
    CHECK_EQ(L"10,10 220x430 7", place(FindWindowExW(mainWindow, nullptr, L"Button", L"Hra")));
    CHECK_EQ(L"240,10 100x100 7", place(FindWindowExW(mainWindow, nullptr, L"Button", L"Další")));
    CHECK_EQ(L"240,120 100x50 7", place(FindWindowExW(mainWindow, nullptr, L"Button", L"Score")));
    CHECK_EQ(L"20,30 200x400 0", place(boardView));
}

// A menu as text: items apart by '|', ids after '=', submenus in braces, '-' a separator.
std::wstring menuText(HMENU menu) {
    std::wstring text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t item[128] = {};
        GetMenuStringW(menu, i, item, 128, MF_BYPOSITION);
        text += i > 0 ? L"|" : L"";
        if (HMENU submenu = GetSubMenu(menu, i))
            text += item + (L"{" + menuText(submenu) + L"}");
        else if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)
            text += L"-";
        else
            text += item + (L"=" + std::to_wstring(GetMenuItemID(menu, i)));
    }
    return text;
}

void theMenuIsCzechWithItsCommandIds() {
    const WORD czech = MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT);
    CHECK(FindResourceExW(nullptr, RT_MENU, MAKEINTRESOURCEW(6), czech) != nullptr);
    CHECK(FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(103), czech) != nullptr);
    CHECK_EQ(
        L"&Hra{&Nová hra\tF2=40005|Nejlepší &výsledky...=40006|-|&Konec\tAlt-F4=40003}|"
        L"&Nápověda{O &programu...=40007}",
        menuText(GetMenu(mainWindow)));
}

void keysAndMenuCommandsReachTheBoardView() {
    viewGot();
    for (WPARAM other : {WPARAM('A'), WPARAM(VK_SPACE), WPARAM(VK_F3), WPARAM(VK_LEFT + 0x10000)})
        SendMessageW(mainWindow, WM_KEYDOWN, other, 0);  // none of these is a command
    // The end-to-end test plays these keys; here each auto-repeated key-down counts, and
    // the arrows, sent, arrive before F2, posted.
    SendMessageW(mainWindow, WM_KEYDOWN, VK_F2, 0);
    SendMessageW(mainWindow, WM_KEYDOWN, VK_LEFT, 0x40000001);
    SendMessageW(mainWindow, WM_KEYDOWN, VK_LEFT, 0x40000001);
    CHECK_EQ((Codes{CMD_MOVE_LEFT, CMD_MOVE_LEFT, CMD_NEW_GAME}), viewGot());

    // The menu's New game, also with a notification code in the high word; others nothing.
    SendMessageW(mainWindow, WM_COMMAND, IDM_NEW_GAME, 0);
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDM_NEW_GAME, 1), 0);
    SendMessageW(mainWindow, WM_COMMAND, 12345, 0);
    SendMessageW(mainWindow, WM_GAME_COMMAND, CMD_GET_SCORE, 0);
    CHECK_EQ((Codes{CMD_NEW_GAME, CMD_NEW_GAME}), viewGot());
}

int pausedWhileShown = -1;

void notePauseAndPressOk(HWND box) {
    pausedWhileShown = game().paused;
    readBoxAndPressOk(box);
}

// Leaving the program pauses the game, and so does the About box while it shows.
void activationAndTheAboutBoxPauseTheGame() {
    viewGot();
    SendMessageW(mainWindow, WM_ACTIVATEAPP, FALSE, 0);
    CHECK_EQ(Codes{CMD_PAUSE}, viewGot());
    SendMessageW(mainWindow, WM_ACTIVATEAPP, TRUE, 0);
    CHECK_EQ(Codes{CMD_RESUME}, viewGot());

    whenModalOpens(notePauseAndPressOk);
    SendMessageW(mainWindow, WM_COMMAND, IDM_ABOUT, 0);
    CHECK(disarmModal());
    CHECK_EQ(L"Zubrant", shownCaption);
    CHECK_EQ(L"Pokusný Kostrel s zlou umělou inteligencí",
             shownText.substr(0, shownText.find(L'\n')));
    CHECK_EQ(1, pausedWhileShown);
    CHECK_EQ((Codes{CMD_PAUSE, CMD_RESUME}), viewGot());

    useThrowawayCurrentUser();  // Best results shows the store, the game running on
    whenModalOpens(notePauseAndPressOk);
    SendMessageW(mainWindow, WM_COMMAND, IDM_BEST_RESULTS, 0);
    CHECK(disarmModal());
    CHECK_EQ(L"Rekord", shownCaption);
    CHECK(pausedWhileShown == 0 && viewGot().empty());
}

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
    showBestResult(mainWindow);
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
    checkNewRecord(mainWindow, score);
    return disarmModal();
}

void okWritesTheNameAndTheScoreAndCancelNothing() {
    useThrowawayCurrentUser();
    CHECK(!dialogOpened(0, L"nikdo", IDOK));  // a score of 0 beats nothing
    CHECK(dialogOpened(1, L"Eva", IDCANCEL));
    CHECK_EQ(REG_NONE, storedValue("Record").type);
    CHECK_EQ(REG_NONE, storedValue("Champion").type);

    CHECK(dialogOpened(12, L"Jiří", IDOK));
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
                 {false, 0x80000000u, beaten, dword(0x80000000u), sz("Eva")},  // unsigned
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

// Alt+F4 ends the program with exit code 0 in the end-to-end test; here the menu's Konec.
void closeEndsTheMessageLoopWithExitCodeZero() {
    pumpMessages();
    PostMessageW(mainWindow, WM_COMMAND, IDM_EXIT, 0);
    CHECK_EQ(0, runMessageLoop());
    // A start-up that cannot register its classes (here: again) ends at once with 0.
    CHECK_EQ(0, runKostrel(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
    CHECK(FindWindowW(MAIN_WINDOW_CLASS, nullptr) == mainWindow);
    CHECK(FindWindowExW(nullptr, mainWindow, MAIN_WINDOW_CLASS, nullptr) == nullptr);
}

}  // namespace

int main() {
    std::printf("ANSI code page %u\n", GetACP());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerMainWindowClass(instance);
    registerChildWindowClasses(instance);
    mainWindow = createMainWindow(SW_SHOWNORMAL);
    CHECK(FindWindowW(L"VarnekKostrel_MainWIndow", L"Kostrel") == mainWindow);
    boardView = FindWindowExW(mainWindow, nullptr, BOARD_VIEW_CLASS, BOARD_VIEW_NAME);
    CHECK(boardView != nullptr);
    if (boardView == nullptr) return check::summary("main_window_test");
    boardViewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(boardView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingViewProc)));
    pumpMessages();
    RUN_TEST(theWindowAndItsGroupBoxesSitWhereTheyBelong);
    RUN_TEST(theMenuIsCzechWithItsCommandIds);
    // The store's dialogs before any game, so that no fall step runs behind them.
    SetWindowsHookExW(WH_CALLWNDPROCRET, noteInitDialog, nullptr, GetCurrentThreadId());
    RUN_TEST(onlyWellFormedValuesAreTaken);
    RUN_TEST(okWritesTheNameAndTheScoreAndCancelNothing);
    RUN_TEST(aRecordNotWrittenIsToldToThePlayer);
    RUN_TEST(keysAndMenuCommandsReachTheBoardView);
    RUN_TEST(activationAndTheAboutBoxPauseTheGame);
    RUN_TEST(closeEndsTheMessageLoopWithExitCodeZero);
    return check::summary("main_window_test");
}
