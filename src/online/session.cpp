#include "online/session.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

#include "clock/random.h"
#include "common/layout.h"
#include "common/printable.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/input.h"
#include "match/match.h"
#include "match/match_input.h"
#include "online/link.h"
#include "online/lockstep.h"
#include "online/watch.h"
#include "platform/platform.h"

bool OnlineOn = false;
int64_t OnlineMatchSeconds = 0;
std::string OnlineEnding;

namespace {

constexpr uint32_t JoinTimeoutMs = 15000;
constexpr uint32_t SilenceLimitMs = 5000;
constexpr uint32_t WaitingNoteMs = 500;  // a stall this long is said on screen
constexpr uint32_t ResendMs = 33;        // while stalled, the inputs go out again
constexpr uint32_t KeepAliveMs = 250;    // between matches
constexpr int32_t EventsPerLook = 64;    // a flood cannot hold a frame up
constexpr uint32_t White = 0xFFFFFF;
constexpr int32_t TextX = 120;
constexpr int32_t NoteX = 200;
constexpr int32_t NoteY = 230;

uint32_t OtherPeer = 0;  // the other side's connection; 0: none
bool Ended = false;
uint8_t OtherRematch = 0;  // the match the other side pressed Space for
int64_t OtherSeconds = 0;  // and (from the host) its calendar
uint32_t LastSent = 0;
std::string PlayersGoneWhy;  // a watcher's: why the players left

// For the summary.
uint32_t FramesPlayed = 0;
uint32_t FramesStalled = 0;
uint32_t LeastDelay = LOCKSTEP_MAX_DELAY;
uint32_t MostDelay = 0;
uint32_t SessionStart = 0;

void Say(const std::string& line) { std::fprintf(stderr, "volleen: %s\n", line.c_str()); }

void End(const std::string& why) {
    if (Ended) return;
    Ended = true;
    OnlineEnding = why;
    if (!why.empty()) Say("online: " + why);
}

// A still screen of lines on black.
void ShowLines(const std::vector<std::string>& lines) {
    FillSurface(PrimarySurface, 0);
    int32_t y = 180;
    for (const std::string& line : lines) {
        DrawTextRgb(line.c_str(), TextX, y, White, PrimarySurface);
        y += 24;
    }
}

// A word over the court, which the next frame draws over again.
void ShowNote(const char* text) {
    DrawTextIndexed(text, NoteX, NoteY, PROMPT_COLOUR, PrimarySurface);
}

OnlineMessage Greeting(OnlineKind kind) {
    OnlineMessage m;
    m.kind = kind;
    m.gameVersion = VOLLEEN_VERSION;
    return m;
}

std::string VersionMismatch(const OnlineMessage& other) {
    return "the other side runs Volleen " + other.gameVersion + " (online protocol " +
           std::to_string(other.protocol) + "), this is " VOLLEEN_VERSION " (online protocol " +
           std::to_string(ONLINE_PROTOCOL) + "): both need the same version";
}

bool SameVersion(const OnlineMessage& other) {
    return other.protocol == ONLINE_PROTOCOL && other.gameVersion == VOLLEEN_VERSION;
}

std::string RoomRefusalText(RoomRefusal refusal) {
    switch (refusal) {
        case RoomRefusal::NoSuchRoom:
            return "there is no such room (a room closes when its players leave)";
        case RoomRefusal::Full:
            return "the match there is full";
        case RoomRefusal::TooManyRooms:
            return "the relay has no room to spare; try again later";
        case RoomRefusal::TooManyWatchers:
            return "the room has all the watchers it can take";
        case RoomRefusal::Protocol:
            return "the relay speaks another version of the online protocol";
        case RoomRefusal::OverLimit:
            return "the relay dropped this game for going over its limits";
        case RoomRefusal::NotAllowed:
            return "the relay refused a message from this game";
        case RoomRefusal::Idle:
            return "the relay closed the room after a long silence";
        case RoomRefusal::Closed:
            return "the relay is shutting down";
    }
    return "the relay refused";
}

// The relay, as the player named it.
std::string RelayName() {
    const bool url = OnlineAddress.find("://") != std::string::npos;
    return url ? OnlineAddress : OnlineAddress + ":" + std::to_string(OnlinePort);
}

// What the link connects to. A URL (a browser's relay) carries the room's
// code, so that a proxy in front of several relays can find the room's.
std::string ConnectAddress() {
    if (!OnlineViaRelay || OnlineRoom.empty() || OnlineAddress.find("://") == std::string::npos)
        return OnlineAddress;
    return OnlineAddress + (OnlineAddress.find('?') == std::string::npos ? "?" : "&") +
           "room=" + OnlineRoom;
}

OnlineMessage RoomRequest(RoomWant want) {
    OnlineMessage room = Greeting(OnlineKind::Room);
    room.want = want;
    if (want != RoomWant::Host) room.code = OnlineRoom;
    return room;
}

void SendInputs() {
    LinkSend(OtherPeer, LockstepMessage(), false);
    LastSent = platform::TickCount();
}

// A stranger (the host has its guest) is told the match is full once it
// says hello; anything else from it is counted.
void Stranger(const LinkEvent& event) {
    if (event.kind != platform::NetEventKind::Message) return;
    if (event.message.kind == OnlineKind::Hello) {
        OnlineMessage full = Greeting(OnlineKind::Refuse);
        full.refusal = Refusal::Full;
        LinkSend(event.peer, full, true);
        platform::NetDisconnect(event.peer);
        LinkRefuse("a player who came when the match was full");
        return;
    }
    LinkRefuse("a message from outside the match");
}

// Takes what has arrived, a bounded number at a time.
void Look() {
    LinkEvent event;
    for (int32_t i = 0; i < EventsPerLook && LinkNext(&event); ++i) {
        if (event.peer != OtherPeer) {
            Stranger(event);
            continue;
        }
        if (event.kind == platform::NetEventKind::Disconnected) {
            End("Connection lost");
            continue;
        }
        if (event.kind != platform::NetEventKind::Message) continue;
        const OnlineMessage& m = event.message;
        switch (m.kind) {
            case OnlineKind::Inputs:
                LinkHeard(event);
                // The match before this one may still have messages on the way.
                if (m.match == LockstepMatch && !LockstepTake(m)) {
                    LinkRefuse("inputs that do not fit the match");
                }
                break;
            case OnlineKind::Leave:
                LinkHeard(event);
                End(m.reason == LeaveReason::OutOfStep ? "The two games are out of step"
                    : m.reason == LeaveReason::Lost    ? "Connection lost"
                                                       : "The other player has left");
                break;
            case OnlineKind::Rematch:
                LinkHeard(event);
                OtherRematch = m.match;
                OtherSeconds = m.matchSeconds;
                break;
            case OnlineKind::RoomRefuse:
                End("Connection lost: " + RoomRefusalText(m.roomRefusal));
                break;
            default:
                break;  // a greeting said twice
        }
    }
    if (!Ended && LinkSilence > SilenceLimitMs) End("Connection lost");
    if (!Ended && LockstepOutOfStep != 0) {
        OnlineMessage leave;
        leave.kind = OnlineKind::Leave;
        leave.reason = LeaveReason::OutOfStep;
        LinkSend(OtherPeer, leave, true);
        End("The two games are out of step");
        Say("online: the checksums differ from frame " + std::to_string(LockstepOutOfStep - 1));
    }
}

// Takes what has arrived, and this side's own ways out (Escape, the window
// closed): false once the session has ended.
bool StillOn() {
    Look();
    if (!Ended && EscapeHeld()) OnlineLeave(LeaveReason::Left);
    if (!Ended && platform::CloseRequested()) OnlineLeave(LeaveReason::Closed);
    return !Ended;
}

// Frames of delay that let the other side's input usually come in time: its
// way across (half the round trip, and half how much that strays), and one
// frame more, so that when a message is lost the next one, sent a frame
// later, is still in time. Never less than two.
uint32_t DelayFor(uint32_t roundTrip, uint32_t spread) {
    const uint32_t wayAcrossMs = (roundTrip + spread) / 2;
    const uint32_t frames = (wayAcrossMs + 33 + 32) / 33;
    return std::clamp<uint32_t>(frames, 2, LOCKSTEP_MAX_DELAY);
}

void NoteDelay() {
    if (LockstepDelay < LeastDelay) LeastDelay = LockstepDelay;
    if (LockstepDelay > MostDelay) MostDelay = LockstepDelay;
}

// A guest's Hello: welcomed (true), or refused for another version.
bool Welcomed(const LinkEvent& event) {
    const OnlineMessage& m = event.message;
    if (!SameVersion(m)) {
        OnlineMessage refuse = Greeting(OnlineKind::Refuse);
        refuse.refusal = Refusal::Version;
        LinkSend(event.peer, refuse, true);
        if (!OnlineViaRelay) platform::NetDisconnect(event.peer);
        LinkRefuse("a player with another version", VersionMismatch(m));
        return false;
    }
    OtherPeer = event.peer;
    LinkHeard(event);
    OnlineMatchSeconds = platform::CalendarSeconds();
    OnlineMessage welcome = Greeting(OnlineKind::Welcome);
    welcome.match = 1;
    welcome.matchSeconds = OnlineMatchSeconds;
    LinkSend(OtherPeer, welcome, true);
    return true;
}

bool HostMeet() {
    std::string why;
    if (!platform::NetListen(OnlinePort, 4, &why)) {
        End("cannot host: " + why);
        return false;
    }
    std::string addresses;
    for (const std::string& address : platform::NetLocalAddresses())
        addresses += (addresses.empty() ? "" : ", ") + address;
    if (addresses.empty()) addresses = "none but this machine's own";
    const std::string waiting = "Waiting for a player on port " + std::to_string(OnlinePort);
    ShowLines({waiting, "This machine's addresses: " + addresses, "", "Escape: back to the menu"});
    Say("online: " + waiting + " (addresses: " + addresses + ")");
    for (;;) {
        LinkEvent event;
        while (LinkNext(&event)) {
            if (event.kind != platform::NetEventKind::Message) continue;
            if (event.message.kind != OnlineKind::Hello) {
                LinkRefuse("a message from outside the match");
                continue;
            }
            if (Welcomed(event)) return true;
        }
        if (EscapeHeld() || platform::CloseRequested()) {
            End("");
            return false;
        }
        platform::WaitForInput(10);
    }
}

// The room is made: its code on the screen, and on stdout for whoever
// started the game from a script.
void ShowRoom() {
    ShowLines({"Room " + OnlineRoom + " at the relay " + RelayName(),
               "The other player joins with this code.", "", "Waiting for a player...", "",
               "Escape: back to the menu"});
    Say("online: room " + OnlineRoom + " at the relay " + RelayName());
    std::printf("room %s\n", OnlineRoom.c_str());
    std::fflush(stdout);
}

// Connects (to the host, or to the relay) and meets: a guest until it is
// welcomed, a watcher until it is in the room, a host through a relay until a
// guest has said hello. Connecting and a guest's greeting take 15 seconds at
// most; a host waits for its guest as long as it takes.
bool Meet() {
    const bool host = OnlineSide == OnlineRole::Host;
    const bool watcher = OnlineSide == OnlineRole::Watcher;
    const std::string where =
        OnlineViaRelay ? (host ? "the relay " : "room " + OnlineRoom + " at ") + RelayName()
                       : RelayName();
    const std::string failed = (host      ? "cannot make a room at "
                                : watcher ? "cannot watch "
                                          : "cannot join ") +
                               where + ": ";
    std::string why;
    if (!platform::NetConnect(ConnectAddress().c_str(), OnlinePort, &why)) {
        End(failed + why);
        return false;
    }
    ShowLines({"Connecting to " + where + "...", "", "Escape: back to the menu"});
    const uint32_t start = platform::TickCount();
    bool connected = false;
    bool inRoom = false;
    for (;;) {
        LinkEvent event;
        while (LinkNext(&event)) {
            if (event.kind == platform::NetEventKind::Connected) {
                connected = true;
                OtherPeer = event.peer;
                if (OnlineViaRelay) {
                    LinkSend(OtherPeer,
                             RoomRequest(host      ? RoomWant::Host
                                         : watcher ? RoomWant::Watch
                                                   : RoomWant::Join),
                             true);
                } else {
                    LinkSend(OtherPeer, Greeting(OnlineKind::Hello), true);
                }
                continue;
            }
            if (event.kind == platform::NetEventKind::Disconnected) {
                if (inRoom) {
                    End("Connection lost");
                    return false;
                }
                // The other side may not be up yet: knock again while there is time.
                connected = false;
                OtherPeer = 0;
                if (!platform::NetConnect(ConnectAddress().c_str(), OnlinePort, &why)) {
                    End(failed + why);
                    return false;
                }
                continue;
            }
            const OnlineMessage& m = event.message;
            switch (m.kind) {
                case OnlineKind::RoomRefuse:
                    End(failed + RoomRefusalText(m.roomRefusal));
                    return false;
                case OnlineKind::RoomIs:
                    inRoom = true;
                    OnlineRoom = m.code;
                    if (watcher) return true;
                    if (host) {
                        ShowRoom();
                    } else {
                        LinkSend(OtherPeer, Greeting(OnlineKind::Hello), true);
                    }
                    break;
                case OnlineKind::Hello:
                    if (host && inRoom && Welcomed(event)) return true;
                    break;
                case OnlineKind::Refuse:
                    End(failed + (m.protocol == ONLINE_PROTOCOL && m.refusal == Refusal::Full &&
                                          m.gameVersion == VOLLEEN_VERSION
                                      ? "the match there is full"
                                      : VersionMismatch(m)));
                    return false;
                case OnlineKind::Welcome:
                    if (host) break;
                    if (!SameVersion(m)) {
                        End(failed + VersionMismatch(m));
                        return false;
                    }
                    LinkHeard(event);
                    OnlineMatchSeconds = m.matchSeconds;
                    return true;
                case OnlineKind::Leave:
                    // A guest that came and went leaves the room open for another.
                    if (!host) {
                        End(failed + "the host has left");
                        return false;
                    }
                    break;
                default:
                    LinkRefuse("a message from outside the match");
                    break;
            }
        }
        if (EscapeHeld() || platform::CloseRequested()) {
            End("");
            return false;
        }
        const bool waitingForGuest = host && inRoom;
        if (!waitingForGuest && platform::TickCount() - start > JoinTimeoutMs) {
            End(failed + (!connected                  ? "no answer in 15 seconds"
                          : OnlineViaRelay && !inRoom ? "the relay did not answer"
                                                      : "the host did not answer the greeting"));
            return false;
        }
        platform::WaitForInput(10);
    }
}

}  // namespace

