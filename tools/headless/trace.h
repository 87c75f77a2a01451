// The runner's observer: the trace (JSON Lines), screenshots and the stop at
// the --until limit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/headless/headless.h"

// CRC-32 as zlib computes it (reflected, polynomial 0xEDB88320).
uint32_t Crc32(const uint8_t* bytes, size_t count);
// `text` as a JSON string, quotes included; bytes above 127 are taken as
// Latin-1 and escaped, so the trace stays plain ASCII.
std::string JsonString(const char* text);

class TraceWriter : public headless::Observer {
public:
    // `trace` may be null (no trace kept), `traceName` is what a failure to
    // write it calls it; `shotsDir` empty means shots are not written.
    TraceWriter(FILE* trace, std::string shotsDir, std::string audioOut,
                std::string traceName = "the trace");

    void OnFlip(uint32_t ms, uint32_t flipCount) override;
    void OnText(uint32_t ms, bool primary, int32_t x, int32_t y, const char* text,
                uint8_t index) override;
    void OnSound(uint32_t ms, bool play, const char* name, bool loop) override;
    void OnPalette(uint32_t ms, const uint8_t* entries1024) override;
    void OnSleep(uint32_t ms, uint32_t sleepMs) override;
    void OnShot(uint32_t ms, const std::string& name, const uint8_t* pixels, int32_t width,
                int32_t height, const uint8_t* palette1024) override;
    // Writes the until line, finishes the outputs and ends the process with 3
    // (4 when an output could not be written).
    [[noreturn]] void OnUntil(uint32_t ms) override;

    void WriteExit(uint32_t ms, int32_t code);
    // Flushes the trace and writes the mixed sound; true when all went well,
    // else a line on stderr for each output that failed.
    bool Finish();

private:
    void Line(const std::string& line);

    FILE* trace_;
    std::string shotsDir_;
    std::string audioOut_;
    std::string traceName_;
    bool failed_ = false;
    int traceError_ = 0;  // the first failed write of the trace
    bool traceSaid_ = false;
};
