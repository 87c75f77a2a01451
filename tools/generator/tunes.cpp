// The menu tune and the match music: little songs sequenced from note tables
// into a looping buffer. Notes that ring past the end continue at the start,
// so the loop has no seam.
#include <cmath>
#include <vector>

#include "generator.h"
#include "synth.h"

namespace gen {

namespace {

struct Song {
    int step;  // samples per sixteenth note
    Signal mix;
    double Seconds(double steps) const { return steps * step / SAMPLE_RATE; }
    void Add(const Signal& part, double atStep, double gain) {
        AddInto(mix, part, static_cast<int>(std::lround(atStep * step)), gain, true);
    }
};

// --- instruments: each renders one note --------------------------------------

Signal Bass(double note, double seconds) {
    Signal s(static_cast<size_t>(Samples(seconds)));
    double hz = MidiToHz(note);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        s[i] = (Triangle(t * hz) + 0.45 * Square(t * hz, 0.5)) * Envelope(t, 0.004, 0.35, seconds);
    }
    LowPass(s, 700.0);
    return s;
}

Signal Pluck(double note, double seconds, double brightness) {
    Signal s(static_cast<size_t>(Samples(seconds)));
    double hz = MidiToHz(note);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        s[i] = (Square(t * hz, 0.25) * brightness + Triangle(t * hz)) *
               Envelope(t, 0.003, 0.12, seconds);
    }
    LowPass(s, 2600.0);
    return s;
}

Signal Lead(double note, double seconds) {
    Signal s(static_cast<size_t>(Samples(seconds)));
    double hz = MidiToHz(note);
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        // A gentle vibrato that comes in once the note has sounded a while.
        double depth = t > 0.15 ? std::min((t - 0.15) / 0.2, 1.0) * 0.006 : 0.0;
        phase += hz * (1.0 + depth * Sine(t * 5.5)) / SAMPLE_RATE;
        double v = 0.55 * Square(phase, 0.5) + Triangle(phase) + 0.25 * Sine(2 * phase);
        s[i] = v * Envelope(t, 0.012, 0.9, seconds);
    }
    LowPass(s, 2200.0);
    return s;
}

Signal Pad(const std::vector<double>& notes, double seconds) {
    Signal s(static_cast<size_t>(Samples(seconds)));
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double v = 0.0;
        for (double note : notes) {
            double hz = MidiToHz(note);
            v += SoftSaw(t * hz * 0.997) + SoftSaw(t * hz * 1.003);
        }
        double swell = std::min(t / 0.25, 1.0) * std::min((seconds - t) / 0.3, 1.0);
        s[i] = v * swell;
    }
    LowPass(s, 900.0);
    LowPass(s, 1400.0);
    return s;
}

Signal Bell(double note, double seconds) {
    Signal s(static_cast<size_t>(Samples(seconds)));
    double hz = MidiToHz(note);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double v = Sine(t * hz) + 0.4 * Sine(t * hz * 2.76) * std::exp(-t / 0.15) +
                   0.2 * Sine(t * hz * 4.1) * std::exp(-t / 0.06);
        s[i] = v * Envelope(t, 0.002, 0.5, seconds);
    }
    return s;
}

Signal Kick() {
    Signal s(static_cast<size_t>(Samples(0.22)));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        phase += (45.0 + 90.0 * std::exp(-t / 0.03)) / SAMPLE_RATE;
        s[i] = Sine(phase) * Envelope(t, 0.002, 0.09, 0.22);
    }
    return s;
}

Signal Snare(uint32_t seed) {
    Signal s(static_cast<size_t>(Samples(0.18)));
    Noise noise(seed);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        s[i] = (0.8 * noise.Next() + 0.5 * Sine(t * 185.0) * std::exp(-t / 0.03)) *
               Envelope(t, 0.001, 0.05, 0.18);
    }
    HighPass(s, 400.0);
    LowPass(s, 4200.0);
    return s;
}

Signal Hat(uint32_t seed, double seconds) {
    Signal s(static_cast<size_t>(Samples(seconds)));
    Noise noise(seed);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        s[i] = noise.Next() * Envelope(t, 0.001, 0.018, seconds);
    }
    HighPass(s, 2800.0);
    return s;
}

struct Note {
    int step;
    int length;
    int midi;
};

struct Chord {
    int root;                   // bass note
    std::vector<double> tones;  // the chord in the middle register
};

// --- the match music: A minor, 16 bars, about 32 seconds ----------------------