bool OnlineMeet() {
    OnlineOn = true;
    Ended = false;
    OnlineEnding.clear();
    OtherPeer = 0;
    OtherRematch = 0;
    FramesPlayed = FramesStalled = 0;
    LeastDelay = LOCKSTEP_MAX_DELAY;
    MostDelay = 0;
    LinkReset();
    WatchReset();
    PlayersGoneWhy.clear();
    const bool met = OnlineSide == OnlineRole::Host && !OnlineViaRelay ? HostMeet() : Meet();
    SessionStart = platform::TickCount();
    if (!met) return false;
    if (OnlineSide == OnlineRole::Watcher) {
        ShowLines({"Watching room " + OnlineRoom, "", "Waiting for the match...", "",
                   "Escape: back to the menu"});
        return true;
    }
    LockstepStart(1, DelayFor(LinkRoundTrip, LinkRoundTripSpread));
    CalendarMatchStart = OnlineMatchSeconds;
    CalendarMatchFrames = 0;
    return true;
}

bool OnlineExchange(uint8_t ownInput) {
    Look();
    if (Ended) return false;
    // Between rallies the delay follows the round trip, a frame at a time.
    if (MatchState == MATCH_AWAITING_SERVE && LinkRoundTrip != 0) {
        const uint32_t wanted = DelayFor(LinkRoundTrip, LinkRoundTripSpread);
        if (wanted > LockstepDelay) ++LockstepDelay;
        if (wanted < LockstepDelay) --LockstepDelay;
    }
    NoteDelay();
    LockstepGive(ownInput);
    SendInputs();
    if (!LockstepReady()) {
        ++FramesStalled;
        const uint32_t start = platform::TickCount();
        bool noted = false;
        while (!LockstepReady()) {
            platform::Sleep(1);
            if (!StillOn()) return false;
            const uint32_t now = platform::TickCount();
            if (now - LastSent >= ResendMs) SendInputs();
            if (!noted && now - start >= WaitingNoteMs) {
                ShowNote("Waiting for the other player...");
                noted = true;
            }
        }
    }
    // The side that runs ahead of the other waits a little, so that neither
    // keeps stalling the other.
    const uint32_t otherNow = LockstepOtherFrame() + LinkRoundTrip / 2 / 33;
    if (LockstepFrame > otherNow + 1) platform::Sleep(LockstepFrame - otherNow > 3 ? 8 : 4);
    CalendarMatchFrames = LockstepFrame;
    return true;
}

