#include "online/protocol.h"

#include <algorithm>
#include <cstring>

#include "common/byte_order.h"
#include "match/match_input.h"

namespace {

constexpr uint8_t Magic[4] = {'V', 'L', 'N', 'O'};

void AppendVersion(std::vector<uint8_t>& out, const std::string& version) {
    const size_t size = version.size() < ONLINE_MAX_VERSION ? version.size() : ONLINE_MAX_VERSION;
    out.push_back(static_cast<uint8_t>(size));
    out.insert(out.end(), version.begin(), version.begin() + static_cast<std::ptrdiff_t>(size));
}

void Append64(std::vector<uint8_t>& out, int64_t value) {
    AppendLe32(out, static_cast<uint32_t>(value));
    AppendLe32(out, static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32));
}

// Takes bytes from the front, never past the end: a read past it fails and
// every later read fails too.
struct Reader {
    const uint8_t* at;
    size_t left;
    bool ok = true;

    const uint8_t* Take(size_t count) {
        if (!ok || count > left) {
            ok = false;
            return nullptr;
        }
        const uint8_t* taken = at;
        at += count;
        left -= count;
        return taken;
    }
    uint8_t U8() {
        const uint8_t* p = Take(1);
        return p != nullptr ? p[0] : 0;
    }
    uint16_t U16() {
        const uint8_t* p = Take(2);
        return p != nullptr ? ReadLe16(p) : 0;
    }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p != nullptr ? ReadLe32(p) : 0;
    }
    int64_t I64() {
        const uint64_t low = U32();
        const uint64_t high = U32();
        return static_cast<int64_t>(high << 32 | low);
    }
};

bool Fail(std::string* why, const std::string& reason) {
    *why = reason;
    return false;
}

bool ReadVersion(Reader& in, std::string* version, std::string* why) {
    const uint8_t size = in.U8();
    if (size > ONLINE_MAX_VERSION) return Fail(why, "a version name too long");
    const uint8_t* text = in.Take(size);
    if (text == nullptr) return Fail(why, "cut short");
    for (size_t i = 0; i < size; ++i) {
        if (text[i] < 0x20 || text[i] > 0x7E) return Fail(why, "a version name that is not text");
    }
    version->assign(reinterpret_cast<const char*>(text), size);
    return true;
}

bool ReadInputs(Reader& in, uint32_t count, std::vector<uint8_t>* inputs, std::string* why) {
    const uint8_t* held = in.Take(count);
    if (held == nullptr) return Fail(why, "cut short");
    inputs->assign(held, held + count);
    for (uint8_t input : *inputs) {
        if ((input & ~ONLINE_ALL) != 0) return Fail(why, "an input with unknown keys");
    }
    return true;
}

void AppendCode(std::vector<uint8_t>& out, const std::string& code) {
    const size_t size = code.size() < ROOM_CODE_LETTERS ? code.size() : ROOM_CODE_LETTERS;
    out.push_back(static_cast<uint8_t>(size));
    out.insert(out.end(), code.begin(), code.begin() + static_cast<std::ptrdiff_t>(size));
}

bool ReadCode(Reader& in, std::string* code, std::string* why) {
    const uint8_t size = in.U8();
    const uint8_t* text = in.Take(size);
    if (text == nullptr) return Fail(why, "cut short");
    code->assign(reinterpret_cast<const char*>(text), size);
    if (!code->empty() && !IsRoomCode(*code)) return Fail(why, "not a room code");
    return true;
}

}  // namespace

bool IsRoomCode(const std::string& code) {
    if (code.size() != ROOM_CODE_LETTERS) return false;
    for (char letter : code) {
        if (letter == '\0' || std::strchr(ROOM_CODE_ALPHABET, letter) == nullptr) return false;
    }
    return true;
}

