// libFuzzer target: the wave reader on any bytes. It must never read outside
// the input, and whatever it accepts must be a PCM wave with sane data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    WaveFile wave{};
    if (ReadWave(bytes, size, &wave) == 1) {
        // Only PCM is taken, and no more data than the cap unless the bytes
        // are really there.
        if (wave.formatTag != 1) std::abort();
        if (wave.data.size() > MAX_WAVE_DATA_BYTES && wave.data.size() > size) std::abort();
    }
    return 0;
}
