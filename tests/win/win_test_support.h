// Shared helpers of the Win32 test programs: message pumping, pixel reading, a host window
// that records the commands its children post, modal boxes answered from a timer, and a
// throwaway registry root in place of HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t RGB_BLACK = 0x000000;
constexpr uint32_t RGB_YELLOW = 0xFFFF00;
constexpr uint32_t RGB_MAGENTA = 0xFF00FF;  // pre-fill: marks pixels nothing painted

// Dispatches every queued message of the thread; true if WM_QUIT came, with its code.
bool pumpMessages(int* quitCode = nullptr);

// The pixel at (x, y) of a device context as 0x00RRGGBB (GetPixel gives 0x00BBGGRR).
uint32_t rgbAt(HDC dc, int x, int y);

// Fills a rectangle of a device context with one 0x00RRGGBB colour.
void fillRgb(HDC dc, int left, int top, int width, int height, uint32_t rgb);

// The process's live GDI objects: GetGuiResources where it counts them, else (under Wine,
// whose GetGuiResources answers 0) the used entries of Wine's shared GDI handle table;
// -1 when neither is available.
long liveGdiObjects();

// A visible top-level window of a plain class, for child windows under test. It records
// the WM_GAME_COMMAND codes that reach it.
HWND createHostWindow(int width, int height);
std::vector<uint32_t>& hostCommands();

// Runs action on the first modal dialog or message box of this thread once it shows;
// arm before the call that opens it, then ask modalActionRan() after it returns.
void whenModalOpens(void (*action)(HWND box));
bool modalActionRan();
void disarmModal();

std::wstring windowText(HWND window);
std::wstring className(HWND window);
// The longest text of the box's static controls: a message box's message.
std::wstring messageBoxText(HWND box);
// Presses a button of a dialog or message box (posted, so the modal loop ends it).
void pressButton(HWND box, int id);

// Points HKEY_CURRENT_USER of this process at a fresh, empty key of its own, so that the
// program's own key path is used without touching the user's real values.
void useThrowawayCurrentUser();
void restoreCurrentUser();

// The raw type, size and bytes of a value under HKCU\SOFTWARE\VarnekKostrel.
struct StoredValue {
    bool present;
    DWORD type;
    std::vector<uint8_t> bytes;
};
StoredValue storedValue(const char* name);
void storeValue(const char* name, DWORD type, const void* data, DWORD size);
bool storeKeyExists();
