// The game window's message queue, the same in every backend: the backends
// add what the window system tells them, the game posts its own.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform::queue {

// Adds a message at the end. Only Quit carries its code; the others carry 0.
// A Close also marks the close as requested, until the next Clear.
void Post(MessageKind kind, int32_t code);
// Takes the oldest message; false when there is none.
bool Take(Message& out);
bool CloseRequested();
// Empties the queue and forgets a close request.
void Clear();

}  // namespace platform::queue
