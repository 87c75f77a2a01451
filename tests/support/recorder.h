// Everything the headless backend reports, kept for a test to look at: each
// kind in its own typed list, and all of it in order as one line per event.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

namespace support {

struct TextEvent {
    uint32_t ms;
    bool primary;  // drawn onto the visible surface, not the back buffer
    int32_t x, y;
    std::string text;
    uint8_t index;
};

struct SoundEvent {
    uint32_t ms;
    bool play;         // false: a playing sound was stopped
    std::string name;  // the file's base name, e.g. "BOING.WAV"
    bool loop;
};

struct PaletteEvent {
    uint32_t ms;
    std::vector<uint8_t> entries;  // 1024 bytes
};

struct ShotEvent {
    uint32_t ms;
    std::string name;
    int32_t width, height;
    std::vector<uint8_t> pixels;
};

class Recorder : public headless::Observer {
public:
    std::vector<uint32_t> flips;  // the backend's flip count at each flip
    std::vector<TextEvent> texts;
    std::vector<SoundEvent> sounds;
    std::vector<PaletteEvent> palettes;
    std::vector<uint32_t> sleeps;  // the length of each sleep
    std::vector<ShotEvent> shots;
    // Called for every text once it is recorded, to look at the world then.
    std::function<void(const TextEvent&)> onText;

    void Clear();
    // One line per event in order, without its time ("flip", "sleep 600",
    // "text back 20,1 Player 1 - 0", "play MUSIC.WAV loop", "stop MUSIC.WAV",
    // "palette", "shot s.bmp 10x3", "until 1500"); timed, each starts "<ms> ".
    std::vector<std::string> Log(bool timed = false) const;

    std::vector<TextEvent> TextsAt(int32_t x, int32_t y) const;
    // The first text that starts with `prefix`; null when none does.
    const TextEvent* FindText(const std::string& prefix) const;
    int CountPlayed(const std::string& name) const;
    bool Played(const std::string& name, bool loop) const;
    bool Stopped(const std::string& name) const;
    std::vector<uint32_t> PaletteTimes() const;
    // How many texts, sounds and palette changes happened in [from, to).
    size_t EventsBetween(uint32_t from, uint32_t to) const;

    void OnReport(const headless::Report& report) override;

private:
    struct Line {
        uint32_t ms;
        std::string what;
    };
    std::vector<Line> lines_;
};

}  // namespace support
