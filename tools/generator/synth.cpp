#include "synth.h"

#include <algorithm>
#include <cmath>

#include "sound/wave_file.h"

namespace gen {

double Noise::Next() {
    // xorshift32
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state / 4294967295.0) * 2.0 - 1.0;
}

int Samples(double seconds) { return static_cast<int>(std::lround(seconds * SAMPLE_RATE)); }

double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

static double Frac(double phase) { return phase - std::floor(phase); }

double Sine(double phase) { return std::sin(2.0 * PI * phase); }

double Triangle(double phase) {
    double f = Frac(phase);
    return f < 0.5 ? 4.0 * f - 1.0 : 3.0 - 4.0 * f;
}

double Square(double phase, double duty) { return Frac(phase) < duty ? 1.0 : -1.0; }

double SoftSaw(double phase) {
    // The first four harmonics of a saw.
    double p = 2.0 * PI * phase;
    return (std::sin(p) + std::sin(2 * p) / 2 + std::sin(3 * p) / 3 + std::sin(4 * p) / 4) * 0.6;
}

double Envelope(double t, double attack, double decay, double length) {
    if (t < 0 || t >= length) return 0.0;
    double level = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    const double release = 0.012;
    if (length - t < release) level *= (length - t) / release;
    return level;
}

void LowPass(Signal& s, double cutoffHz) {
    double a = 1.0 - std::exp(-2.0 * PI * cutoffHz / SAMPLE_RATE);
    double y = 0.0;
    for (double& v : s) {
        y += a * (v - y);
        v = y;
    }
}

void LowPassLoop(Signal& s, double cutoffHz) {
    double a = 1.0 - std::exp(-2.0 * PI * cutoffHz / SAMPLE_RATE);
    double y = 0.0;
    for (double v : s) y += a * (v - y);  // warm up on one lap
    for (double& v : s) {
        y += a * (v - y);
        v = y;
    }
}

void HighPass(Signal& s, double cutoffHz) {
    Signal low = s;
    LowPass(low, cutoffHz);
    for (size_t i = 0; i < s.size(); ++i) s[i] -= low[i];
}

void AddInto(Signal& mix, const Signal& part, int at, double gain, bool wrap) {
    const int n = static_cast<int>(mix.size());
    if (n == 0) return;
    for (size_t i = 0; i < part.size(); ++i) {
        int k = at + static_cast<int>(i);
        if (wrap) {
            k %= n;
            if (k < 0) k += n;
        } else if (k < 0 || k >= n) {
            continue;
        }
        mix[static_cast<size_t>(k)] += part[i] * gain;
    }
}

void Normalise(Signal& s, double peak) {
    double most = 0.0;
    for (double v : s) most = std::max(most, std::fabs(v));
    if (most <= 0.0) return;
    double g = peak / most;
    for (double& v : s) v *= g;
}

void FadeEnds(Signal& s, double inSeconds, double outSeconds) {
    int in = std::max(1, Samples(inSeconds));
    int out = std::max(1, Samples(outSeconds));
    int n = static_cast<int>(s.size());
    for (int i = 0; i < n && i < in; ++i) s[static_cast<size_t>(i)] *= static_cast<double>(i) / in;
    for (int i = 0; i < n && i < out; ++i)
        s[static_cast<size_t>(n - 1 - i)] *= static_cast<double>(i) / out;
}

bool SaveSignal(const Signal& s, const std::string& path) {
    std::vector<uint8_t> bytes(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        bytes[i] = static_cast<uint8_t>(std::clamp(128L + std::lround(s[i]), 0L, 255L));
    return SaveWaveFile(path.c_str(), bytes.data(), static_cast<uint32_t>(bytes.size()),
                        SAMPLE_RATE) == 1;
}

}  // namespace gen
