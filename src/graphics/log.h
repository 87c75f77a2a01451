// Diagnostics to an optional stream that the game never opens.
#pragma once

#include <cstdint>
#include <cstdio>

extern FILE* ShellLog;

int32_t LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
