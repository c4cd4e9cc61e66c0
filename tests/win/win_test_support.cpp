// Shared helpers of the Win32 test programs.
#include "win_test_support.h"

#include <cstdio>
#include <cstdlib>

std::wstring shownCaption, shownText;

namespace {

int failures = 0;
const char* currentTest = "";

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
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
