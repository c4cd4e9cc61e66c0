// The main window under Wine: its children where they belong, the Czech menu, keys and
// menu commands turned into board commands, activation pause, the boxes it opens, and
// WM_CLOSE ending the message loop with exit code 0. The end-to-end test plays the arrow
// keys and the game-over hand-off to the new-record dialog.
#include <windows.h>

#include <cwchar>

#include "model/game/game_command.h"
#include "res/resource.h"
#include "win/board_view.h"
#include "win/child_window_classes.h"
#include "win/handle_words.h"
#include "win/kostrel_startup.h"
#include "win/main_window.h"
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

// The commands that reached the board view since the last call; posted ones only after a pump.
Codes viewGot(bool pump = true) {
    if (pump) pumpMessages();
    Codes got;
    got.swap(viewCommands);
    return got;
}

GameState& game() { return *boardViewState(boardView); }

// Where a visible child sits in its parent, "x,y widthxheight", and its class's own style
// bits: 7 a group box, 2 right-aligned text.
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

void theWindowAndItsChildrenSitWhereTheyBelong() {
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    CHECK_EQ(360, outer.right - outer.left);
    CHECK_EQ(505, outer.bottom - outer.top);
    LONG style = GetWindowLongW(mainWindow, GWL_STYLE);
    CHECK_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
             style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX));

    HWND nextBox = FindWindowExW(mainWindow, nullptr, L"Button", L"Další");
    HWND scoreBox = FindWindowExW(mainWindow, nullptr, L"Button", L"Score");
    HWND preview = FindWindowExW(nextBox, nullptr, L"VarnekKostrel_Preview", L"preview");
    HWND label = FindWindowExW(scoreBox, nullptr, L"Static", L"0");
    CHECK_EQ(L"10,10 220x430 7", place(FindWindowExW(mainWindow, nullptr, L"Button", L"Hra")));
    CHECK_EQ(L"240,10 100x100 7", place(nextBox));
    CHECK_EQ(L"240,120 100x50 7", place(scoreBox));
    CHECK_EQ(L"20,30 200x400 0", place(boardView));
    CHECK_EQ(L"10,15 80x80 0", place(preview));
    CHECK_EQ(L"10,15 80x30 2", place(label));

    // Creation linked the label and the preview, ahead of the resume that activation posts.
    CHECK_EQ(wordFromHandle(label), game().scoreLabel);
    CHECK_EQ(wordFromHandle(preview), game().previewWindow);
    Codes first = viewGot(false);
    first.resize(2);
    CHECK_EQ((Codes{CMD_SET_SCORE_LABEL, CMD_SET_PREVIEW}), first);
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
    RUN_TEST(theWindowAndItsChildrenSitWhereTheyBelong);
    RUN_TEST(theMenuIsCzechWithItsCommandIds);
    RUN_TEST(keysAndMenuCommandsReachTheBoardView);
    RUN_TEST(activationAndTheAboutBoxPauseTheGame);
    RUN_TEST(closeEndsTheMessageLoopWithExitCodeZero);
    return check::summary("main_window_test");
}
