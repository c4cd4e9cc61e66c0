// printf into a string, measured first.
#include "tui/formatted_text.h"

#include <cstdarg>
#include <cstdio>

std::string formatText(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    int size = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(size_t(size > 0 ? size : 0) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, again);
    va_end(again);
    text.pop_back();
    return text;
}
