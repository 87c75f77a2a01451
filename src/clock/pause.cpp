#include "clock/pause.h"

#include "platform/platform.h"

bool SkipIntro = false;

void SkippablePause(uint32_t ms) {
    if (!SkipIntro) platform::Sleep(ms);
}
