// The five one-shot sounds. Each is short, starts and ends at silence and
// peaks well inside the 8-bit range, so three of them can sound together.
#include <cmath>

#include "generator.h"
#include "synth.h"

namespace gen {

namespace {

constexpr double kEffectPeak = 36.0;

// The ball off a paddle or a wall: a round knock whose pitch drops quickly.
Signal Boing() {
    Signal s(static_cast<size_t>(Samples(0.11)));
    Noise noise(11);
    double phase = 0.0, phase2 = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double hz = 330.0 + 360.0 * std::exp(-t / 0.018);
        phase += hz / SAMPLE_RATE;
        phase2 += 2.02 * hz / SAMPLE_RATE;
        double body = Sine(phase) + 0.35 * Sine(phase2);
        double knock = noise.Next() * std::exp(-t / 0.004);
        s[i] = (body * std::exp(-t / 0.035) + 0.6 * knock);
    }
    LowPass(s, 3000.0);
    Normalise(s, kEffectPeak);
    FadeEnds(s, 0.002, 0.02);
    return s;
}

// A point: a low, slightly sour two-tone buzz.
Signal Buzzer() {
    Signal s(static_cast<size_t>(Samples(0.42)));
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double v = Square(t * 98.0, 0.5) + Square(t * 103.5, 0.45) + 0.5 * SoftSaw(t * 196.0);
        double tremolo = 0.75 + 0.25 * Sine(t * 14.0);
        s[i] = v * tremolo * Envelope(t, 0.01, 0.5, 0.42);
    }
    LowPass(s, 1400.0);
    LowPass(s, 2400.0);
    Normalise(s, kEffectPeak - 2);
    FadeEnds(s, 0.004, 0.06);
    return s;
}

// A plucked note for the fanfares.
void Pluck(Signal& s, double start, double note, double length, double gain) {
    double hz = MidiToHz(note);
    int from = Samples(start);
    for (int i = 0; i < Samples(length); ++i) {
        size_t k = static_cast<size_t>(from + i);
        if (k >= s.size()) break;
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double v = Triangle(t * hz) + 0.3 * Square(t * hz, 0.25) + 0.2 * Sine(t * hz * 2.0);
        s[k] += gain * v * Envelope(t, 0.004, 0.35, length);
    }
}

// The end of a match: a quick rising arpeggio into a bright major chord.
Signal Spike() {
    Signal s(static_cast<size_t>(Samples(1.0)));
    const double run[] = {67, 72, 76};  // G4 C5 E5
    for (int i = 0; i < 3; ++i) Pluck(s, 0.08 * i, run[i], 0.3, 0.8);
    for (double note : {72.0, 76.0, 79.0, 84.0}) Pluck(s, 0.24, note, 0.76, 0.6);
    Pluck(s, 0.24, 48, 0.76, 0.9);  // a low C under it
    LowPass(s, 3500.0);
    Normalise(s, kEffectPeak + 2);
    FadeEnds(s, 0.002, 0.08);
    return s;
}

// The start-up screens: a rising whoosh that lands on a soft boom.
Signal Fire() {
    Signal s(static_cast<size_t>(Samples(1.0)));
    Noise noise(23);
    double band = 0.0, low = 0.0, phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        // The whoosh: noise through a two-pole band whose centre rises.
        double centre = 200.0 + 2200.0 * std::min(t / 0.45, 1.0);
        double a = 1.0 - std::exp(-2.0 * PI * centre / SAMPLE_RATE);
        double n = noise.Next();
        band += a * (n - band);
        low += a * 0.5 * (band - low);
        double swell = t < 0.45 ? std::pow(t / 0.45, 2.0) : std::exp(-(t - 0.45) / 0.08);
        double whoosh = (band - low) * swell;
        // The boom: a sine falling from 90 to 40 Hz.
        double boom = 0.0;
        if (t >= 0.45) {
            double u = t - 0.45;
            phase += (40.0 + 50.0 * std::exp(-u / 0.06)) / SAMPLE_RATE;
            boom = Sine(phase) * std::exp(-u / 0.22) + 0.3 * n * std::exp(-u / 0.03);
        }
        s[i] = 1.6 * whoosh + boom;
    }
    LowPass(s, 4000.0);
    Normalise(s, kEffectPeak + 2);
    FadeEnds(s, 0.01, 0.1);
    return s;
}

// The ball splits: two chirps that part, one up and one down.
Signal Split() {
    Signal s(static_cast<size_t>(Samples(0.3)));
    Noise noise(5);
    double up = 0.0, down = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double spread = std::min(t / 0.22, 1.0);
        up += 700.0 * std::pow(2.0, spread) / SAMPLE_RATE;
        down += 700.0 * std::pow(2.0, -spread) / SAMPLE_RATE;
        double v = Triangle(up) + Triangle(down) + 0.5 * noise.Next() * std::exp(-t / 0.01);
        s[i] = v * Envelope(t, 0.003, 0.12, 0.3);
    }
    LowPass(s, 3800.0);
    Normalise(s, kEffectPeak);
    FadeEnds(s, 0.002, 0.03);
    return s;
}

}  // namespace

bool WriteEffects(const std::string& folder) {
    bool ok = SaveSignal(Boing(), InFolder(folder, "BOING.WAV"));
    ok = SaveSignal(Buzzer(), InFolder(folder, "BUZZER.WAV")) && ok;
    ok = SaveSignal(Spike(), InFolder(folder, "SPIKE.WAV")) && ok;
    ok = SaveSignal(Fire(), InFolder(folder, "FIRE.WAV")) && ok;
    ok = SaveSignal(Split(), InFolder(folder, "SPLIT.WAV")) && ok;
    return ok;
}

}  // namespace gen
