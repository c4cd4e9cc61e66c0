// A small check harness for the Win32 test programs: each check that fails prints what was
// expected and what came, and the program's exit status counts the failures.
#pragma once

#include <cstdio>
#include <string>

namespace check {

extern int failures;
extern const char* currentTest;

std::string utf8(const wchar_t* text);
void fail(const char* file, int line, const std::string& what);

inline std::string show(long long value) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld (0x%llx)", value,
                  static_cast<unsigned long long>(value));
    return text;
}
inline std::string show(const wchar_t* text) { return "\"" + utf8(text) + "\""; }
inline std::string show(const std::wstring& text) { return show(text.c_str()); }
inline std::string show(const char* text) { return std::string("\"") + text + "\""; }
inline std::string show(const std::string& text) { return show(text.c_str()); }

inline bool same(long long a, long long b) { return a == b; }
inline bool same(const std::wstring& a, const std::wstring& b) { return a == b; }
inline bool same(const std::string& a, const std::string& b) { return a == b; }

// Runs one test function, named for the failure messages.
int run(const char* name, void (*test)());
int summary(const char* program);

}  // namespace check

#define CHECK(condition)                                                             \
    do {                                                                             \
        if (!(condition)) check::fail(__FILE__, __LINE__, "expected " #condition);   \
    } while (0)

// Integral values are compared as long long; texts as wide or narrow strings.
#define CHECK_EQ(expected, actual)                                                   \
    do {                                                                             \
        auto checkExpected_ = (expected);                                            \
        auto checkActual_ = (actual);                                                \
        if (!check::same(checkExpected_, checkActual_))                              \
            check::fail(__FILE__, __LINE__,                                          \
                        std::string(#actual) + ": expected " +                       \
                            check::show(checkExpected_) + ", got " +                 \
                            check::show(checkActual_));                              \
    } while (0)

#define RUN_TEST(test) check::run(#test, test)
