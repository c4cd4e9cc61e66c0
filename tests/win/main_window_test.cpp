// The main window under Wine: its children where they belong, the Czech menu, keys and
// menu commands turned into board commands, activation pause, the About box, the
// game-over hand-off, and WM_CLOSE ending the message loop with exit code 0.
#include <windows.h>

#include "check.h"
#include "model/game_command.h"
#include "model/piece_table.h"
#include "res/resource.h"
#include "win/board_view.h"
#include "win/child_window_classes.h"
#include "win/handle_words.h"
#include "win/kostrel_startup.h"
#include "win/main_window.h"
#include "win/window_notifier_win32.h"
#include "win_test_support.h"

namespace {

HWND mainWindow = nullptr;
HWND boardView = nullptr;
WNDPROC boardViewProc = nullptr;
std::vector<uint32_t> viewCommands;  // WM_GAME_COMMAND codes that reached the board view

LRESULT CALLBACK RecordingViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GAME_COMMAND) viewCommands.push_back(static_cast<uint32_t>(wParam));
    return CallWindowProcW(boardViewProc, view, message, wParam, lParam);
}

std::vector<uint32_t> takeViewCommands() {
    std::vector<uint32_t> taken;
    taken.swap(viewCommands);
    return taken;
}

std::vector<uint32_t> commands(std::initializer_list<uint32_t> codes) { return codes; }

std::string show(const std::vector<uint32_t>& codes) {
    std::string text = "{";
    for (uint32_t code : codes) text += " " + std::to_string(code);
    return text + " }";
}

#define CHECK_COMMANDS(expected, actual)                                                  \
    do {                                                                                  \
        auto expected_ = (expected);                                                      \
        auto actual_ = (actual);                                                          \
        if (expected_ != actual_)                                                         \
            check::fail(__FILE__, __LINE__,                                               \
                        "board view got " + show(actual_) + ", expected " + show(expected_)); \
    } while (0)

GameState& game() { return *boardViewState(boardView); }

RECT rectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void checkPlace(HWND child, HWND parent, int x, int y, int width, int height, DWORD style) {
    CHECK(child != nullptr);
    if (child == nullptr) return;
    CHECK(GetParent(child) == parent);
    RECT rect = rectInParent(child);
    CHECK_EQ(x, rect.left);
    CHECK_EQ(y, rect.top);
    CHECK_EQ(width, rect.right - rect.left);
    CHECK_EQ(height, rect.bottom - rect.top);
    CHECK_EQ(style, static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & style);
}

void theMainWindowAndItsChildrenSitWhereTheyBelong() {
    CHECK(FindWindowW(L"VarnekKostrel_MainWIndow", L"Kostrel") == mainWindow);
    RECT outer;
    GetWindowRect(mainWindow, &outer);
    CHECK_EQ(360, outer.right - outer.left);
    CHECK_EQ(505, outer.bottom - outer.top);
    LONG style = GetWindowLongW(mainWindow, GWL_STYLE);
    CHECK_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
             style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX));

    HWND gameGroup = FindWindowExW(mainWindow, nullptr, L"Button", L"Hra");
    HWND nextGroup = FindWindowExW(mainWindow, nullptr, L"Button", L"Další");
    HWND scoreGroup = FindWindowExW(mainWindow, nullptr, L"Button", L"Score");
    checkPlace(gameGroup, mainWindow, 10, 10, 220, 430, WS_CHILD | WS_VISIBLE | BS_GROUPBOX);
    checkPlace(nextGroup, mainWindow, 240, 10, 100, 100, WS_CHILD | WS_VISIBLE | BS_GROUPBOX);
    checkPlace(scoreGroup, mainWindow, 240, 120, 100, 50, WS_CHILD | WS_VISIBLE | BS_GROUPBOX);
    checkPlace(boardView, mainWindow, 20, 30, 200, 400, WS_CHILD | WS_VISIBLE);
    HWND preview = FindWindowExW(nextGroup, nullptr, L"VarnekKostrel_Preview", L"preview");
    checkPlace(preview, nextGroup, 10, 15, 80, 80, WS_CHILD | WS_VISIBLE);
    HWND label = FindWindowExW(scoreGroup, nullptr, L"Static", nullptr);
    checkPlace(label, scoreGroup, 10, 15, 80, 30, WS_CHILD | WS_VISIBLE | SS_RIGHT);
    CHECK_EQ(L"0", windowText(label));

    // The board view's client area is exactly the board.
    RECT client;
    GetClientRect(boardView, &client);
    CHECK_EQ(200, client.right);
    CHECK_EQ(400, client.bottom);

    // Creation linked the label and the preview into the game record, in this order,
    // ahead of the resume that the window's activation posts.
    CHECK_EQ(wordFromHandle(label), game().scoreLabel);
    CHECK_EQ(wordFromHandle(preview), game().previewWindow);
    std::vector<uint32_t> first = takeViewCommands();
    first.resize(2);
    CHECK_COMMANDS(commands({CMD_SET_SCORE_LABEL, CMD_SET_PREVIEW}), first);
}

