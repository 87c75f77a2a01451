#include "platform/common/message_queue.h"

#include <deque>

namespace platform::queue {

namespace {
std::deque<Message> messages;
bool closeRequested = false;
}  // namespace

void Post(MessageKind kind, int32_t code) {
    if (kind == MessageKind::Close) closeRequested = true;
    messages.push_back(Message{kind, kind == MessageKind::Quit ? code : 0});
}

bool Take(Message& out) {
    if (messages.empty()) return false;
    out = messages.front();
    messages.pop_front();
    return true;
}

bool CloseRequested() { return closeRequested; }

void Clear() {
    messages.clear();
    closeRequested = false;
}

}  // namespace platform::queue
