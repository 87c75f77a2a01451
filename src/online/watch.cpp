#include "online/watch.h"

#include <deque>
#include <map>
#include <vector>

uint32_t WatchFrame = 0;
int64_t WatchMatchSeconds = 0;
uint32_t WatchOutOfStep = 0;

namespace {

constexpr uint32_t QuietMs = 1000;  // nothing new this long: the lag is waived
constexpr size_t MatchesKept = 3;   // the one being played, and what follows

struct Record {
    uint8_t match = 0;
    int64_t seconds = 0;
    std::vector<uint8_t> bottom;
    std::vector<uint8_t> top;
    std::map<uint32_t, uint32_t> checks;  // the host's, by frame
};

std::deque<Record> Matches;  // the front one is being played (once begun)
bool Begun = false;
bool PlayersGone = false;
uint32_t LastNews = 0;

}  // namespace

void WatchReset() {
    Matches.clear();
    Begun = PlayersGone = false;
    WatchFrame = 0;
    WatchOutOfStep = 0;
    LastNews = 0;
}

bool WatchTake(const OnlineMessage& m, uint32_t now) {
    if (Matches.empty() || m.match != Matches.back().match) {
        // A match follows the one before it, and only so many are kept.
        if (!Matches.empty() && m.match != static_cast<uint8_t>(Matches.back().match + 1))
            return false;
        if (Matches.size() == MatchesKept || m.first != 0) return false;
        Record next;
        next.match = m.match;
        next.seconds = m.matchSeconds;
        Matches.push_back(next);
    }
    Record& record = Matches.back();
    if (m.first != record.bottom.size() ||
        record.bottom.size() + m.inputs.size() > WATCH_MAX_MATCH_FRAMES) {
        return false;
    }
    record.bottom.insert(record.bottom.end(), m.inputs.begin(), m.inputs.end());
    record.top.insert(record.top.end(), m.topInputs.begin(), m.topInputs.end());
    for (size_t i = 0; i < m.checks.size(); ++i) record.checks[m.checkFrames[i]] = m.checks[i];
    LastNews = now;
    return true;
}

void WatchPlayersGone() { PlayersGone = true; }

WatchNext WatchStep(uint32_t now) {
    if (Matches.empty()) return PlayersGone ? WatchNext::Over : WatchNext::Wait;
    const Record& record = Matches.front();
    const uint32_t kept = static_cast<uint32_t>(record.bottom.size());
    const bool lagWaived = PlayersGone || Matches.size() > 1 || now - LastNews >= QuietMs;
    if (!Begun) {
        return kept >= WATCH_LAG_FRAMES || (lagWaived && kept > 0) ? WatchNext::NewMatch
                                                                   : WatchNext::Wait;
    }
    if (WatchFrame < kept && (kept - WatchFrame > WATCH_LAG_FRAMES || lagWaived))
        return WatchNext::Frame;
    // Played all there is of a match the players have left.
    if (PlayersGone && WatchFrame >= kept) return WatchNext::Over;
    return WatchNext::Wait;
}

void WatchBegin() {
    Begun = true;
    WatchFrame = 0;
    WatchMatchSeconds = Matches.front().seconds;
}

uint8_t WatchBottomInput() { return Matches.front().bottom[WatchFrame]; }
uint8_t WatchTopInput() { return Matches.front().top[WatchFrame]; }

bool WatchHurry() {
    return Begun && Matches.front().bottom.size() - WatchFrame > 2 * WATCH_LAG_FRAMES;
}

void WatchPlayed(uint32_t checksum) {
    const std::map<uint32_t, uint32_t>& checks = Matches.front().checks;
    const auto check = checks.find(WatchFrame);
    if (check != checks.end() && check->second != checksum && WatchOutOfStep == 0)
        WatchOutOfStep = WatchFrame + 1;
    ++WatchFrame;
}

void WatchMatchOver() {
    // What the players gave beyond the match's last frame is not played.
    if (!Matches.empty()) Matches.pop_front();
    Begun = false;
    WatchFrame = 0;
}
