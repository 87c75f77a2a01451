#include "online/lockstep.h"

#include <algorithm>

uint8_t LockstepMatch = 0;
uint32_t LockstepFrame = 0;
uint32_t LockstepDelay = 2;
uint32_t LockstepOutOfStep = 0;

namespace {

// Rings indexed by frame % LOCKSTEP_WINDOW.
struct Side {
    uint8_t inputs[LOCKSTEP_WINDOW] = {};
    uint32_t checks[LOCKSTEP_WINDOW] = {};
    bool checked[LOCKSTEP_WINDOW] = {};
    uint32_t checkFrame[LOCKSTEP_WINDOW] = {};
};

Side Own;
Side Other;
uint32_t OwnGiven = 0;    // this side's inputs are given for frames below this
uint32_t OwnAcked = 0;    // the other side has every one of ours below this
uint32_t OtherHere = 0;   // the other side's inputs are all here below this
uint32_t OtherFrame = 0;  // the frame the other side last said it was about to play
uint32_t OwnChecked = 0;  // this side's checksums are known below this

size_t Slot(uint32_t frame) { return frame % LOCKSTEP_WINDOW; }

void Compare(uint32_t frame) {
    const size_t slot = Slot(frame);
    if (!Own.checked[slot] || !Other.checked[slot]) return;
    if (Own.checkFrame[slot] != frame || Other.checkFrame[slot] != frame) return;
    if (Own.checks[slot] != Other.checks[slot] && LockstepOutOfStep == 0) {
        LockstepOutOfStep = frame + 1;
    }
}

}  // namespace

void LockstepStart(uint8_t match, uint32_t delay) {
    LockstepMatch = match;
    LockstepFrame = 0;
    LockstepDelay = std::min(delay, LOCKSTEP_MAX_DELAY);
    LockstepOutOfStep = 0;
    Own = Side{};
    Other = Side{};
    OwnAcked = OtherHere = OtherFrame = OwnChecked = 0;
    // The frames before the first input could arrive: no keys down.
    OwnGiven = LockstepDelay;
}

void LockstepGive(uint8_t input) {
    const uint32_t target = LockstepFrame + LockstepDelay;
    // Never more than the window holds unacknowledged.
    while (OwnGiven <= target && OwnGiven - OwnAcked < LOCKSTEP_WINDOW) {
        Own.inputs[Slot(OwnGiven)] = input;
        ++OwnGiven;
    }
}

bool LockstepReady() { return LockstepFrame < OtherHere && LockstepFrame < OwnGiven; }

uint8_t LockstepOwnInput() { return Own.inputs[Slot(LockstepFrame)]; }
uint8_t LockstepOtherInput() { return Other.inputs[Slot(LockstepFrame)]; }

void LockstepPlayed(uint32_t checksum) {
    const size_t slot = Slot(LockstepFrame);
    Own.checks[slot] = checksum;
    Own.checked[slot] = true;
    Own.checkFrame[slot] = LockstepFrame;
    Compare(LockstepFrame);
    OwnChecked = LockstepFrame + 1;
    ++LockstepFrame;
}

bool LockstepTake(const OnlineMessage& message) {
    if (message.match != LockstepMatch) return false;
    // What lies beyond the window, or before what was played long ago, is not
    // from an honest side of this match.
    const uint64_t end = static_cast<uint64_t>(message.first) + message.inputs.size();
    if (message.first > OtherHere ||
        end > static_cast<uint64_t>(LockstepFrame) + 2 * LOCKSTEP_WINDOW ||
        message.ack > OwnGiven) {
        return false;
    }
    for (size_t i = 0; i < message.inputs.size(); ++i) {
        const uint32_t frame = message.first + static_cast<uint32_t>(i);
        if (frame < OtherHere) continue;  // had already: never overwritten
        if (frame - LockstepFrame >= LOCKSTEP_WINDOW) break;
        Other.inputs[Slot(frame)] = message.inputs[i];
        OtherHere = frame + 1;
    }
    OwnAcked = std::max(OwnAcked, message.ack);
    OtherFrame = std::max(OtherFrame, message.frame);
    for (size_t i = 0; i < message.checks.size(); ++i) {
        const uint32_t frame = message.checkFirst + static_cast<uint32_t>(i);
        // Only checksums of frames this side can still compare.
        if (frame + LOCKSTEP_WINDOW <= LockstepFrame || frame >= LockstepFrame + LOCKSTEP_WINDOW) {
            continue;
        }
        const size_t slot = Slot(frame);
        Other.checks[slot] = message.checks[i];
        Other.checked[slot] = true;
        Other.checkFrame[slot] = frame;
        Compare(frame);
    }
    return true;
}

OnlineMessage LockstepMessage() {
    OnlineMessage m;
    m.kind = OnlineKind::Inputs;
    m.match = LockstepMatch;
    m.frame = LockstepFrame;
    m.ack = OtherHere;
    m.first = OwnAcked;
    const uint32_t count = std::min(OwnGiven - OwnAcked, ONLINE_MAX_INPUTS);
    for (uint32_t i = 0; i < count; ++i) m.inputs.push_back(Own.inputs[Slot(OwnAcked + i)]);
    // The newest few checksums: one lost message loses none of them, and a
    // game out of step stays out of step, so older ones are not needed.
    const uint32_t from =
        OwnChecked > ONLINE_MAX_CHECKS - 1 ? OwnChecked - (ONLINE_MAX_CHECKS - 1) : 0;
    m.checkFirst = from;
    for (uint32_t frame = from; frame < OwnChecked; ++frame)
        m.checks.push_back(Own.checks[Slot(frame)]);
    return m;
}

uint32_t LockstepOtherFrame() { return OtherFrame; }
