#include "graphics/log.h"

#include <cstdarg>

FILE* ShellLog = nullptr;

int32_t LogMessage(const char* format, ...) {
    if (format == nullptr || ShellLog == nullptr) return 0;
    // Messages are one short line: 79 characters and the terminator.
    char buffer[80];
    va_list values;
    va_start(values, format);
    std::vsnprintf(buffer, sizeof buffer, format, values);
    va_end(values);
    std::fputs(buffer, ShellLog);
    return 1;
}
