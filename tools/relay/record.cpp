#include "record.h"

#include <algorithm>

namespace relay {

namespace {

// A checked frame waits this many confirmed frames (about two seconds) for
// its checksum, then goes without.
constexpr uint32_t CheckWait = 64;
// Finished matches kept for slow watchers; a host that keeps starting
// matches cannot make a room hold more.
constexpr size_t MostMatches = 8;

uint32_t Confirmed(const MatchRecord& r) {
    return static_cast<uint32_t>(std::min(r.sides[0].size(), r.sides[1].size()));
}

bool HasCheck(const MatchRecord& r, uint32_t frame) {
    const uint32_t at = frame / CHECKED_EVERY;
    return at < r.checked.size() && r.checked[at] != 0;
}

}  // namespace

void WatchRecord::Release(MatchRecord& r) const {
    const uint32_t confirmed = Confirmed(r);
    while (r.released < confirmed) {
        const uint32_t f = r.released;
        if (f % CHECKED_EVERY == 0 && !r.finished && !HasCheck(r, f) && confirmed - f < CheckWait)
            break;
        ++r.released;
    }
}

void WatchRecord::Start(uint8_t match, int64_t seconds, uint32_t maxFrames) {
    if (!matches_.empty() && !matches_.back().finished && matches_.back().match == match) return;
    Finish();
    if (matches_.size() >= MostMatches) matches_.pop_front();
    MatchRecord& r = matches_.emplace_back();
    r.serial = nextSerial_++;
    r.match = match;
    r.seconds = seconds;
    r.sides[0].reserve(std::min<uint32_t>(maxFrames, 4096));
    r.sides[1].reserve(std::min<uint32_t>(maxFrames, 4096));
}

bool WatchRecord::TakeInputs(int side, const OnlineMessage& m, uint32_t maxFrames) {
    if (matches_.empty()) return false;
    MatchRecord& r = matches_.back();
    if (r.finished || r.match != m.match) return false;
    std::vector<uint8_t>& kept = r.sides[side];
    const bool wasCapped = r.capped;
    // Only what continues the kept frames; `first` and the count are
    // bounded by the reader, and the sum cannot wrap (it checks that too).
    const uint64_t have = kept.size();
    const uint64_t end = uint64_t{m.first} + m.inputs.size();
    if (m.first <= have && end > have) {
        uint64_t take = end - have;
        if (have + take > maxFrames) {
            take = maxFrames > have ? maxFrames - have : 0;
            r.capped = true;
        }
        const auto from = m.inputs.begin() + static_cast<std::ptrdiff_t>(have - m.first);
        kept.insert(kept.end(), from, from + static_cast<std::ptrdiff_t>(take));
    }
    if (side == 0) {
        for (size_t i = 0; i < m.checks.size(); ++i) {
            const uint64_t frame = uint64_t{m.checkFirst} + i;
            if (frame % CHECKED_EVERY != 0 || frame >= maxFrames) continue;
            const size_t at = static_cast<size_t>(frame / CHECKED_EVERY);
            if (at >= r.checked.size()) {
                r.checked.resize(at + 1, 0);
                r.checks.resize(at + 1, 0);
            }
            if (r.checked[at] == 0) {
                r.checked[at] = 1;
                r.checks[at] = m.checks[i];
            }
        }
    }
    Release(r);
    return r.capped && !wasCapped;
}

void WatchRecord::Finish() {
    if (matches_.empty() || matches_.back().finished) return;
    matches_.back().finished = true;
    Release(matches_.back());
}

WatchCursor WatchRecord::Begin() const {
    if (matches_.empty() || matches_.back().finished) return {nextSerial_, 0};
    return {matches_.back().serial, 0};
}

const MatchRecord* WatchRecord::Find(uint64_t serial) const {
    if (matches_.empty() || serial < matches_.front().serial) return nullptr;
    const uint64_t at = serial - matches_.front().serial;
    return at < matches_.size() ? &matches_[static_cast<size_t>(at)] : nullptr;
}

bool WatchRecord::Next(WatchCursor* cursor, OnlineMessage* out) const {
    // A cursor on a match already forgotten goes on from the oldest kept.
    if (!matches_.empty() && cursor->serial < matches_.front().serial) {
        *cursor = {matches_.front().serial, 0};
    }
    for (;;) {
        const MatchRecord* r = Find(cursor->serial);
        if (r == nullptr) return false;
        if (cursor->frame < r->released) {
            const uint32_t count = std::min(r->released - cursor->frame, WATCH_MAX_FRAMES);
            out->kind = OnlineKind::Watch;
            out->match = r->match;
            out->matchSeconds = r->seconds;
            out->first = cursor->frame;
            const auto at = static_cast<std::ptrdiff_t>(cursor->frame);
            out->inputs.assign(r->sides[0].begin() + at, r->sides[0].begin() + at + count);
            out->topInputs.assign(r->sides[1].begin() + at, r->sides[1].begin() + at + count);
            out->checkFrames.clear();
            out->checks.clear();
            uint32_t frame = (cursor->frame + CHECKED_EVERY - 1) / CHECKED_EVERY * CHECKED_EVERY;
            for (; frame < cursor->frame + count && out->checks.size() < WATCH_MAX_CHECKS;
                 frame += CHECKED_EVERY) {
                if (!HasCheck(*r, frame)) continue;
                out->checkFrames.push_back(frame);
                out->checks.push_back(r->checks[frame / CHECKED_EVERY]);
            }
            cursor->frame += count;
            return true;
        }
        if (!r->finished || Find(cursor->serial + 1) == nullptr) return false;
        *cursor = {cursor->serial + 1, 0};
    }
}

bool WatchRecord::Done(const WatchCursor& cursor) const {
    if (matches_.empty()) return true;
    const MatchRecord& last = matches_.back();
    if (!last.finished) return false;
    return cursor.serial > last.serial ||
           (cursor.serial == last.serial && cursor.frame >= last.released);
}

void WatchRecord::Trim(const std::vector<WatchCursor>& cursors) {
    while (matches_.size() > 1 && matches_.front().finished) {
        const uint64_t serial = matches_.front().serial;
        bool needed = false;
        for (const WatchCursor& c : cursors) needed = needed || c.serial <= serial;
        if (needed) return;
        matches_.pop_front();
    }
}

size_t WatchRecord::FramesHeld() const {
    size_t frames = 0;
    for (const MatchRecord& r : matches_) frames += std::max(r.sides[0].size(), r.sides[1].size());
    return frames;
}

}  // namespace relay
