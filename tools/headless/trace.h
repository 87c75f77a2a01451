// The runner's observer: the trace (JSON Lines), screenshots and the stop at
// the --until limit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/headless/headless.h"

// `text` as a JSON string, quotes included; bytes above 127 are taken as
// Latin-1 and escaped, so the trace stays plain ASCII.
std::string JsonString(const char* text);

class TraceWriter : public headless::Observer {
public:
    // `trace` may be null (no trace kept), `traceName` is what a failure to
    // write it calls it; `shotsDir` empty means shots are not written.
    TraceWriter(FILE* trace, std::string shotsDir, std::string audioOut,
                std::string traceName = "the trace");

    // A line of the trace for each report; a shot is written as a picture.
    // Until writes its line, finishes the outputs and ends the process with 3
    // (4 when an output could not be written).
    void OnReport(const headless::Report& report) override;

    void WriteExit(uint32_t ms, int32_t code);
    // Flushes the trace and writes the mixed sound; true when all went well,
    // else a line on stderr for each output that failed.
    bool Finish();

private:
    void Line(const std::string& line);
    void WriteFrame(const headless::Report& report);
    void WriteShot(const headless::Report& report);
    [[noreturn]] void StopAtUntil(uint32_t ms);

    FILE* trace_;
    std::string shotsDir_;
    std::string audioOut_;
    std::string traceName_;
    bool failed_ = false;
    int traceError_ = 0;  // the first failed write of the trace
    bool traceSaid_ = false;
};
