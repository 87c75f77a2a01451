// The building blocks of our sounds: oscillators, noise, envelopes, filters
// and a looping mix buffer, all in floating point until the final 8-bit write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

constexpr int SAMPLE_RATE = 11025;
constexpr double PI = 3.14159265358979323846;

using Signal = std::vector<double>;

// A repeatable noise source (the same values on every run).
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 1) {}
    double Next();  // -1..1
};

int Samples(double seconds);
double MidiToHz(double note);

// Waveforms of a phase in cycles (any real number).
double Sine(double phase);
double Triangle(double phase);
double Square(double phase, double duty);
// A saw softened so it does not buzz too harshly at 11 kHz.
double SoftSaw(double phase);

// Attack-decay envelope: rises linearly over `attack` s, then falls
// exponentially with time constant `decay` s; 0 after `length` s (with a
// short release so it never ends on a step).
double Envelope(double t, double attack, double decay, double length);

// One-pole low-pass over a signal in place.
void LowPass(Signal& s, double cutoffHz);
// The same applied to a loop: the filter runs round twice so the seam
// carries the same state as any other point.
void LowPassLoop(Signal& s, double cutoffHz);
void HighPass(Signal& s, double cutoffHz);

// Adds `part` into `mix` from `at` on; with `wrap` samples past the end
// continue from the start (tails of a loop's last notes ring into its first).
void AddInto(Signal& mix, const Signal& part, int at, double gain, bool wrap);

// Scales so the loudest sample reaches `peak` (in 8-bit steps from 128).
void Normalise(Signal& s, double peak);
// Short fades at both ends so a one-shot starts and stops at silence.
void FadeEnds(Signal& s, double inSeconds, double outSeconds);

// Writes the signal (8-bit steps around 0) as an 11025 Hz 8-bit mono file.
bool SaveSignal(const Signal& s, const std::string& path);

}  // namespace gen
