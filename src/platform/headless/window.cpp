// The window headless: always there, with a plain message queue.
#include "platform/common/message_queue.h"
#include "platform/headless/state.h"

namespace platform {

void SetStartOptions(const StartOptions& /*options*/) {}

bool KeptReplaysFolder(std::string* /*folder*/, int32_t* /*kept*/) { return false; }

// The runner's stderr is where its errors are read.
void ShowStartupError(const char* /*text*/) {}

bool CreateGameWindow(const char* /*title*/, const char* /*iconFile*/, std::string* /*why*/) {
    return true;
}

void DestroyGameWindow() {}

bool WindowPlacement(bool* /*fullScreen*/, int32_t* /*width*/, int32_t* /*height*/) {
    return false;
}

bool PeekMessage(Message& out) {
    headless::detail::Poll();
    return queue::Take(out);
}

void PostMessage(MessageKind kind, int32_t code) { queue::Post(kind, code); }

bool CloseRequested() {
    headless::detail::Poll();
    return queue::CloseRequested();
}

void ShowCursor(bool /*show*/) {}

}  // namespace platform