uint8_t OnlineBottomInput() {
    return OnlineSide == OnlineRole::Host ? LockstepOwnInput() : LockstepOtherInput();
}

uint8_t OnlineTopInput() {
    return OnlineSide == OnlineRole::Host ? LockstepOtherInput() : LockstepOwnInput();
}

void OnlineFramePlayed(uint32_t checksum) {
    LockstepPlayed(checksum);
    ++FramesPlayed;
    // A difference found now is acted on before the next frame.
    Look();
}

bool OnlineRematch() {
    const uint8_t next = static_cast<uint8_t>(LockstepMatch + 1);
    DrawTextRgb("Space: play again   Escape: leave", 180, 290, White, PrimarySurface);
    bool ready = false;
    bool spaceUp = false;  // Space held from the last serve is no answer
    for (;;) {
        if (!StillOn()) return false;
        const bool space = (ReadOwnSideInput() & ONLINE_SERVE) != 0;
        if (!space) spaceUp = true;
        if (!ready && spaceUp && space) {
            ready = true;
            OnlineMessage rematch;
            rematch.kind = OnlineKind::Rematch;
            rematch.match = next;
            rematch.matchSeconds = OnlineSide == OnlineRole::Host ? platform::CalendarSeconds() : 0;
            if (OnlineSide == OnlineRole::Host) OnlineMatchSeconds = rematch.matchSeconds;
            LinkSend(OtherPeer, rematch, true);
            ShowNote("Waiting for the other player...");
        }
        if (ready && OtherRematch == next) {
            if (OnlineSide == OnlineRole::Guest) OnlineMatchSeconds = OtherSeconds;
            LockstepStart(next, LockstepDelay);
            CalendarMatchStart = OnlineMatchSeconds;
            CalendarMatchFrames = 0;
            return true;
        }
        // Quiet between matches would look like a lost line.
        if (platform::TickCount() - LastSent >= KeepAliveMs) SendInputs();
        platform::WaitForInput(10);
    }
}

