// The honest room of the relay's smoke test (relay_poke play PORT).
#pragma once

#include <cstdint>

namespace poke {

// Plays one room through the relay on `port`; prints "ok" and returns 0, or
// says on stderr what went wrong and ends the process with 1.
int Play(uint16_t port);

}  // namespace poke