void theMenuIsCzechWithTheCommandIds() {
    CHECK(FindResourceExW(nullptr, RT_MENU, MAKEINTRESOURCEW(6),
                          MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT)) != nullptr);
    CHECK(FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(103),
                          MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT)) != nullptr);
    HMENU menu = GetMenu(mainWindow);
    CHECK_EQ(2, GetMenuItemCount(menu));
    wchar_t text[128];
    auto itemText = [&text](HMENU owner, UINT position) {
        text[0] = L'\0';
        GetMenuStringW(owner, position, text, 128, MF_BYPOSITION);
        return std::wstring(text);
    };
    CHECK_EQ(L"&Hra", itemText(menu, 0));
    CHECK_EQ(L"&Nápověda", itemText(menu, 1));

    HMENU game = GetSubMenu(menu, 0);
    CHECK_EQ(4, GetMenuItemCount(game));
    CHECK_EQ(IDM_NEW_GAME, GetMenuItemID(game, 0));
    CHECK_EQ(L"&Nová hra\tF2", itemText(game, 0));
    CHECK_EQ(IDM_BEST_RESULTS, GetMenuItemID(game, 1));
    CHECK_EQ(L"Nejlepší &výsledky...", itemText(game, 1));
    CHECK(GetMenuState(game, 2, MF_BYPOSITION) & MF_SEPARATOR);
    CHECK_EQ(IDM_EXIT, GetMenuItemID(game, 3));
    CHECK_EQ(L"&Konec\tAlt-F4", itemText(game, 3));

    HMENU help = GetSubMenu(menu, 1);
    CHECK_EQ(1, GetMenuItemCount(help));
    CHECK_EQ(IDM_ABOUT, GetMenuItemID(help, 0));
    CHECK_EQ(L"O &programu...", itemText(help, 0));
    CHECK_EQ(40003, IDM_EXIT);
    CHECK_EQ(40005, IDM_NEW_GAME);
    CHECK_EQ(40006, IDM_BEST_RESULTS);
    CHECK_EQ(40007, IDM_ABOUT);
}

