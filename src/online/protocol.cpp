#include "online/protocol.h"

#include <algorithm>

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

}  // namespace

std::vector<uint8_t> EncodeOnlineMessage(const OnlineMessage& m) {
    std::vector<uint8_t> out;
    out.reserve(ONLINE_MAX_MESSAGE);
    out.push_back(static_cast<uint8_t>(m.kind));
    switch (m.kind) {
        case OnlineKind::Hello:
        case OnlineKind::Welcome:
        case OnlineKind::Refuse:
            out.insert(out.end(), Magic, Magic + 4);
            AppendLe16(out, m.protocol);
            AppendVersion(out, m.gameVersion);
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
        case OnlineKind::Refuse: {
            const uint8_t* magic = in.Take(4);
            if (magic == nullptr || std::equal(Magic, Magic + 4, magic) == false) {
                return Fail(why, "not a Volleen message");
            }
            m->protocol = in.U16();
            if (!ReadVersion(in, &m->gameVersion, why)) return false;
            // Another protocol's greeting says no more that this one knows.
            if (m->protocol != ONLINE_PROTOCOL) return in.ok || Fail(why, "cut short");
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
            const uint8_t* held = in.Take(inputs);
            if (held == nullptr) return Fail(why, "cut short");
            m->inputs.assign(held, held + inputs);
            for (uint8_t input : m->inputs) {
                if ((input & ~ONLINE_ALL) != 0) return Fail(why, "an input with unknown keys");
            }
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
            if (in.ok && (reason < 1 || reason > 3)) return Fail(why, "an unknown reason to leave");
            m->reason = static_cast<LeaveReason>(reason);
            break;
        }
        case OnlineKind::Rematch:
            m->match = in.U8();
            m->matchSeconds = in.I64();
            break;
        default:
            return Fail(why, "an unknown kind of message");
    }
    if (!in.ok) return Fail(why, "cut short");
    if (in.left != 0) return Fail(why, "longer than its kind");
    return true;
}
