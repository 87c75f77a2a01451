#include "replay/replay_file.h"

#include "common/byte_order.h"
#include "match/match.h"

namespace {

constexpr uint8_t Magic[4] = {'V', 'L', 'N', 'R'};
constexpr size_t MaxVersionBytes = 32;
// In an input run's code: the run's whole input byte follows.
constexpr uint8_t WholeByte = 7;

void AppendVarint(std::vector<uint8_t>& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

uint64_t ZigZag(int64_t value) {
    return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}
int64_t UnZigZag(uint64_t value) {
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

// Reads what the bytes hold and never past them; the first failure is kept
// and every later read gives 0.
class Reader {
public:
    Reader(const uint8_t* bytes, size_t count) : bytes_(bytes), count_(count) {}

    bool Failed() const { return !why_.empty(); }
    const std::string& Why() const { return why_; }
    size_t Left() const { return count_ - at_; }
    void Fail(const std::string& why) {
        if (why_.empty()) why_ = why;
    }

    const uint8_t* Take(size_t n) {
        if (Failed()) return nullptr;
        if (n > Left()) {
            Fail("cut short at byte " + std::to_string(count_));
            return nullptr;
        }
        const uint8_t* p = bytes_ + at_;
        at_ += n;
        return p;
    }
    uint8_t Byte() {
        const uint8_t* p = Take(1);
        return p ? *p : 0;
    }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p ? ReadLe32(p) : 0;
    }
    uint64_t Varint() {
        uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t* p = Take(1);
            if (p == nullptr) return 0;
            value |= static_cast<uint64_t>(*p & 0x7F) << shift;
            if ((*p & 0x80) == 0) return value;
        }
        Fail("a number runs on at byte " + std::to_string(at_));
        return 0;
    }
    // A count of items of at least one byte each, held to `limit`.
    size_t Count(uint64_t limit, const char* what) {
        const uint64_t n = Varint();
        if (!Failed() && n > limit) {
            Fail(std::string("too many ") + what + " (" + std::to_string(n) + ")");
            return 0;
        }
        if (!Failed() && n > Left()) {
            Fail("cut short at byte " + std::to_string(count_) + " (" + std::to_string(n) + " " +
                 what + " to come)");
            return 0;
        }
        return static_cast<size_t>(n);
    }

private:
    const uint8_t* bytes_;
    size_t count_;
    size_t at_ = 0;
    std::string why_;
};

}  // namespace

std::vector<uint8_t> EncodeReplay(const Replay& replay) {
    std::vector<uint8_t> out(Magic, Magic + 4);
    AppendLe16(out, REPLAY_FORMAT);
    const std::string version = replay.gameVersion.substr(0, MaxVersionBytes);
    out.push_back(static_cast<uint8_t>(version.size()));
    out.insert(out.end(), version.begin(), version.end());
    out.push_back(replay.mode);
    out.push_back(replay.court);
    out.push_back(replay.ending);
    AppendLe32(out, replay.frames);
    out.insert(out.end(), replay.startState, replay.startState + MATCH_STATE_BYTES);

    // Calendar seconds: the first whole, then the steps between them.
    AppendVarint(out, replay.calendar.size());
    int64_t previous = 0;
    for (int64_t seconds : replay.calendar) {
        AppendVarint(out, ZigZag(static_cast<int64_t>(static_cast<uint64_t>(seconds) -
                                                      static_cast<uint64_t>(previous))));
        previous = seconds;
    }
    AppendVarint(out, replay.checksums.size());
    for (uint32_t checksum : replay.checksums) AppendLe32(out, checksum);
    // A run is mostly one key pressed or let go: the bit that changed and the
    // run's length share one number (a byte for runs up to 16 frames); any
    // other change names the whole byte. The mouse's motion only where the
    // rules read it.
    const bool mouse = replay.mode == MODE_AGAINST_COMPUTER;
    AppendVarint(out, replay.inputs.size());
    uint8_t held = 0;
    for (const InputRun& run : replay.inputs) {
        const uint8_t change = held ^ run.input.held;
        uint64_t code = WholeByte;
        for (uint8_t bit = 0; bit < WholeByte; ++bit) {
            if (change == 1u << bit) code = bit;
        }
        AppendVarint(out, (uint64_t{run.frames} - 1) << 3 | code);
        if (code == WholeByte) out.push_back(run.input.held);
        if (mouse) AppendVarint(out, ZigZag(run.input.mouseX));
        held = run.input.held;
    }
    return out;
}

