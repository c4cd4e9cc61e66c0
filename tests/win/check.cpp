// The check harness's counters and messages.
#include "check.h"

#include <windows.h>

namespace check {

int failures = 0;
const char* currentTest = "";

std::string utf8(const wchar_t* text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return "";
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], bytes, nullptr, nullptr);
    result.resize(static_cast<size_t>(bytes - 1));
    return result;
}

void fail(const char* file, int line, const std::string& what) {
    ++failures;
    std::printf("FAIL %s (%s:%d): %s\n", currentTest, file, line, what.c_str());
    std::fflush(stdout);
}

int run(const char* name, void (*test)()) {
    currentTest = name;
    int before = failures;
    DWORD start = GetTickCount();
    test();
    std::printf("%s %s (%lu ms)\n", failures == before ? "ok  " : "FAIL", name,
                static_cast<unsigned long>(GetTickCount() - start));
    std::fflush(stdout);
    return failures - before;
}

int summary(const char* program) {
    std::printf("%s: %d failure(s)\n", program, failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace check
