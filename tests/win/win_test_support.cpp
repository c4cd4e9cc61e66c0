// Shared helpers of the Win32 test programs.
#include "win_test_support.h"

#include <cstring>

#include "model/game_command.h"
#include "win/best_result_store.h"
#include "win/board_view.h"

namespace {

std::vector<uint32_t> recordedCommands;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GAME_COMMAND) {
        recordedCommands.push_back(static_cast<uint32_t>(wParam));
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void (*modalAction)(HWND) = nullptr;
bool modalRan = false;
UINT_PTR modalTimer = 0;

BOOL CALLBACK findModalBox(HWND window, LPARAM found) {
    if (className(window) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK modalTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findModalBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr || modalAction == nullptr) return;
    void (*action)(HWND) = modalAction;
    disarmModal();
    modalRan = true;
    action(box);
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM longest) {
    std::wstring* text = reinterpret_cast<std::wstring*>(longest);
    if (className(child) == L"Static") {
        std::wstring own = windowText(child);
        if (own.size() > text->size()) *text = own;
    }
    return TRUE;
}

// One entry of Wine's GDI handle table (include/ntgdi.h, GDI_HANDLE_ENTRY), which the
// process environment block points to; a used entry has a nonzero type.
struct WineGdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(WineGdiHandleEntry) == 24, "Wine's GDI_HANDLE_ENTRY is 24 bytes");
constexpr int WINE_MAX_GDI_HANDLES = 0x4000;

long countWineGdiHandles() {
#if defined(_M_IX86) || defined(__i386__)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // GCC 12 misreads the fs-relative read
#endif
    char* teb = reinterpret_cast<char*>(NtCurrentTeb());
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    char* peb = *reinterpret_cast<char**>(teb + 0x30);
    auto* table = *reinterpret_cast<WineGdiHandleEntry**>(peb + 0x94);  // GdiSharedHandleTable
    if (table == nullptr) return -1;
    long used = 0;
    for (int i = 0; i < WINE_MAX_GDI_HANDLES; ++i)
        if (table[i].type != 0) ++used;
    return used;
#else
    return -1;
#endif
}

HKEY throwawayRoot = nullptr;
constexpr const wchar_t* THROWAWAY_PATH = L"Software\\KostrelTests";

}  // namespace

bool pumpMessages(int* quitCode) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            if (quitCode != nullptr) *quitCode = static_cast<int>(message.wParam);
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return false;
}

uint32_t rgbAt(HDC dc, int x, int y) {
    COLORREF pixel = GetPixel(dc, x, y);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

void fillRgb(HDC dc, int left, int top, int width, int height, uint32_t rgb) {
    HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    RECT area = {left, top, left + width, top + height};
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

HWND createHostWindow(int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW hostClass = {};
        hostClass.cbSize = sizeof hostClass;
        hostClass.lpfnWndProc = HostProc;
        hostClass.hInstance = GetModuleHandleW(nullptr);
        hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        hostClass.lpszClassName = L"KostrelTestHost";
        registered = RegisterClassExW(&hostClass) != 0;
    }
    recordedCommands.clear();
    return CreateWindowExW(0, L"KostrelTestHost", L"host", WS_POPUP | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::vector<uint32_t>& hostCommands() { return recordedCommands; }

long liveGdiObjects() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<long>(counted);
    bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return underWine ? countWineGdiHandles() : -1;
}

void whenModalOpens(void (*action)(HWND box)) {
    modalAction = action;
    modalRan = false;
    modalTimer = SetTimer(nullptr, 0, 20, modalTimerProc);
}

bool modalActionRan() { return modalRan; }

void disarmModal() {
    if (modalTimer != 0) KillTimer(nullptr, modalTimer);
    modalTimer = 0;
    modalAction = nullptr;
}

std::wstring windowText(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring messageBoxText(HWND box) {
    std::wstring longest;
    EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

void pressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

void useThrowawayCurrentUser() {
    restoreCurrentUser();
    RegDeleteTreeW(HKEY_CURRENT_USER, THROWAWAY_PATH);
    RegCreateKeyExW(HKEY_CURRENT_USER, THROWAWAY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &throwawayRoot, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, throwawayRoot);
}

void restoreCurrentUser() {
    if (throwawayRoot == nullptr) return;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(throwawayRoot);
    throwawayRoot = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, THROWAWAY_PATH);
}

StoredValue storedValue(const char* name) {
    StoredValue value = {false, REG_NONE, {}};
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, BEST_RESULT_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.bytes.resize(size);
        RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size);
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    return value;
}

void storeValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, BEST_RESULT_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

bool storeKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, BEST_RESULT_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
