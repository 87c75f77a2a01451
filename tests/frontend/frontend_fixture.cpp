#include "frontend_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "frontend/assets.h"
#include "frontend/key_bindings.h"
#include "graphics/display.h"
#include "input/input.h"
#include "match/match.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace fe {

void Recorder::OnText(uint32_t ms, bool primary, int32_t x, int32_t y, const char* text,
                      uint8_t index) {
    texts.push_back({ms, primary, x, y, text, index});
    if (onText) onText(texts.back());
}

void Recorder::OnSound(uint32_t ms, bool play, const char* name, bool loop) {
    sounds.push_back({ms, play, name, loop});
}

void Recorder::OnPalette(uint32_t ms, const uint8_t* entries) {
    palettes.emplace_back(entries, entries + 1024);
    paletteTimes.push_back(ms);
}

size_t Recorder::EventsBetween(uint32_t from, uint32_t to) const {
    size_t count = 0;
    for (const TextEvent& t : texts) count += (t.ms >= from && t.ms < to);
    for (const SoundEvent& s : sounds) count += (s.ms >= from && s.ms < to);
    for (uint32_t ms : paletteTimes) count += (ms >= from && ms < to);
    return count;
}

std::vector<TextEvent> Recorder::TextsAt(int32_t x, int32_t y) const {
    std::vector<TextEvent> found;
    for (const TextEvent& t : texts) {
        if (t.x == x && t.y == y) found.push_back(t);
    }
    return found;
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

void DataFolder::SetUp() {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(VOLLEEN_BINARY_DIR) / "data";
    if (CopyData()) {
        ASSERT_TRUE(fs::exists(data / "TITLE8.BMP"))
            << "no generated data in " << data << ": build the `data` target first";
    }
    std::random_device entropy;
    folder_ = fs::temp_directory_path() /
              ("volleen-frontend-" + std::to_string(entropy()) + std::to_string(entropy()));
    fs::create_directories(folder_);
    if (CopyData()) {
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            if (entry.is_regular_file() && entry.path().filename() != "keys.dat") {
                fs::copy_file(entry.path(), folder_ / entry.path().filename());
            }
        }
    }
    previous_ = fs::current_path();
    fs::current_path(folder_);
}

void DataFolder::TearDown() {
    namespace fs = std::filesystem;
    if (!previous_.empty()) fs::current_path(previous_);
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

void GameUp::Start(const std::string& script) {
    headless::Options options;
    options.scriptText = script;
    std::string error;
    ASSERT_TRUE(headless::Configure(options, &error)) << error;
    headless::SetObserver(&recorder_);
    started_ = true;
    LoadAssets();
    LoadGameSounds();
    InputInit();
    KeyboardInit();
    MouseInit();
    LoadKeyBindings();
}

void GameUp::TearDown() {
    if (started_) {
        // The release sequence, except that the sound device stays open: it
        // is made only once per process, and the next test of this process
        // loads its sounds again into the same bank.
        for (Bob* bob : {&Paddle1, &Paddle2, &Ball1, &Ball2}) DestroyBob(bob);
        for (BitmapImage& background : Backgrounds) DestroyBitmapImage(&background);
        for (BitmapImage* image : {&TitleImage, &LogoImage2, &LogoImage1, &CreditsImage}) {
            DestroyBitmapImage(image);
        }
        StopDisplay();
        StopAllSounds();
        KeyboardShutdown();
        MouseShutdown();
        InputShutdown();
        headless::SetObserver(nullptr);
    }
    DataFolder::TearDown();
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

bool DestroyPosted() {
    platform::Message message;
    bool found = false;
    while (platform::PeekMessage(message)) {
        if (message.kind == platform::MessageKind::Destroy) found = true;
    }
    return found;
}

}  // namespace fe
