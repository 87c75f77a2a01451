#include "support/recorder.h"

namespace support {

void Recorder::Clear() {
    auto keep = onText;
    *this = Recorder{};
    onText = keep;
}

std::vector<std::string> Recorder::Log(bool timed) const {
    std::vector<std::string> log;
    for (const Line& line : lines_) {
        log.push_back(timed ? std::to_string(line.ms) + " " + line.what : line.what);
    }
    return log;
}

std::vector<TextEvent> Recorder::TextsAt(int32_t x, int32_t y) const {
    std::vector<TextEvent> found;
    for (const TextEvent& t : texts) {
        if (t.x == x && t.y == y) found.push_back(t);
    }
    return found;
}

const TextEvent* Recorder::FindText(const std::string& prefix) const {
    for (const TextEvent& t : texts) {
        if (t.text.rfind(prefix, 0) == 0) return &t;
    }
    return nullptr;
}

int Recorder::CountPlayed(const std::string& name) const {
    int count = 0;
    for (const SoundEvent& s : sounds) count += s.play && s.name == name;
    return count;
}

bool Recorder::Played(const std::string& name, bool loop) const {
    for (const SoundEvent& s : sounds) {
        if (s.play && s.name == name && s.loop == loop) return true;
    }
    return false;
}

bool Recorder::Stopped(const std::string& name) const {
    for (const SoundEvent& s : sounds) {
        if (!s.play && s.name == name) return true;
    }
    return false;
}

std::vector<uint32_t> Recorder::PaletteTimes() const {
    std::vector<uint32_t> times;
    for (const PaletteEvent& p : palettes) times.push_back(p.ms);
    return times;
}

size_t Recorder::EventsBetween(uint32_t from, uint32_t to) const {
    size_t count = 0;
    for (const TextEvent& t : texts) count += t.ms >= from && t.ms < to;
    for (const SoundEvent& s : sounds) count += s.ms >= from && s.ms < to;
    for (const PaletteEvent& p : palettes) count += p.ms >= from && p.ms < to;
    return count;
}

void Recorder::OnReport(const headless::Report& r) {
    using headless::ReportKind;
    const uint32_t ms = r.ms;
    switch (r.kind) {
        case ReportKind::Flip:
            flips.push_back(r.number);
            lines_.push_back({ms, "flip"});
            break;
        case ReportKind::Text:
            texts.push_back({ms, r.primary, r.x, r.y, r.text, r.index});
            lines_.push_back({ms, std::string("text ") + (r.primary ? "primary " : "back ") +
                                      std::to_string(r.x) + "," + std::to_string(r.y) + " " +
                                      r.text});
            if (onText) onText(texts.back());
            break;
        case ReportKind::Sound: {
            std::string base = r.text;
            base = base.substr(base.find_last_of('/') + 1);  // npos + 1 is 0
            sounds.push_back({ms, r.play, base, r.loop});
            lines_.push_back({ms, (r.play ? "play " : "stop ") + base + (r.loop ? " loop" : "")});
            break;
        }
        case ReportKind::Palette:
            palettes.push_back({ms, std::vector<uint8_t>(r.palette, r.palette + 1024)});
            lines_.push_back({ms, "palette"});
            break;
        case ReportKind::Sleep:
            sleeps.push_back(r.number);
            lines_.push_back({ms, "sleep " + std::to_string(r.number)});
            break;
        case ReportKind::Shot:
            shots.push_back({ms, r.text, r.width, r.height,
                             std::vector<uint8_t>(
                                 r.pixels, r.pixels + static_cast<size_t>(r.width) * r.height)});
            lines_.push_back({ms, std::string("shot ") + r.text + " " + std::to_string(r.width) +
                                      "x" + std::to_string(r.height)});
            break;
        case ReportKind::Until:
            lines_.push_back({ms, "until " + std::to_string(ms)});
            break;
    }
}

}  // namespace support