void arrowKeysAreSentAndF2IsPosted() {
    pumpMessages();
    takeViewCommands();
    const int pieceXBefore = game().pieceX;
    const WPARAM keys[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
    const uint32_t sent[] = {CMD_MOVE_LEFT, CMD_ROTATE, CMD_MOVE_RIGHT, CMD_STEP_DOWN};
    for (int i = 0; i < 4; ++i) {
        CHECK_EQ(1, SendMessageW(mainWindow, WM_KEYDOWN, keys[i], 0));
        CHECK_COMMANDS(commands({sent[i]}), takeViewCommands());  // handled before the return
    }
    // Before the first game the board view ignores them.
    CHECK_EQ(pieceXBefore, game().pieceX);

    for (WPARAM other : {WPARAM('A'), WPARAM(VK_SPACE), WPARAM(VK_F3), WPARAM(VK_LEFT + 0x10000)})
        CHECK_EQ(1, SendMessageW(mainWindow, WM_KEYDOWN, other, 0));
    CHECK_EQ(1, SendMessageW(mainWindow, WM_KEYDOWN, VK_F2, 0));
    CHECK_COMMANDS(commands({}), takeViewCommands());
    pumpMessages();
    CHECK_COMMANDS(commands({CMD_NEW_GAME}), takeViewCommands());
    CHECK(game().timerId != 0);
    CHECK_EQ(4, game().pieceX);

    // Auto-repeated key-downs each move the piece once.
    SendMessageW(mainWindow, WM_KEYDOWN, VK_LEFT, 0x40000001);
    SendMessageW(mainWindow, WM_KEYDOWN, VK_LEFT, 0x40000001);
    CHECK_EQ(2, game().pieceX);
    takeViewCommands();
}

void activationPausesAndResumesTheGame() {
    pumpMessages();
    takeViewCommands();
    SendMessageW(mainWindow, WM_ACTIVATEAPP, FALSE, 0);
    pumpMessages();
    CHECK_COMMANDS(commands({CMD_PAUSE}), takeViewCommands());
    CHECK_EQ(1, game().paused);
    SendMessageW(mainWindow, WM_ACTIVATEAPP, TRUE, 0);
    pumpMessages();
    CHECK_COMMANDS(commands({CMD_RESUME}), takeViewCommands());
    CHECK_EQ(0, game().paused);
}

void menuCommandsReachTheBoardView() {
    pumpMessages();
    takeViewCommands();
    CHECK_EQ(1, SendMessageW(mainWindow, WM_COMMAND, IDM_NEW_GAME, 0));
    CHECK_EQ(1, SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDM_NEW_GAME, 1), 0));
    CHECK_EQ(1, SendMessageW(mainWindow, WM_COMMAND, 12345, 0));
    CHECK_EQ(1, SendMessageW(mainWindow, WM_GAME_COMMAND, CMD_GET_SCORE, 0));
    pumpMessages();
    CHECK_COMMANDS(commands({CMD_NEW_GAME, CMD_NEW_GAME}), takeViewCommands());
}

std::wstring boxCaption;
std::wstring boxText;
int pausedWhileShown = -1;

void readBoxAndPressOk(HWND box) {
    boxCaption = windowText(box);
    boxText = messageBoxText(box);
    pausedWhileShown = game().paused;
    pressButton(box, IDOK);
}

void theAboutBoxPausesTheGameWhileItIsShown() {
    pumpMessages();
    takeViewCommands();
    whenModalOpens(readBoxAndPressOk);
    SendMessageW(mainWindow, WM_COMMAND, IDM_ABOUT, 0);
    CHECK(modalActionRan());
    disarmModal();
    CHECK_EQ(L"Zubrant", boxCaption);
    CHECK_EQ(L"Pokusný Kostrel s zlou umělou inteligencí",
             boxText.substr(0, boxText.find(L'\n')));
    CHECK_EQ(1, pausedWhileShown);
    pumpMessages();
    CHECK_COMMANDS(commands({CMD_PAUSE, CMD_RESUME}), takeViewCommands());
    CHECK_EQ(0, game().paused);
}

void theBestResultsItemShowsTheStoreWithoutPausing() {
    useThrowawayCurrentUser();
    DWORD record = 4;
    storeValue("Record", REG_DWORD, &record, sizeof record);
    storeValue("Champion", REG_SZ, "Eva", 4);
    pumpMessages();
    takeViewCommands();
    whenModalOpens(readBoxAndPressOk);
    SendMessageW(mainWindow, WM_COMMAND, IDM_BEST_RESULTS, 0);
    CHECK(modalActionRan());
    disarmModal();
    CHECK_EQ(L"Rekord", boxCaption);
    CHECK_EQ(L"Nelepšího skore 4 dosáhl Eva.", boxText);
    CHECK_EQ(0, pausedWhileShown);
    pumpMessages();
    CHECK_COMMANDS(commands({}), takeViewCommands());
    restoreCurrentUser();
}

