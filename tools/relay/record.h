// What a room keeps for its watchers: each match's calendar and both sides'
// inputs from frame 0, the host's checksums every 32 frames, and where each
// watcher is in it. Nothing here trusts the players: inputs are taken only
// where they continue what is kept, and never overwrite it.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "online/protocol.h"

namespace relay {

// Frames carrying a kept checksum: the host's state after frame 32 k.
constexpr uint32_t CHECKED_EVERY = 32;

struct MatchRecord {
    uint64_t serial = 0;  // counts the room's matches: match numbers wrap at 256
    uint8_t match = 0;
    int64_t seconds = 0;
    std::vector<uint8_t> sides[2];  // the host's (bottom) and the guest's (top)
    std::vector<uint32_t> checks;   // after frame 32 k, where `checked` says so
    std::vector<uint8_t> checked;
    // Frames watchers may have: confirmed by both sides, and each checked
    // frame held back a little for its checksum to come.
    uint32_t released = 0;
    bool finished = false;  // nothing more will be added
    bool capped = false;
};

// A watcher's place: the match by serial, and its next frame.
struct WatchCursor {
    uint64_t serial = 0;
    uint32_t frame = 0;
};

class WatchRecord {
public:
    // The host's Welcome or Rematch: the match that begins. The current one
    // is finished; a repeat of the current match's number changes nothing.
    void Start(uint8_t match, int64_t seconds, uint32_t maxFrames);
    // One side's Inputs (side 0 the host). True when this made the match
    // reach `maxFrames`, the moment to say so in the log.
    bool TakeInputs(int side, const OnlineMessage& inputs, uint32_t maxFrames);
    // The room's match is over: everything confirmed is released.
    void Finish();
    // A new watcher's cursor: the current match from frame 0.
    WatchCursor Begin() const;
    // The next Watch message for `cursor` (false when it has all there is).
    bool Next(WatchCursor* cursor, OnlineMessage* out) const;
    // Whether `cursor` has everything there will ever be.
    bool Done(const WatchCursor& cursor) const;
    // Forgets finished matches no cursor still needs.
    void Trim(const std::vector<WatchCursor>& cursors);
    // For the fuzzer's checks: frames held, of all matches.
    size_t FramesHeld() const;
    size_t Matches() const { return matches_.size(); }

private:
    void Release(MatchRecord& record) const;
    const MatchRecord* Find(uint64_t serial) const;

    std::deque<MatchRecord> matches_;
    uint64_t nextSerial_ = 1;
};

}  // namespace relay
