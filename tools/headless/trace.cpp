#include "trace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/crc32.h"
#include "common/file_write.h"
#include "graphics/bitmap_file.h"
#include "match/match.h"
#include "sound/wave_file.h"

std::string JsonString(const char* text) {
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const unsigned char c = *p;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

namespace {

std::string Head(uint32_t ms, const char* event) {
    return "{\"t\":" + std::to_string(ms) + ",\"ev\":\"" + event + "\"";
}

std::string Field(const char* name, int64_t value) {
    return std::string(",\"") + name + "\":" + std::to_string(value);
}

std::string BallJson(const char* name, const Bob& ball) {
    return std::string(",\"") + name + "\":{\"x\":" + std::to_string(ball.x) +
           ",\"y\":" + std::to_string(ball.y) + ",\"xVelocity\":" + std::to_string(ball.xVelocity) +
           ",\"yVelocity\":" + std::to_string(ball.yVelocity) +
           ",\"state\":" + std::to_string(ball.state) +
           ",\"visible\":" + ((ball.attributes & BOB_VISIBLE) ? "1" : "0") + "}";
}

std::string PaddleJson(const char* name, const Bob& paddle) {
    return std::string(",\"") + name + "\":{\"x\":" + std::to_string(paddle.x) +
           ",\"xVelocity\":" + std::to_string(paddle.xVelocity) + "}";
}

}  // namespace

TraceWriter::TraceWriter(FILE* trace, std::string shotsDir, std::string audioOut,
                         std::string traceName)
    : trace_(trace),
      shotsDir_(std::move(shotsDir)),
      audioOut_(std::move(audioOut)),
      traceName_(std::move(traceName)) {}

void TraceWriter::Line(const std::string& line) {
    if (trace_ == nullptr || traceError_ != 0) return;
    if (std::fputs(line.c_str(), trace_) < 0 || std::fputc('\n', trace_) == EOF) {
        traceError_ = errno != 0 ? errno : EIO;
    }
}

void TraceWriter::OnReport(const headless::Report& r) {
    using headless::ReportKind;
    switch (r.kind) {
        case ReportKind::Flip:
            WriteFrame(r);
            break;
        case ReportKind::Text:
            Line(Head(r.ms, "text") + ",\"surface\":" + (r.primary ? "\"primary\"" : "\"back\"") +
                 Field("x", r.x) + Field("y", r.y) + ",\"text\":" + JsonString(r.text) +
                 Field("index", r.index) + "}");
            break;
        case ReportKind::Sound:
            Line(Head(r.ms, "sound") + ",\"op\":" + (r.play ? "\"play\"" : "\"stop\"") +
                 ",\"file\":" + JsonString(r.text) + Field("loop", r.loop ? 1 : 0) + "}");
            break;
        case ReportKind::Palette: {
            char crc[16];
            std::snprintf(crc, sizeof crc, "%08x", Crc32(r.palette, 1024));
            Line(Head(r.ms, "palette") + ",\"crc32\":\"" + crc + "\"}");
            break;
        }
        case ReportKind::Sleep:
            Line(Head(r.ms, "sleep") + Field("ms", r.number) + "}");
            break;
        case ReportKind::Shot:
            WriteShot(r);
            break;
        case ReportKind::Until:
            StopAtUntil(r.ms);
    }
}

void TraceWriter::WriteFrame(const headless::Report& r) {
    if (trace_ == nullptr) return;
    Line(Head(r.ms, "frame") + Field("n", r.number) + Field("MatchState", MatchState) +
         Field("ServingSide", ServingSide) + Field("BallsInPlay", BallsInPlay) +
         Field("GameMode", GameMode) + Field("Player1Score", Player1Score) +
         Field("Player2Score", Player2Score) + Field("SplitTimer", SplitTimer) +
         Field("BackgroundIndex", BackgroundIndex) + BallJson("Ball1", Ball1) +
         BallJson("Ball2", Ball2) + PaddleJson("Paddle1", Paddle1) +
         PaddleJson("Paddle2", Paddle2) + "}");
}

void TraceWriter::WriteShot(const headless::Report& r) {
    if (shotsDir_.empty()) return;
    Palette palette;
    std::memcpy(&palette, r.palette, sizeof palette);
    const std::string path = shotsDir_ + "/" + r.text;
    std::string why;
    std::vector<uint8_t> file;
    if (MakeBitmapFile(r.pixels, r.width, r.height, r.width, palette, &file, &why) == 0 ||
        !WriteOutputFile(path.c_str(), file.data(), file.size(), &why)) {
        std::fprintf(stderr, "volleen-headless: cannot write the shot %s: %s\n", path.c_str(),
                     why.c_str());
        failed_ = true;
    }
}

void TraceWriter::StopAtUntil(uint32_t ms) {
    Line(Head(ms, "until") + "}");
    const bool written = Finish();
    // The game is in the middle of a call; nothing of it is unwound.
    std::_Exit(written ? 3 : 4);
}

void TraceWriter::WriteExit(uint32_t ms, int32_t code) {
    Line(Head(ms, "exit") + Field("code", code) + "}");
}

bool TraceWriter::Finish() {
    if (trace_ != nullptr && traceError_ == 0 && std::fflush(trace_) != 0) {
        traceError_ = errno != 0 ? errno : EIO;
    }
    if (traceError_ != 0 && !traceSaid_) {
        std::fprintf(stderr, "volleen-headless: cannot write %s: %s\n", traceName_.c_str(),
                     std::strerror(traceError_));
        traceSaid_ = true;
    }
    if (!audioOut_.empty()) {
        const std::string& mixed = headless::MixedAudio();
        std::string why;
        std::vector<uint8_t> file;
        if (MakeWaveFile(reinterpret_cast<const uint8_t*>(mixed.data()),
                         static_cast<uint32_t>(mixed.size()), 11025, &file, &why) == 0 ||
            !WriteOutputFile(audioOut_.c_str(), file.data(), file.size(), &why)) {
            std::fprintf(stderr, "volleen-headless: cannot write %s: %s\n", audioOut_.c_str(),
                         why.c_str());
            failed_ = true;
        }
        audioOut_.clear();  // written once, even if Finish is called again
    }
    return !failed_ && traceError_ == 0;
}