void OnlineShowEnding() {
    std::vector<std::string> lines;
    std::istringstream wrapped(WrapWords(OnlineEnding, 60));
    for (std::string line; std::getline(wrapped, line);) lines.push_back(line);
    ShowLines(lines);
}

void OnlineLeave(LeaveReason reason) {
    // A watcher only listens: it just goes.
    if (OnlineSide != OnlineRole::Watcher) {
        OnlineMessage leave;
        leave.kind = OnlineKind::Leave;
        leave.reason = reason;
        LinkSend(OtherPeer, leave, true);
    }
    End("");
}

bool OnlineWatchLook() {
    LinkEvent event;
    for (int32_t i = 0; i < EventsPerLook && LinkNext(&event); ++i) {
        // The relay goes after the players' Leave; gone before it, what
        // came is still played out, and then the line is said to be lost.
        if (event.kind == platform::NetEventKind::Disconnected) {
            if (PlayersGoneWhy.empty()) PlayersGoneWhy = "Connection lost";
            WatchPlayersGone();
            continue;
        }
        if (event.kind != platform::NetEventKind::Message) continue;
        const OnlineMessage& m = event.message;
        switch (m.kind) {
            case OnlineKind::Watch:
                if (!WatchTake(m, platform::TickCount()))
                    LinkRefuse("watched frames that do not follow the ones before");
                break;
            case OnlineKind::Leave:
                // Everything the players played has been sent before this.
                WatchPlayersGone();
                PlayersGoneWhy = m.reason == LeaveReason::OutOfStep
                                     ? "The two games are out of step"
                                 : m.reason == LeaveReason::Lost ? "Connection lost"
                                                                 : "The players have left";
                break;
            case OnlineKind::RoomRefuse:
                End("Connection lost: " + RoomRefusalText(m.roomRefusal));
                break;
            default:
                LinkRefuse("a message a watcher does not take");
                break;
        }
    }
    if (!Ended && WatchOutOfStep != 0) {
        End("This game is out of step with the players'");
        Say("online: the checksums differ from frame " + std::to_string(WatchOutOfStep - 1));
    }
    if (!Ended && (EscapeHeld() || platform::CloseRequested())) End("");
    return !Ended;
}

