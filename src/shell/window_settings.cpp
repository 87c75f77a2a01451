#include "shell/window_settings.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "common/file_read.h"
#include "common/file_write.h"
#include "common/folders.h"
#include "common/parse_integer.h"

std::string WindowSettingsPath = "window.cfg";

namespace {

constexpr size_t SettingsFileLimit = 256;
constexpr int64_t LargestSide = 16384;

bool StartFullScreen = true;  // as the window was opened, to see a change at the end
int32_t StartWidth = 0;
int32_t StartHeight = 0;
bool StartKnown = false;

}  // namespace

void LoadWindowSettings(platform::StartOptions* options, bool placeGiven) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(WindowSettingsPath.c_str(), SettingsFileLimit, &bytes, &why)) {
        if (why != NO_SUCH_FILE) {
            std::fprintf(stderr, "volleen: cannot read %s: %s; the window opens as usual\n",
                         WindowSettingsPath.c_str(), why.c_str());
        }
        return;
    }
    // Three words: "fullscreen" or "window", then the window's width and height.
    std::istringstream words(std::string(bytes.begin(), bytes.end()));
    std::string place, width, height, extra;
    int64_t w = 0;
    int64_t h = 0;
    if (!(words >> place >> width >> height) || (words >> extra) ||
        (place != "fullscreen" && place != "window") || !ParseInteger(width, 1, LargestSide, &w) ||
        !ParseInteger(height, 1, LargestSide, &h)) {
        std::fprintf(stderr,
                     "volleen: %s is not \"fullscreen|window WIDTH HEIGHT\"; the window opens as "
                     "usual\n",
                     WindowSettingsPath.c_str());
        return;
    }
    if (!placeGiven) options->fullScreen = place == "fullscreen";
    options->windowWidth = static_cast<int32_t>(w);
    options->windowHeight = static_cast<int32_t>(h);
}

void SaveWindowSettings() {
    bool fullScreen = false;
    int32_t width = 0;
    int32_t height = 0;
    if (!platform::WindowPlacement(&fullScreen, &width, &height)) return;
    if (!StartKnown) return;
    if (fullScreen == StartFullScreen && width == StartWidth && height == StartHeight) return;
    const std::string text = std::string(fullScreen ? "fullscreen" : "window") + " " +
                             std::to_string(width) + " " + std::to_string(height) + "\n";
    std::string why;
    if (!MakeParentFolders(WindowSettingsPath, 0700, &why) ||
        !WriteFileAtomically(WindowSettingsPath.c_str(), text.data(), text.size(), &why)) {
        std::fprintf(stderr, "volleen: cannot save %s: %s\n", WindowSettingsPath.c_str(),
                     why.c_str());
    }
}

void NoteWindowAtStart() {
    StartKnown = platform::WindowPlacement(&StartFullScreen, &StartWidth, &StartHeight);
}