Signal MatchMusic() {
    Song song{1378, {}};
    const int bars = 16;
    song.mix.assign(static_cast<size_t>(song.step) * 16 * bars, 0.0);

    // One chord per two bars.
    const Chord chords[8] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}},
                             {43, {55, 59, 62}}, {45, {57, 60, 64}}, {41, {57, 60, 65}},
                             {50, {57, 62, 65}}, {40, {56, 59, 64}}};
    // The tune, 32 sixteenths per chord.
    const std::vector<Note> melody[8] = {
        {{0, 6, 76}, {6, 2, 74}, {8, 4, 72}, {12, 4, 69}, {16, 6, 72}, {22, 2, 74}, {24, 8, 76}},
        {{0, 6, 77}, {6, 2, 76}, {8, 4, 74}, {12, 4, 72}, {16, 8, 69}, {24, 4, 72}, {28, 4, 74}},
        {{0, 6, 76}, {6, 2, 79}, {8, 4, 76}, {12, 4, 72}, {16, 12, 67}},
        {{0, 4, 74}, {4, 4, 71}, {8, 4, 67}, {12, 4, 71}, {16, 12, 74}},
        {{0, 4, 81}, {4, 4, 79}, {8, 4, 76}, {12, 4, 79}, {16, 6, 81}, {22, 2, 79}, {24, 8, 76}},
        {{0, 4, 77}, {4, 4, 76}, {8, 4, 72}, {12, 4, 69}, {16, 8, 72}, {24, 8, 77}},
        {{0, 6, 74}, {6, 2, 77}, {8, 4, 81}, {12, 4, 77}, {16, 8, 74}, {24, 4, 72}, {28, 4, 71}},
        {{0, 8, 68}, {8, 4, 71}, {12, 4, 76}, {16, 8, 71}, {24, 8, 68}}};
    // Bass line of one bar: (step, interval above the root).
    const int bassSteps[][2] = {{0, 0}, {3, 0}, {6, 12}, {8, 0}, {11, 0}, {12, 7}, {14, 12}};
    const int arpOrder[4] = {0, 1, 2, 1};

    const Signal kick = Kick();
    const Signal snare = Snare(77);
    const Signal hatShort = Hat(91, 0.05);
    const Signal hatOpen = Hat(93, 0.16);

    for (int c = 0; c < 8; ++c) {
        const Chord& chord = chords[c];
        int base = c * 32;
        for (int bar = 0; bar < 2; ++bar) {
            int at = base + bar * 16;
            for (const auto& b : bassSteps)
                song.Add(Bass(chord.root + b[1], song.Seconds(2)), at + b[0], 1.0);
            for (int k = 0; k < 16; ++k) {
                double tone = chord.tones[static_cast<size_t>(arpOrder[k % 4])] + 12.0;
                song.Add(Pluck(tone, song.Seconds(2), c >= 4 ? 0.6 : 0.3), at + k,
                         k % 4 == 0 ? 0.32 : 0.22);
            }
            // Drums: kick on the beats one and three, snare on two and four.
            song.Add(kick, at + 0, 1.1);
            song.Add(kick, at + 8, 1.1);
            if (bar == 1) song.Add(kick, at + 10, 0.7);
            song.Add(snare, at + 4, 0.55);
            song.Add(snare, at + 12, 0.55);
            for (int k = 0; k < 16; k += 2)
                song.Add(k % 8 == 6 ? hatOpen : hatShort, at + k, k % 4 == 2 ? 0.35 : 0.22);
        }
        for (const Note& n : melody[c])
            song.Add(Lead(n.midi, song.Seconds(n.length - 0.3)), base + n.step, 0.7);
    }
    LowPassLoop(song.mix, 3800.0);
    Normalise(song.mix, 46.0);
    return song.mix;
}

// --- the menu tune: C major, 8 bars, about 17 seconds -------------------------

Signal MenuTune() {
    Song song{1503, {}};
    const int bars = 8;
    song.mix.assign(static_cast<size_t>(song.step) * 16 * bars, 0.0);

    const Chord chords[8] = {{48, {55, 59, 64}}, {45, {55, 60, 64}}, {41, {57, 60, 64}},
                             {43, {55, 59, 62}}, {48, {55, 59, 64}}, {45, {55, 60, 64}},
                             {50, {53, 57, 60}}, {43, {53, 59, 62}}};
    const std::vector<Note> bells[8] = {
        {{0, 4, 76}, {4, 4, 79}, {8, 6, 83}, {14, 2, 79}}, {{0, 4, 81}, {4, 4, 79}, {8, 8, 76}},
        {{0, 4, 72}, {4, 4, 76}, {8, 6, 81}, {14, 2, 79}}, {{0, 6, 79}, {6, 2, 77}, {8, 8, 74}},
        {{0, 4, 76}, {4, 4, 79}, {8, 6, 84}, {14, 2, 83}}, {{0, 4, 81}, {4, 4, 84}, {8, 8, 79}},
        {{0, 4, 77}, {4, 4, 76}, {8, 4, 74}, {12, 4, 72}}, {{0, 8, 74}, {8, 4, 71}, {12, 4, 67}}};
    const Signal hat = Hat(17, 0.05);

    for (int bar = 0; bar < bars; ++bar) {
        int at = bar * 16;
        const Chord& chord = chords[bar];
        song.Add(Pad(chord.tones, song.Seconds(16.5)), at, 0.22);
        song.Add(Bass(chord.root, song.Seconds(7)), at, 0.9);
        song.Add(Bass(chord.root + 7, song.Seconds(3)), at + 10, 0.6);
        for (int k = 0; k < 16; k += 2)
            song.Add(
                Pluck(chord.tones[static_cast<size_t>((k / 2) % 3)] + 12.0, song.Seconds(2), 0.15),
                at + k, 0.22);
        for (int k = 2; k < 16; k += 4) song.Add(hat, at + k, 0.12);
        for (const Note& n : bells[bar])
            song.Add(Bell(n.midi, song.Seconds(n.length + 4)), at + n.step, 0.55);
    }
    LowPassLoop(song.mix, 3500.0);
    Normalise(song.mix, 44.0);
    return song.mix;
}

}  // namespace

bool WriteTunes(const std::string& folder) {
    bool ok = SaveSignal(MenuTune(), InFolder(folder, "MENU.WAV"));
    ok = SaveSignal(MatchMusic(), InFolder(folder, "MUSIC.WAV")) && ok;
    return ok;
}

}  // namespace gen
