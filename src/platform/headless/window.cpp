// The window headless: always there, with a plain message queue.
#include "platform/headless/backend.h"

namespace platform {

void SetStartOptions(const StartOptions& /*options*/) {}

bool CreateGameWindow(const char* /*title*/, const char* /*iconFile*/, char* /*why*/,
                      int /*whySize*/) {
    return true;
}

void DestroyGameWindow() {}

bool PeekMessage(Message& out) {
    headless::detail::Poll();
    auto& messages = headless::detail::S().messages;
    if (messages.empty()) return false;
    out = messages.front();
    messages.pop_front();
    return true;
}

void PostMessage(MessageKind kind, int32_t code) {
    if (kind == MessageKind::Close) headless::detail::S().closeRequested = true;
    headless::detail::S().messages.push_back({kind, code});
}

bool CloseRequested() {
    headless::detail::Poll();
    return headless::detail::S().closeRequested;
}

void ShowCursor(bool /*show*/) {}

}  // namespace platform
