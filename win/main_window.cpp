// The main window's procedure: child layout, key and menu commands, activation pause and
// the game-over check; it keeps no data and finds the board view anew for each command.
#include "win/main_window.h"

#include "model/game/game_command.h"
#include "res/resource.h"
#include "win/best_result_store.h"
#include "win/board_view.h"
#include "win/czech_texts.h"
#include "win/new_record_dialog.h"
#include "win/preview_window.h"

namespace {

constexpr DWORD MAIN_WINDOW_STYLE = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD GROUP_BOX_STYLE = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD PLAIN_CHILD_STYLE = WS_CHILD | WS_VISIBLE;
constexpr DWORD SCORE_LABEL_STYLE = WS_CHILD | WS_VISIBLE | SS_RIGHT;

HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                 int y, int width, int height) {
    return CreateWindowExW(0, className, text, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

HWND findBoardView(HWND window) {
    return FindWindowExW(window, nullptr, BOARD_VIEW_CLASS, BOARD_VIEW_NAME);
}

void postCommand(HWND boardView, GameCommand code, LPARAM argument = 0) {
    PostMessageW(boardView, WM_GAME_COMMAND, code, argument);
}

LRESULT sendCommand(HWND boardView, GameCommand code) {
    return SendMessageW(boardView, WM_GAME_COMMAND, code, 0);
}

LRESULT onCreate(HWND window) {
    createChild(window, L"BUTTON", TEXT_GAME_GROUP, GROUP_BOX_STYLE, 10, 10, 220, 430);
    HWND nextGroup =
        createChild(window, L"BUTTON", TEXT_NEXT_GROUP, GROUP_BOX_STYLE, 240, 10, 100, 100);
    HWND preview = createChild(nextGroup, PREVIEW_CLASS, PREVIEW_NAME, PLAIN_CHILD_STYLE, 10, 15,
                               PREVIEW_PIXEL_SIDE, PREVIEW_PIXEL_SIDE);
    HWND scoreGroup =
        createChild(window, L"BUTTON", TEXT_SCORE_GROUP, GROUP_BOX_STYLE, 240, 120, 100, 50);
    HWND scoreLabel =
        createChild(scoreGroup, L"STATIC", TEXT_SCORE_START, SCORE_LABEL_STYLE, 10, 15, 80, 30);
    HWND boardView = createChild(window, BOARD_VIEW_CLASS, BOARD_VIEW_NAME, PLAIN_CHILD_STYLE, 20,
                                 30, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT);
    postCommand(boardView, CMD_SET_SCORE_LABEL, reinterpret_cast<LPARAM>(scoreLabel));
    postCommand(boardView, CMD_SET_PREVIEW, reinterpret_cast<LPARAM>(preview));
    return 0;
}

LRESULT onClose() {
    // The windows are left to the system, which removes them with the process.
    PostQuitMessage(0);
    return 1;
}

LRESULT onActivateApp(HWND window, WPARAM active, LPARAM lParam) {
    postCommand(findBoardView(window), active != 0 ? CMD_RESUME : CMD_PAUSE);
    return DefWindowProcW(window, WM_ACTIVATEAPP, active, lParam);
}

LRESULT onKeyDown(HWND window, WPARAM key) {
    switch (key) {
    case VK_LEFT: sendCommand(findBoardView(window), CMD_MOVE_LEFT); break;
    case VK_UP: sendCommand(findBoardView(window), CMD_ROTATE); break;
    case VK_RIGHT: sendCommand(findBoardView(window), CMD_MOVE_RIGHT); break;
    case VK_DOWN: sendCommand(findBoardView(window), CMD_STEP_DOWN); break;
    case VK_F2: postCommand(findBoardView(window), CMD_NEW_GAME); break;
    default: break;
    }
    return 1;
}

void showAbout(HWND window) {
    // Paused through the box's own message loop, which delivers the posted pause.
    HWND boardView = findBoardView(window);
    postCommand(boardView, CMD_PAUSE);
    MessageBoxW(window, TEXT_ABOUT, TEXT_ABOUT_CAPTION, MB_ICONINFORMATION);
    postCommand(boardView, CMD_RESUME);
}

LRESULT onCommand(HWND window, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDM_EXIT: PostMessageW(window, WM_CLOSE, 0, 0); break;
    case IDM_NEW_GAME: postCommand(findBoardView(window), CMD_NEW_GAME); break;
    case IDM_BEST_RESULTS: showBestResult(window); break;
    case IDM_ABOUT: showAbout(window); break;
    default: break;
    }
    return 1;
}

LRESULT onGameCommand(HWND window, WPARAM code) {
    if (code == CMD_GAME_OVER) {
        LRESULT score = sendCommand(findBoardView(window), CMD_GET_SCORE);
        checkNewRecord(window, static_cast<uint32_t>(score));
    }
    return 1;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_CLOSE: return onClose();
    case WM_ACTIVATEAPP: return onActivateApp(window, wParam, lParam);
    case WM_KEYDOWN: return onKeyDown(window, wParam);
    case WM_COMMAND: return onCommand(window, wParam);
    case WM_GAME_COMMAND: return onGameCommand(window, wParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExW(&windowClass) != 0;
}

HWND createMainWindow(int showCommand) {
    HWND window =
        CreateWindowExW(0, MAIN_WINDOW_CLASS, TEXT_MAIN_TITLE, MAIN_WINDOW_STYLE, CW_USEDEFAULT,
                        CW_USEDEFAULT, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}
