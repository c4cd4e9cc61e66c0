// Shared helpers of the Win32 test programs.
#include "win_test_support.h"

#include <cstdio>
#include <cstdlib>

#include "win/best_result_store.h"
#include "win/board_view.h"

std::wstring shownCaption, shownText;

namespace {

int failures = 0;
const char* currentTest = "";

std::vector<uint32_t> recordedCommands;

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GAME_COMMAND) return DefWindowProcW(window, message, wParam, lParam);
    recordedCommands.push_back(static_cast<uint32_t>(wParam));
    return 1;
}

void (*modalAction)(HWND) = nullptr;
bool modalRan = false;
UINT_PTR modalTimer = 0;

void CALLBACK modalTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = GetActiveWindow();  // a modal box is active once it shows
    if (modalAction == nullptr || className(box) != L"#32770" || !IsWindowVisible(box)) return;
    void (*action)(HWND) = modalAction;
    disarmModal();
    modalRan = true;
    action(box);
}

// A message box's message is the longest text of its static controls.
BOOL CALLBACK keepLongestStaticText(HWND child, LPARAM longest) {
    std::wstring* text = reinterpret_cast<std::wstring*>(longest);
    if (className(child) == L"Static" && windowText(child).size() > text->size())
        *text = windowText(child);
    return TRUE;
}

// The used entries of Wine's GDI handle table, which the process environment block points
// to: 0x4000 entries of 24 bytes (GDI_HANDLE_ENTRY in Wine's ntgdi.h), the type at byte 14.
long countWineGdiHandles() {
#if defined(__GNUC__) && defined(__i386__)
    const char* peb;
    asm("movl %%fs:0x30, %0" : "=r"(peb));  // the thread block's pointer to it
    auto* table = *reinterpret_cast<const uint8_t* const*>(peb + 0x94);  // GdiSharedHandleTable
    long used = 0;
    for (int i = 0; table != nullptr && i < 0x4000; ++i) used += table[i * 24 + 14] != 0;
    return table != nullptr ? used : -1;
#else
    return -1;  // the offsets above are the 32-bit process's
#endif
}

HKEY throwawayRoot = nullptr;
constexpr const wchar_t* THROWAWAY_PATH = L"Software\\KostrelTests";

void restoreCurrentUser() {
    if (throwawayRoot != nullptr) {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(throwawayRoot);
        throwawayRoot = nullptr;
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, THROWAWAY_PATH);
}

}  // namespace

std::string check::show(long long value) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld (0x%llx)", value,
                  static_cast<unsigned long long>(value));
    return text;
}

std::string check::show(const std::wstring& text) {
    std::string utf8(text.size() * 3 + 1, '\0');
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    return show(utf8);
}

std::string check::show(const std::vector<uint32_t>& codes) {
    std::string text = "{";
    for (size_t i = 0; i < codes.size(); ++i) text += (i > 0 ? ", " : "") + std::to_string(codes[i]);
    return text + "}";
}

void check::fail(const char* file, int line, const std::string& what) {
    ++failures;
    std::printf("FAIL %s (%s:%d): %s\n", currentTest, file, line, what.c_str());
    std::fflush(stdout);
}

void check::run(const char* name, void (*test)()) {
    currentTest = name;
    int before = failures;
    test();
    std::printf("%s %s\n", failures == before ? "ok  " : "FAIL", name);
    std::fflush(stdout);
}

int check::summary(const char* program) {
    std::printf("%s: %d failure(s)\n", program, failures);
    return failures == 0 ? 0 : 1;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

uint32_t rgbAt(HDC dc, int x, int y) {
    COLORREF pixel = GetPixel(dc, x, y);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

void fillRgb(HDC dc, int width, int height, uint32_t rgb) {
    HBRUSH brush = CreateSolidBrush(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

long liveGdiObjects() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return counted != 0 ? static_cast<long>(counted) : countWineGdiHandles();
}

HWND createHostWindow(int width, int height) {
    WNDCLASSEXW hostClass = {};
    hostClass.cbSize = sizeof hostClass;
    hostClass.lpfnWndProc = HostProc;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    hostClass.lpszClassName = L"KostrelTestHost";
    RegisterClassExW(&hostClass);  // fails harmlessly when registered already
    recordedCommands.clear();
    return CreateWindowExW(0, L"KostrelTestHost", L"host", WS_POPUP | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::vector<uint32_t>& hostCommands() { return recordedCommands; }

void whenModalOpens(void (*action)(HWND box)) {
    modalAction = action;
    modalRan = false;
    modalTimer = SetTimer(nullptr, 0, 20, modalTimerProc);
}

bool disarmModal() {
    if (modalTimer != 0) KillTimer(nullptr, modalTimer);
    modalTimer = 0;
    modalAction = nullptr;
    return modalRan;
}

void readBoxAndPressOk(HWND box) {
    shownCaption = windowText(box);
    shownText.clear();
    EnumChildWindows(box, keepLongestStaticText, reinterpret_cast<LPARAM>(&shownText));
    pressButton(box, IDOK);
}

void pressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

std::wstring windowText(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

void useThrowawayCurrentUser() {
    static const bool restoredAtExit = std::atexit(restoreCurrentUser) == 0;
    (void)restoredAtExit;
    restoreCurrentUser();
    RegCreateKeyExW(HKEY_CURRENT_USER, THROWAWAY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &throwawayRoot, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, throwawayRoot);
}

StoredValue storedValue(const char* name) {
    StoredValue value = {REG_NONE, std::string(8192, '\0')};
    DWORD size = static_cast<DWORD>(value.bytes.size());
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, BEST_RESULT_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {REG_NONE, ""};
    if (RegQueryValueExA(key, name, nullptr, &value.type,
                         reinterpret_cast<BYTE*>(&value.bytes[0]), &size) != ERROR_SUCCESS)
        value = {REG_NONE, ""}, size = 0;
    RegCloseKey(key);
    value.bytes.resize(size);
    return value;
}

void storeValue(const char* name, DWORD type, const std::string& bytes) {
    HKEY key;
    if (type == REG_NONE || RegCreateKeyExA(HKEY_CURRENT_USER, BEST_RESULT_KEY, 0, nullptr, 0,
                                            KEY_ALL_ACCESS, nullptr, &key, nullptr) != 0)
        return;
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}