void OnlineWatchPlayed(uint32_t checksum) {
    WatchPlayed(checksum);
    ++FramesPlayed;
}

void OnlineWatchOver() { End(PlayersGoneWhy); }

void OnlineClose() {
    if (!OnlineOn) return;
    if (OtherPeer != 0) {
        // The goodbye has a moment to be taken before the link goes.
        platform::NetDisconnect(OtherPeer);
        const uint32_t start = platform::TickCount();
        LinkEvent event;
        bool gone = false;
        while (!gone && platform::TickCount() - start < 300) {
            while (LinkNext(&event)) {
                if (event.peer == OtherPeer && event.kind == platform::NetEventKind::Disconnected)
                    gone = true;
            }
            platform::Sleep(1);
        }
    }
    platform::NetClose();
    OnlineOn = false;
    CalendarMatchStart = -1;
    OtherPeer = 0;
    uint64_t sent = 0;
    uint64_t received = 0;
    platform::NetTraffic(&sent, &received);
    const double seconds = (platform::TickCount() - SessionStart) / 1000.0;
    char line[256];
    std::snprintf(
        line, sizeof line,
        "online: %u frames, %u stalled (%.2f %%), input delay %u to %u frames, round "
        "trip %u ms, sent %.0f B/s, received %.0f B/s, %u messages refused",
        FramesPlayed, FramesStalled, FramesPlayed != 0 ? 100.0 * FramesStalled / FramesPlayed : 0.0,
        MostDelay != 0 ? LeastDelay : 0, MostDelay, LinkRoundTrip,
        seconds > 0 ? sent / seconds : 0.0, seconds > 0 ? received / seconds : 0.0, LinkRefused);
    Say(line);
}
