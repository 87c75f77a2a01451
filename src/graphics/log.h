// Diagnostics to an optional stream that the game never opens.
#pragma once

#include <cstdint>
#include <cstdio>

// Null unless someone opens it: then LogMessage writes there.
extern FILE* ShellLog;

int32_t LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
