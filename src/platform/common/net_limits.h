// What every network link bounds alike, whatever carries its messages.
#pragma once

#include <cstddef>

namespace platform::net_limits {

// Nothing the game sends comes near this; a larger message is dropped by the
// link, before the game sees it.
constexpr size_t LargestMessage = 1024;
// Events taken during waits and not yet polled: a flood beyond this is
// dropped rather than kept.
constexpr size_t MostQueued = 1024;

}  // namespace platform::net_limits
