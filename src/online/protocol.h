// The messages the two sides of an online match send each other, and the one
// reader that takes them from the network. Everything that arrives is
// hostile until this reader has taken it: a length or a count is believed
// only within the limits below. docs/online.md describes the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t ONLINE_PROTOCOL = 1;
constexpr uint16_t ONLINE_DEFAULT_PORT = 24860;
// No message is longer: a longer one is not ours.
constexpr size_t ONLINE_MAX_MESSAGE = 512;
// Inputs in one message: about four seconds of play, far more than are ever
// unacknowledged on a link that is still up.
constexpr uint32_t ONLINE_MAX_INPUTS = 128;
constexpr uint32_t ONLINE_MAX_CHECKS = 4;
constexpr size_t ONLINE_MAX_VERSION = 32;

enum class OnlineKind : uint8_t {
    Hello = 1,    // guest -> host: who I am
    Welcome = 2,  // host -> guest: you are in; the first match's calendar
    Refuse = 3,   // host -> guest: you are not (Refusal), and who I am
    Inputs = 4,   // either way, many times a second: inputs, acks, checksums
    Leave = 5,    // either way: the match is over for me (LeaveReason)
    Rematch = 6,  // either way: I pressed Space for the next match
};

enum class Refusal : uint8_t { Version = 1, Full = 2 };
enum class LeaveReason : uint8_t { Left = 1, OutOfStep = 2, Closed = 3 };

struct OnlineMessage {
    OnlineKind kind = OnlineKind::Inputs;
    // Hello, Welcome, Refuse: the sender's protocol and game version.
    uint16_t protocol = ONLINE_PROTOCOL;
    std::string gameVersion;
    Refusal refusal = Refusal::Full;
    LeaveReason reason = LeaveReason::Left;
    // Welcome, Rematch: which match (counted from 1), and (from the host) the
    // calendar seconds it starts from.
    uint8_t match = 0;
    int64_t matchSeconds = 0;
    // Hello, Welcome, Inputs: milliseconds on the sender's clock, and the
    // newest such stamp it has had from the other side with how long it held
    // it before this message: the round trip, measured without shared clocks.
    uint16_t stamp = 0;
    uint16_t echo = 0;
    uint16_t held = 0;
    // Inputs: the frame the sender is about to play; every frame of the
    // other side's below `ack` has arrived; the sender's inputs for frames
    // first, first + 1, ...; the checksums of its state after frames
    // checkFirst, checkFirst + 1, ...
    uint32_t frame = 0;
    uint32_t ack = 0;
    uint32_t first = 0;
    std::vector<uint8_t> inputs;
    uint32_t checkFirst = 0;
    std::vector<uint32_t> checks;
};

std::vector<uint8_t> EncodeOnlineMessage(const OnlineMessage& message);
// False with a reason in `why` for bytes that are not one whole message of
// this protocol; then `message` is partly filled and must not be used. A
// Hello or Refuse of another protocol version still reads (their first
// fields keep their places in every version), so the two sides can say
// which versions they are.
bool DecodeOnlineMessage(const uint8_t* bytes, size_t size, OnlineMessage* message,
                         std::string* why);
