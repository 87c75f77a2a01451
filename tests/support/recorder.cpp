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

void Recorder::OnFlip(uint32_t ms, uint32_t flipCount) {
    flips.push_back(flipCount);
    lines_.push_back({ms, "flip"});
}

void Recorder::OnText(uint32_t ms, bool primary, int32_t x, int32_t y, const char* text,
                      uint8_t index) {
    texts.push_back({ms, primary, x, y, text, index});
    lines_.push_back({ms, std::string("text ") + (primary ? "primary " : "back ") +
                              std::to_string(x) + "," + std::to_string(y) + " " + text});
    if (onText) onText(texts.back());
}

void Recorder::OnSound(uint32_t ms, bool play, const char* name, bool loop) {
    std::string base = name;
    base = base.substr(base.find_last_of('/') + 1);  // npos + 1 is 0
    sounds.push_back({ms, play, base, loop});
    lines_.push_back({ms, (play ? "play " : "stop ") + base + (loop ? " loop" : "")});
}

void Recorder::OnPalette(uint32_t ms, const uint8_t* entries) {
    palettes.push_back({ms, std::vector<uint8_t>(entries, entries + 1024)});
    lines_.push_back({ms, "palette"});
}

void Recorder::OnSleep(uint32_t ms, uint32_t sleepMs) {
    sleeps.push_back(sleepMs);
    lines_.push_back({ms, "sleep " + std::to_string(sleepMs)});
}

void Recorder::OnShot(uint32_t ms, const std::string& name, const uint8_t* pixels, int32_t width,
                      int32_t height, const uint8_t*) {
    shots.push_back({ms, name, width, height,
                     std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)});
    lines_.push_back(
        {ms, "shot " + name + " " + std::to_string(width) + "x" + std::to_string(height)});
}

void Recorder::OnUntil(uint32_t ms) { lines_.push_back({ms, "until " + std::to_string(ms)}); }

}  // namespace support
