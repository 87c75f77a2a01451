// libFuzzer target: the replay reader on any bytes. It must never read
// outside them nor take more than its limits, and whatever it accepts must
// write back to bytes that read as the same replay.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    Replay replay;
    std::string why;
    if (!DecodeReplay(bytes, size, &replay, &why)) {
        if (why.empty() || why.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    if (replay.frames > REPLAY_MAX_FRAMES || replay.inputs.size() > replay.frames) std::abort();
    const std::vector<uint8_t> again = EncodeReplay(replay);
    Replay back;
    if (!DecodeReplay(again.data(), again.size(), &back, &why)) std::abort();
    if (back.frames != replay.frames || back.calendar != replay.calendar ||
        back.checksums != replay.checksums || back.inputs.size() != replay.inputs.size()) {
        std::abort();
    }
    for (size_t i = 0; i < back.inputs.size(); ++i) {
        if (back.inputs[i].frames != replay.inputs[i].frames ||
            back.inputs[i].input.held != replay.inputs[i].input.held ||
            back.inputs[i].input.mouseX != replay.inputs[i].input.mouseX) {
            std::abort();
        }
    }
    return 0;
}
