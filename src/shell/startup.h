// The start-up and release sequences.
#pragma once

#include <cstdint>

int32_t GameInit();
int32_t GameShutdown();
