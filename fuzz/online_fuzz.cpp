// libFuzzer target: the online message reader on any bytes, and the
// lockstep taking whatever it accepts. Nothing may read outside the bytes
// or the lockstep's window; an accepted message writes back to bytes that
// read as the same message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "online/lockstep.h"
#include "online/protocol.h"

namespace {

bool Same(const OnlineMessage& a, const OnlineMessage& b) {
    return a.kind == b.kind && a.protocol == b.protocol && a.gameVersion == b.gameVersion &&
           a.match == b.match && a.frame == b.frame && a.ack == b.ack && a.first == b.first &&
           a.inputs == b.inputs && a.checkFirst == b.checkFirst && a.checks == b.checks &&
           a.matchSeconds == b.matchSeconds && a.stamp == b.stamp && a.echo == b.echo &&
           a.held == b.held && a.want == b.want && a.code == b.code &&
           a.roomRefusal == b.roomRefusal && a.topInputs == b.topInputs &&
           a.checkFrames == b.checkFrames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    OnlineMessage message;
    std::string why;
    if (!DecodeOnlineMessage(bytes, size, &message, &why)) {
        if (why.empty()) std::abort();
        return 0;
    }
    if (message.inputs.size() > ONLINE_MAX_INPUTS || message.checks.size() > ONLINE_MAX_CHECKS ||
        message.topInputs.size() > WATCH_MAX_FRAMES ||
        (!message.code.empty() && !IsRoomCode(message.code))) {
        std::abort();
    }
    if (message.protocol == ONLINE_PROTOCOL) {
        const std::vector<uint8_t> again = EncodeOnlineMessage(message);
        OnlineMessage back;
        if (!DecodeOnlineMessage(again.data(), again.size(), &back, &why) || !Same(back, message)) {
            std::abort();
        }
    }
    // A match under way takes it, twice (a message may come again), then
    // plays on: never past its window.
    LockstepStart(message.match, 3);
    for (int i = 0; i < 2; ++i) LockstepTake(message);
    for (uint32_t frame = 0; frame < 8 && LockstepReady(); ++frame) {
        LockstepGive(0);
        LockstepPlayed(frame);
    }
    const OnlineMessage reply = LockstepMessage();
    if (reply.inputs.size() > ONLINE_MAX_INPUTS ||
        EncodeOnlineMessage(reply).size() > ONLINE_MAX_MESSAGE) {
        std::abort();
    }
    return 0;
}
