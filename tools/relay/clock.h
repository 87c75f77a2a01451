// The relay's one clock: steady milliseconds.
#pragma once

#include <chrono>
#include <cstdint>

namespace relay {

inline uint64_t NowMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

}  // namespace relay
