// Shared helpers of the Win32 test programs.
#include "win_test_support.h"

#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
HWND armedOver = nullptr;  // a box open when the action was armed, not the one it waits for

void CALLBACK modalTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = GetActiveWindow();  // a modal box is active once it shows
    if (modalAction == nullptr || box == armedOver || className(box) != L"#32770" ||
        !IsWindowVisible(box))
        return;
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
    for (size_t i = 0; i < codes.size(); ++i)
        text += (i > 0 ? ", " : "") + std::to_string(codes[i]);
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

// Wine's GetGuiResources counts nothing (its ntdll exports wine_get_version), so under Wine
// this counts the used entries of its GDI handle table, which the process environment block
// points to (GdiSharedHandleTable, at 0x94 in a 32-bit process's block and 0xF8 in a 64-bit
// one's): 0x4000 entries of 24 bytes in either (GDI_HANDLE_ENTRY in Wine's ntgdi.h holds
// 64-bit pointers), the type at byte 14. The block's address comes from
// NtQueryInformationProcess, which needs no segment-register intrinsic.
long liveGdiObjects() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (GetProcAddress(ntdll, "wine_get_version") == nullptr)
        return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    FARPROC found = GetProcAddress(ntdll, "NtQueryInformationProcess");
    QueryProcess query = nullptr;
    std::memcpy(&query, &found, sizeof query);  // one function pointer type to another
    PROCESS_BASIC_INFORMATION basic = {};
    if (query == nullptr ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    constexpr size_t TABLE_FIELD = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
    const uint8_t* table = nullptr;
    std::memcpy(&table, peb + TABLE_FIELD, sizeof table);
    if (table == nullptr) return -1;
    long used = 0;
    for (int i = 0; i < 0x4000; ++i) used += table[i * 24 + 14] != 0;
    return used;
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
    armedOver = GetActiveWindow();
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
