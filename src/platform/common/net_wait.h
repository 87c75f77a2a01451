// Waits that keep the network link going: while a link is open, a backend
// spends its sleeps taking messages as they arrive (each is stamped with
// its arrival, so the round trip is measured truly) and sending what an
// impairment releases on time. The native backends call it; the link
// (platform/enet) defines it.
#pragma once

#include <cstdint>

namespace platform::net_wait {

// Sleeps `us` microseconds, serving the link meanwhile. False, at once and
// without sleeping, when no link is open.
bool SleepFor(uint64_t us);

}  // namespace platform::net_wait
