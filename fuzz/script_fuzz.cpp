// libFuzzer target: the runner's script parser on any text. A script it
// takes must be one the backend can play: times that never go back, pads
// used only while plugged in, shot names that stay inside the shots folder.
// One it refuses must name the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/state.h"

using headless::detail::EventKind;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    std::vector<headless::detail::ScriptEvent> events;
    std::string error;
    if (!headless::detail::ParseScript(text, &events, &error)) {
        if (!events.empty() || error.rfind("script line ", 0) != 0) std::abort();
        return 0;
    }
    uint64_t previous = 0;
    bool plugged[platform::MaxPads] = {};
    for (const auto& event : events) {
        if (event.ms < previous) std::abort();
        previous = event.ms;
        switch (event.kind) {
            case EventKind::PadPlug:
                if (event.which < 0 || event.which >= platform::MaxPads) std::abort();
                if (plugged[event.which] == event.down) std::abort();
                plugged[event.which] = event.down;
                break;
            case EventKind::PadButton:
            case EventKind::PadAxis:
                if (event.which < 0 || event.which >= platform::MaxPads || !plugged[event.which] ||
                    event.control < 0) {
                    std::abort();
                }
                break;
            case EventKind::Shot:
                if (event.name.empty() || event.name == ".." ||
                    event.name.find('/') != std::string::npos) {
                    std::abort();
                }
                break;
            case EventKind::Key:
                if (event.which < 0 || event.which > 255) std::abort();
                break;
            default:
                break;
        }
    }
    return 0;
}