std::string NormalRoomCode(const std::string& typed) {
    std::string code;
    for (char c : typed) {
        if (c == ' ' || c == '-') continue;
        if (code.size() == ROOM_CODE_LETTERS) return "";
        code += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return IsRoomCode(code) ? code : "";
}

OnlineMessage RoomAsk(RoomWant want, const std::string& code, const std::string& gameVersion) {
    OnlineMessage room;
    room.kind = OnlineKind::Room;
    room.gameVersion = gameVersion;
    room.want = want;
    room.code = code;
    return room;
}

std::vector<uint8_t> EncodeOnlineMessage(const OnlineMessage& m) {
    std::vector<uint8_t> out;
    out.reserve(ONLINE_MAX_MESSAGE);
    out.push_back(static_cast<uint8_t>(m.kind));
    switch (m.kind) {
        case OnlineKind::Hello:
        case OnlineKind::Welcome:
        case OnlineKind::Refuse:
        case OnlineKind::Room:
            out.insert(out.end(), Magic, Magic + 4);
            AppendLe16(out, m.protocol);
            AppendVersion(out, m.gameVersion);
            if (m.kind == OnlineKind::Room) {
                out.push_back(static_cast<uint8_t>(m.want));
                AppendCode(out, m.code);
                break;
            }
            if (m.kind == OnlineKind::Refuse) {
                out.push_back(static_cast<uint8_t>(m.refusal));
                break;
            }
            AppendLe16(out, m.stamp);
            AppendLe16(out, m.echo);
            if (m.kind == OnlineKind::Welcome) {
                out.push_back(m.match);
                Append64(out, m.matchSeconds);
            }
            break;
        case OnlineKind::Inputs:
            out.push_back(m.match);
            AppendLe32(out, m.frame);
            AppendLe32(out, m.ack);
            AppendLe16(out, m.stamp);
            AppendLe16(out, m.echo);
            AppendLe16(out, m.held);
            AppendLe32(out, m.first);
            out.push_back(static_cast<uint8_t>(m.inputs.size()));
            out.insert(out.end(), m.inputs.begin(), m.inputs.end());
            AppendLe32(out, m.checkFirst);
            out.push_back(static_cast<uint8_t>(m.checks.size()));
            for (uint32_t check : m.checks) AppendLe32(out, check);
            break;
        case OnlineKind::Leave:
            out.push_back(static_cast<uint8_t>(m.reason));
            break;
        case OnlineKind::Rematch:
            out.push_back(m.match);
            Append64(out, m.matchSeconds);
            break;
        case OnlineKind::RoomIs:
            out.push_back(static_cast<uint8_t>(m.want));
            AppendCode(out, m.code);
            break;
        case OnlineKind::RoomRefuse:
            out.push_back(static_cast<uint8_t>(m.roomRefusal));
            break;
        case OnlineKind::Watch: {
            out.push_back(m.match);
            Append64(out, m.matchSeconds);
            AppendLe32(out, m.first);
            const size_t count = std::min(m.inputs.size(), m.topInputs.size());
            out.push_back(static_cast<uint8_t>(count));
            out.insert(out.end(), m.inputs.begin(),
                       m.inputs.begin() + static_cast<std::ptrdiff_t>(count));
            out.insert(out.end(), m.topInputs.begin(),
                       m.topInputs.begin() + static_cast<std::ptrdiff_t>(count));
            const size_t checks = std::min(m.checkFrames.size(), m.checks.size());
            out.push_back(static_cast<uint8_t>(checks));
            for (size_t i = 0; i < checks; ++i) {
                AppendLe32(out, m.checkFrames[i]);
                AppendLe32(out, m.checks[i]);
            }
            break;
        }
    }
    return out;
}

bool DecodeOnlineMessage(const uint8_t* bytes, size_t size, OnlineMessage* m, std::string* why) {
    if (size > ONLINE_MAX_MESSAGE) return Fail(why, "too long");
    Reader in{bytes, size};
    const uint8_t kind = in.U8();
    if (!in.ok) return Fail(why, "empty");
    m->kind = static_cast<OnlineKind>(kind);
    switch (m->kind) {
        case OnlineKind::Hello:
        case OnlineKind::Welcome:
        case OnlineKind::Refuse:
        case OnlineKind::Room: {
            const uint8_t* magic = in.Take(4);
            if (magic == nullptr || std::equal(Magic, Magic + 4, magic) == false) {
                return Fail(why, "not a Volleen message");
            }
            m->protocol = in.U16();
            if (!ReadVersion(in, &m->gameVersion, why)) return false;
            // Another protocol's greeting says no more that this one knows.
            if (m->protocol != ONLINE_PROTOCOL) return in.ok || Fail(why, "cut short");
            if (m->kind == OnlineKind::Room) {
                const uint8_t want = in.U8();
                if (in.ok && (want < 1 || want > 3)) return Fail(why, "an unknown wish");
                m->want = static_cast<RoomWant>(want);
                if (!ReadCode(in, &m->code, why)) return false;
                if ((m->want == RoomWant::Host) != m->code.empty())
                    return Fail(why, "a room code where none belongs, or none where one does");
                break;
            }
            if (m->kind == OnlineKind::Refuse) {
                const uint8_t refusal = in.U8();
                if (refusal != 1 && refusal != 2) return Fail(why, "an unknown refusal");
                m->refusal = static_cast<Refusal>(refusal);
                break;
            }
            m->stamp = in.U16();
            m->echo = in.U16();
            if (m->kind == OnlineKind::Welcome) {
                m->match = in.U8();
                m->matchSeconds = in.I64();
            }
            break;
        }
        case OnlineKind::Inputs: {
            m->match = in.U8();
            m->frame = in.U32();
            m->ack = in.U32();
            m->stamp = in.U16();
            m->echo = in.U16();
            m->held = in.U16();
            m->first = in.U32();
            const uint8_t inputs = in.U8();
            if (inputs > ONLINE_MAX_INPUTS) return Fail(why, "too many inputs");
            if (!ReadInputs(in, inputs, &m->inputs, why)) return false;
            if (m->first > UINT32_MAX - inputs) return Fail(why, "inputs past the last frame");
            m->checkFirst = in.U32();
            const uint8_t checks = in.U8();
            if (checks > ONLINE_MAX_CHECKS) return Fail(why, "too many checksums");
            m->checks.clear();
            for (uint8_t i = 0; i < checks; ++i) m->checks.push_back(in.U32());
            if (m->checkFirst > UINT32_MAX - checks)
                return Fail(why, "checksums past the last frame");
            break;
        }
        case OnlineKind::Leave: {
            const uint8_t reason = in.U8();
            if (in.ok && (reason < 1 || reason > 4)) return Fail(why, "an unknown reason to leave");
            m->reason = static_cast<LeaveReason>(reason);
            break;
        }
        case OnlineKind::Rematch:
            m->match = in.U8();
            m->matchSeconds = in.I64();
            break;
        case OnlineKind::RoomIs: {
            const uint8_t want = in.U8();
            if (in.ok && (want < 1 || want > 3)) return Fail(why, "an unknown wish");
            m->want = static_cast<RoomWant>(want);
            if (!ReadCode(in, &m->code, why)) return false;
            if (m->code.empty()) return Fail(why, "no room code");
            break;
        }
        case OnlineKind::RoomRefuse: {
            const uint8_t refusal = in.U8();
            if (in.ok && (refusal < 1 || refusal > ROOM_REFUSAL_LAST))
                return Fail(why, "an unknown refusal");
            m->roomRefusal = static_cast<RoomRefusal>(refusal);
            break;
        }
        case OnlineKind::Watch: {
            m->match = in.U8();
            m->matchSeconds = in.I64();
            m->first = in.U32();
            const uint8_t count = in.U8();
            if (count > WATCH_MAX_FRAMES) return Fail(why, "too many frames");
            if (!ReadInputs(in, count, &m->inputs, why)) return false;
            if (!ReadInputs(in, count, &m->topInputs, why)) return false;
            if (m->first > UINT32_MAX - count) return Fail(why, "inputs past the last frame");
            const uint8_t checks = in.U8();
            if (checks > WATCH_MAX_CHECKS) return Fail(why, "too many checksums");
            m->checkFrames.clear();
            m->checks.clear();
            for (uint8_t i = 0; i < checks; ++i) {
                m->checkFrames.push_back(in.U32());
                m->checks.push_back(in.U32());
            }
            break;
        }
        default:
            return Fail(why, "an unknown kind of message");
    }
    if (!in.ok) return Fail(why, "cut short");
    if (in.left != 0) return Fail(why, "longer than its kind");
    return true;
}