bool DecodeReplay(const uint8_t* bytes, size_t count, Replay* replay, std::string* why) {
    auto refuse = [why](const std::string& reason) {
        if (why != nullptr) *why = reason;
        return false;
    };
    if (count > MAX_REPLAY_FILE_BYTES) {
        return refuse("larger than " + std::to_string(MAX_REPLAY_FILE_BYTES) + " bytes");
    }
    Reader in(bytes, count);
    const uint8_t* magic = in.Take(4);
    if (magic == nullptr || !std::equal(magic, magic + 4, Magic)) {
        return refuse("not a replay (wrong magic)");
    }
    const uint8_t* format = in.Take(2);
    if (format != nullptr && ReadLe16(format) != REPLAY_FORMAT) {
        return refuse("format " + std::to_string(ReadLe16(format)) + " is " +
                      (ReadLe16(format) > REPLAY_FORMAT ? "newer" : "other") +
                      " than this game's " + std::to_string(REPLAY_FORMAT));
    }
    Replay r;
    const uint8_t versionBytes = in.Byte();
    if (versionBytes > MaxVersionBytes)
        in.Fail("a game version of " + std::to_string(versionBytes) + " bytes");
    if (const uint8_t* version = in.Take(versionBytes)) {
        r.gameVersion.assign(reinterpret_cast<const char*>(version), versionBytes);
    }
    r.mode = in.Byte();
    r.court = in.Byte();
    r.ending = in.Byte();
    r.frames = in.U32();
    if (const uint8_t* state = in.Take(MATCH_STATE_BYTES)) {
        std::copy(state, state + MATCH_STATE_BYTES, r.startState);
    }
    if (!in.Failed() && r.mode != MODE_AGAINST_COMPUTER && r.mode != MODE_TWO_PLAYERS) {
        in.Fail("an unknown mode " + std::to_string(r.mode));
    }
    if (!in.Failed() && r.frames > REPLAY_MAX_FRAMES) {
        in.Fail("too many frames (" + std::to_string(r.frames) + ")");
    }

    // A frame reads the calendar at most twice (the serve, the split).
    const size_t seconds = in.Count(2 * uint64_t{r.frames}, "calendar readings");
    r.calendar.reserve(seconds);
    int64_t previous = 0;
    for (size_t i = 0; i < seconds && !in.Failed(); ++i) {
        // Steps wrap as the encoder's did: no value is out of reach.
        previous = static_cast<int64_t>(static_cast<uint64_t>(previous) +
                                        static_cast<uint64_t>(UnZigZag(in.Varint())));
        r.calendar.push_back(previous);
    }
    const size_t checks = in.Count(r.frames / REPLAY_CHECK_EVERY + 1, "checksums");
    r.checksums.reserve(checks);
    for (size_t i = 0; i < checks && !in.Failed(); ++i) r.checksums.push_back(in.U32());
    const bool mouse = r.mode == MODE_AGAINST_COMPUTER;
    const size_t runs = in.Count(r.frames, "input runs");
    r.inputs.reserve(runs);
    uint64_t frames = 0;
    uint8_t held = 0;
    for (size_t i = 0; i < runs && !in.Failed(); ++i) {
        InputRun run{};
        const uint64_t code = in.Varint();
        const uint64_t length = (code >> 3) + 1;
        held = (code & 7) == WholeByte ? in.Byte() : held ^ (1u << (code & 7));
        run.input.held = held;
        if (mouse) {
            const int64_t x = UnZigZag(in.Varint());
            if (x < INT32_MIN || x > INT32_MAX) in.Fail("a mouse motion out of range");
            run.input.mouseX = static_cast<int32_t>(x);
        }
        frames += length;
        if (length > r.frames || frames > r.frames || (run.input.held & ~INPUT_ALL) != 0) {
            in.Fail("input run " + std::to_string(i) + " does not fit the frames");
        }
        run.frames = static_cast<uint32_t>(length);
        r.inputs.push_back(run);
    }
    if (!in.Failed() && frames != r.frames)
        in.Fail("the inputs cover " + std::to_string(frames) + " of " + std::to_string(r.frames) +
                " frames");
    if (!in.Failed() && in.Left() != 0) in.Fail(std::to_string(in.Left()) + " bytes after the end");
    if (in.Failed()) return refuse(in.Why());
    *replay = std::move(r);
    return true;
}
