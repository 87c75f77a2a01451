// The messages the two sides of an online match send each other, and the one
// reader that takes them from the network. Everything that arrives is
// hostile until this reader has taken it: a length or a count is believed
// only within the limits below. docs/online.md describes the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t ONLINE_PROTOCOL = 2;
constexpr uint16_t ONLINE_DEFAULT_PORT = 24860;
// The relay players meet through by room code: UDP for games, TCP
// (WebSocket, and GET /status) for browsers, on the same port number.
constexpr uint16_t RELAY_DEFAULT_PORT = 24861;
// No message is longer: a longer one is not ours.
constexpr size_t ONLINE_MAX_MESSAGE = 512;
// Inputs in one message: about four seconds of play, far more than are ever
// unacknowledged on a link that is still up.
constexpr uint32_t ONLINE_MAX_INPUTS = 128;
constexpr uint32_t ONLINE_MAX_CHECKS = 4;
constexpr size_t ONLINE_MAX_VERSION = 32;
// A room's code: five letters with no look-alikes among them (no B/8, I/L/1,
// O/0, S/5, Z/2), so a code read out or typed from a phone is taken right.
constexpr size_t ROOM_CODE_LETTERS = 5;
constexpr const char ROOM_CODE_ALPHABET[] = "ACDEFGHJKMNPQRTUVWXY";
// Frames of both sides in one Watch message, and checksums with them.
constexpr uint32_t WATCH_MAX_FRAMES = 128;
constexpr uint32_t WATCH_MAX_CHECKS = 4;

enum class OnlineKind : uint8_t {
    Hello = 1,    // guest -> host: who I am
    Welcome = 2,  // host -> guest: you are in; the first match's calendar
    Refuse = 3,   // host -> guest: you are not (Refusal), and who I am
    Inputs = 4,   // either way, many times a second: inputs, acks, checksums
    Leave = 5,    // either way: the match is over for me (LeaveReason)
    Rematch = 6,  // either way: I pressed Space for the next match
    // Between a game and a relay only; the relay passes 1 to 6 on unchanged.
    Room = 7,        // game -> relay: make me a room, or let me join or watch one
    RoomIs = 8,      // relay -> game: you are in room `code`, as you asked
    RoomRefuse = 9,  // relay -> game: you are not, or no longer (RoomRefusal)
    Watch = 10,      // relay -> watcher: both sides' inputs for frames in order
};

enum class Refusal : uint8_t { Version = 1, Full = 2 };
// Lost: the relay lost the other side's connection (it says so for it).
enum class LeaveReason : uint8_t { Left = 1, OutOfStep = 2, Closed = 3, Lost = 4 };
enum class RoomWant : uint8_t { Host = 1, Join = 2, Watch = 3 };
enum class RoomRefusal : uint8_t {
    NoSuchRoom = 1,       // no room has that code (or it has closed)
    Full = 2,             // the room has its two players
    TooManyRooms = 3,     // the relay holds all the rooms it may
    TooManyWatchers = 4,  // the room has all the watchers it may
    Protocol = 5,         // another online protocol: the game is of another version
    OverLimit = 6,        // too many connections from one address, or messages a second
    NotAllowed = 7,       // a message this peer may not send (a watcher's inputs)
    Idle = 8,             // nothing said for too long
    Closed = 9,           // the relay is shutting down
};
constexpr uint8_t ROOM_REFUSAL_LAST = 9;

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
    // Room: what the game wants ("VLNO", protocol and version as in Hello);
    // Room (Join, Watch) and RoomIs: the room's code, ROOM_CODE_LETTERS
    // letters of ROOM_CODE_ALPHABET (empty in a Room that asks for a new one).
    RoomWant want = RoomWant::Host;
    std::string code;
    RoomRefusal roomRefusal = RoomRefusal::NoSuchRoom;
    // Watch: `match` and `matchSeconds` as in Welcome; frames first,
    // first + 1, ... with the bottom side's input in `inputs` and the top
    // side's in `topInputs` (as many); the host's checksums after the frames
    // in `checkFrames`, one in `checks` for each.
    std::vector<uint8_t> topInputs;
    std::vector<uint32_t> checkFrames;
};

// Whether `code` is a room code as the relay makes them.
bool IsRoomCode(const std::string& code);
// What a player typed, as a room code: letters upper-cased, spaces and
// dashes dropped; "" when it cannot be one.
std::string NormalRoomCode(const std::string& typed);

// A Room from a program of `gameVersion` asking for `want`: the room's
// code to join or watch, "" to host.
OnlineMessage RoomAsk(RoomWant want, const std::string& code, const std::string& gameVersion);

std::vector<uint8_t> EncodeOnlineMessage(const OnlineMessage& message);
// False with a reason in `why` for bytes that are not one whole message of
// this protocol; then `message` is partly filled and must not be used. A
// Hello or Refuse of another protocol version still reads (their first
// fields keep their places in every version), so the two sides can say
// which versions they are.
bool DecodeOnlineMessage(const uint8_t* bytes, size_t size, OnlineMessage* message,
                         std::string* why);
