// Helpers of the Win32 test programs: a small check harness and message pumping, and for
// the main window's tests, modal boxes answered from a timer and a throwaway
// HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A failed check prints what was expected and what came; summary() gives the exit status.
namespace check {
std::string show(long long value);
std::string show(const std::wstring& text);
inline std::string show(const std::string& text) { return "\"" + text + "\""; }
std::string show(const std::vector<uint32_t>& codes);
void fail(const char* file, int line, const std::string& what);
void run(const char* name, void (*test)());
int summary(const char* program);

// Integral values are compared as long long.
inline bool same(long long a, long long b) { return a == b; }
inline bool same(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) { return a == b; }
inline bool same(const std::wstring& a, const std::wstring& b) { return a == b; }
inline bool same(const std::string& a, const std::string& b) { return a == b; }
template <typename Expected, typename Actual>
void equal(const Expected& expected, const Actual& actual, const char* what, const char* file,
           int line) {
    if (!same(expected, actual))
        fail(file, line,
             std::string(what) + ": expected " + show(expected) + ", got " + show(actual));
}
}  // namespace check

#define CHECK(condition) \
    ((condition) ? void() : check::fail(__FILE__, __LINE__, "expected " #condition))
#define CHECK_EQ(expected, actual) check::equal(expected, actual, #actual, __FILE__, __LINE__)
#define RUN_TEST(test) check::run(#test, test)

void pumpMessages();

// Arms action for the first modal dialog or message box of this thread once it shows (not
// one active already: an action may arm the next for a box it opens); disarmModal() after
// the call that opened it says whether the action ran.
void whenModalOpens(void (*action)(HWND box));
bool disarmModal();
// An action: keeps the box's caption and message in shownCaption and shownText, then OK.
void readBoxAndPressOk(HWND box);
extern std::wstring shownCaption, shownText;
// Presses a button of a dialog or message box (posted, so the modal loop ends it).
void pressButton(HWND box, int id);
std::wstring windowText(HWND window);

// Points HKEY_CURRENT_USER of this process at a fresh, empty key of its own (removed at
// exit), so that the program's own key path is used without touching the user's values.
void useThrowawayCurrentUser();