std::wstring dialogPrompt;

void typeNameAndPressOk(HWND dialog) {
    boxCaption = windowText(dialog);
    wchar_t prompt[256] = {};
    GetDlgItemTextW(dialog, IDC_RECORD_PROMPT, prompt, 256);
    dialogPrompt = prompt;
    SetDlgItemTextW(dialog, IDC_RECORD_NAME, L"Jiří");
    pressButton(dialog, IDOK);
}

void gameOverQueriesTheScoreAndOffersTheRecord() {
    useThrowawayCurrentUser();
    DWORD record = 2;
    storeValue("Record", REG_DWORD, &record, sizeof record);
    game().score = 5;
    pumpMessages();
    takeViewCommands();
    whenModalOpens(typeNameAndPressOk);
    CHECK_EQ(1, PostMessageW(mainWindow, WM_GAME_COMMAND, CMD_GAME_OVER, 0));
    pumpMessages();
    CHECK(modalActionRan());
    disarmModal();
    CHECK_COMMANDS(commands({CMD_GET_SCORE}), takeViewCommands());
    CHECK_EQ(L"Nejlepší score", boxCaption);
    CHECK_EQ(L"Vaše skore 5 je nový rekord, zadejte prosím své jméno", dialogPrompt);
    StoredValue stored = storedValue("Record");
    CHECK_EQ(REG_DWORD, stored.type);
    CHECK_EQ(5u, stored.bytes.size() == 4 ? *reinterpret_cast<uint32_t*>(stored.bytes.data()) : 0);
    CHECK_EQ(REG_SZ, storedValue("Champion").type);

    // The same score again is no new record: no dialog.
    whenModalOpens(typeNameAndPressOk);
    SendMessageW(mainWindow, WM_GAME_COMMAND, CMD_GAME_OVER, 0);
    CHECK(!modalActionRan());
    disarmModal();
    restoreCurrentUser();
}

void closeEndsTheMessageLoopWithExitCodeZero() {
    pumpMessages();
    CHECK_EQ(1, SendMessageW(mainWindow, WM_CLOSE, 0, 0));
    CHECK_EQ(0, runMessageLoop());
    CHECK(IsWindow(mainWindow));  // left to the system, not destroyed

    PostMessageW(mainWindow, WM_COMMAND, IDM_EXIT, 0);
    CHECK_EQ(0, runMessageLoop());
    CHECK(IsWindow(mainWindow));
}

}  // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    buildPieceTable();
    installWin32WindowNotifier();
    if (!registerMainWindowClass(instance) || !registerChildWindowClasses(instance)) {
        std::printf("cannot register the window classes\n");
        return 1;
    }
    mainWindow = createMainWindow(SW_SHOWNORMAL);
    boardView = FindWindowExW(mainWindow, nullptr, BOARD_VIEW_CLASS, BOARD_VIEW_NAME);
    if (mainWindow == nullptr || boardView == nullptr) {
        std::printf("cannot create the main window\n");
        return 1;
    }
    boardViewProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        boardView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingViewProc)));
    pumpMessages();

    RUN_TEST(theMainWindowAndItsChildrenSitWhereTheyBelong);
    RUN_TEST(theMenuIsCzechWithTheCommandIds);
    RUN_TEST(arrowKeysAreSentAndF2IsPosted);
    RUN_TEST(activationPausesAndResumesTheGame);
    RUN_TEST(menuCommandsReachTheBoardView);
    RUN_TEST(theAboutBoxPausesTheGameWhileItIsShown);
    RUN_TEST(theBestResultsItemShowsTheStoreWithoutPausing);
    RUN_TEST(gameOverQueriesTheScoreAndOffersTheRecord);
    RUN_TEST(closeEndsTheMessageLoopWithExitCodeZero);
    restoreCurrentUser();
    return check::summary("main_window_test");
}
