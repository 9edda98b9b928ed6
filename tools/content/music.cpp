#include "music.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "synth.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

using namespace synth;

constexpr double kBeatSamples = kRate * 0.5;  // 120 BPM
constexpr int kBars = kMusicSeconds / 2;
constexpr int64_t kFrames = static_cast<int64_t>(kMusicSeconds) * kMusicRate;
constexpr double kFadeSeconds = kMusicSeconds - kMusicFadeStart;

int64_t BeatSample(double beat) { return std::llround(beat * kBeatSamples); }

// Decaying tails die out into subnormal numbers, which are slow on x86: flush them to zero
// while the track is made. The result is the same on every run either way.
class FlushSubnormals {
public:
#if defined(__SSE2__)
    FlushSubnormals() : m_saved(_mm_getcsr()) { _mm_setcsr(m_saved | 0x8040); }
    ~FlushSubnormals() { _mm_setcsr(m_saved); }

private:
    unsigned m_saved;
#endif
};

// ------------------------------------------------------------------------------------ harmony

enum ChordId { Dm, Bb, F, C, Gm, Asus, A, kChordCount };

struct Chord {
    int bass;      // root, in the bass register
    int pad[4];    // the pads' voicing, close and cold: added ninths and major sevenths
    int triad[3];  // pitch classes of the plain triad
};

const Chord kChords[kChordCount] = {
    {38, {53, 57, 62, 64}, {2, 5, 9}},   // Dm add9: F A D E
    {34, {53, 57, 62, 65}, {10, 2, 5}},  // Bbmaj7: F A D F over Bb
    {41, {53, 57, 60, 64}, {5, 9, 0}},   // Fmaj7: F A C E
    {36, {52, 55, 60, 62}, {0, 4, 7}},   // C add9: E G C D
    {43, {53, 58, 62, 65}, {7, 10, 2}},  // Gm7: F Bb D F over G
    {33, {52, 57, 62, 64}, {9, 2, 4}},   // Asus4: E A D E
    {33, {52, 57, 61, 64}, {9, 1, 4}},   // A: E A C# E
};

struct Step {
    ChordId chord;
    int bars;
};

// Dm Bb F C, two bars each, and the rising Gm Bb C A that answers it.
const std::initializer_list<Step> kVerse = {{Dm, 2}, {Bb, 2}, {F, 2}, {C, 2}};
const std::initializer_list<Step> kRise = {{Gm, 2}, {Bb, 2}, {C, 2}, {Asus, 1}, {A, 1}};

// --------------------------------------------------------------------------------- melodies

enum Pitch {
    F4 = 65,
    G4 = 67,
    A4 = 69,
    Bb4 = 70,
    C5 = 72,
    Cs5 = 73,
    D5 = 74,
    E5 = 76,
    F5 = 77,
    G5 = 79,
    A5 = 81,
    Bb5 = 82,
};

struct Tone {
    double beat;
    double beats;
    int pitch;
};

// Sixteen bars over the verse twice: a call that hangs on the ninth of C, and an answer that
// climbs before it settles back.
const std::vector<Tone> kMelodyA = {
    {0, 1.5, D5},    {1.5, 0.5, C5},  {2, 2, A4},      {5.5, 0.5, G4},  {6, 0.5, A4},
    {6.5, 1.5, C5},  {8, 1.5, D5},    {9.5, 0.5, C5},  {10, 1, Bb4},    {11, 1, A4},
    {12, 3, F4},     {15, 0.5, G4},   {15.5, 0.5, A4}, {16, 1.5, C5},   {17.5, 0.5, A4},
    {18, 1, C5},     {19, 1, F5},     {20, 2.5, E5},   {22.5, 0.5, D5}, {23, 1, C5},
    {24, 1.5, E5},   {25.5, 0.5, D5}, {26, 1, C5},     {27, 1, G4},     {28, 3.5, D5},
    {32, 1.5, D5},   {33.5, 0.5, C5}, {34, 2, A4},     {37.5, 0.5, G4}, {38, 0.5, A4},
    {38.5, 1.5, C5}, {40, 1.5, D5},   {41.5, 0.5, F5}, {42, 1, D5},     {43, 1, C5},
    {44, 3, D5},     {47, 0.5, C5},   {47.5, 0.5, D5}, {48, 1.5, F5},   {49.5, 0.5, E5},
    {50, 1, C5},     {51, 1, A4},     {52, 2, C5},     {54, 1, F5},     {55, 1, G5},
    {56, 2.5, E5},   {58.5, 0.5, D5}, {59, 1, C5},     {60, 4, D5},
};

// Sixteen bars over the rise twice, higher and wider, leaning on the C# of the A chord.
const std::vector<Tone> kMelodyB = {
    {0, 1, Bb4}, {1, 1, D5},    {2, 2, G5},      {4, 1, F5},      {5, 1, D5},  {6, 1, Bb4},
    {7, 1, C5},  {8, 1.5, D5},  {9.5, 0.5, F5},  {10, 2, A5},     {12, 1, G5}, {13, 1, F5},
    {14, 2, D5}, {16, 1.5, E5}, {17.5, 0.5, G5}, {18, 1, E5},     {19, 1, D5}, {20, 2, C5},
    {22, 1, G4}, {23, 1, C5},   {24, 2, D5},     {26, 1, E5},     {27, 1, D5}, {28, 3, Cs5},
    {31, 1, E5}, {32, 1, Bb4},  {33, 1, D5},     {34, 2, G5},     {36, 1, A5}, {37, 1, Bb5},
    {38, 1, A5}, {39, 1, G5},   {40, 1.5, F5},   {41.5, 0.5, G5}, {42, 2, A5}, {44, 1, F5},
    {45, 1, D5}, {46, 2, F5},   {48, 1.5, G5},   {49.5, 0.5, E5}, {50, 1, C5}, {51, 1, E5},
    {52, 2, G5}, {54, 1, E5},   {55, 1, G5},     {56, 2, A5},     {58, 1, G5}, {59, 1, E5},
    {60, 2, E5}, {62, 2, Cs5},
};

int PitchClass(int pitch) { return ((pitch % 12) + 12) % 12; }

bool InTriad(const Chord& chord, int pitch) {
    const int pc = PitchClass(pitch);
    return pc == chord.triad[0] || pc == chord.triad[1] || pc == chord.triad[2];
}

// A second voice under the melody: a chord tone takes the next chord tone down (a sixth rather
// than a bare fourth), a passing tone the diatonic third below in D minor.
int HarmonyBelow(int pitch, const Chord& chord) {
    if (InTriad(chord, pitch)) {
        int p = pitch - 1;
        while (!InTriad(chord, p) || pitch - p == 5) --p;
        return p;
    }
    static const bool kInScale[12] = {true,  false, true,  false, true, true,
                                      false, true,  false, true,  true, false};
    int p = pitch;
    for (int steps = 0; steps < 2;)
        if (kInScale[PitchClass(--p)]) ++steps;
    return p;
}

// ------------------------------------------------------------------------------------ score

enum Part {
    kPad,
    kBass,
    kLead,
    kLeadDouble,
    kArp,
    kKick,
    kSnare,
    kClap,
    kHat,
    kOpenHat,
    kCrash,
    kRiser,
    kImpact,
    kPartCount
};

struct Note {
    int64_t start;   // samples
    int64_t length;  // samples
    double pitch;    // MIDI number
    double velocity;
};

// Points (bar, value), joined by straight lines, constant beyond the ends.
class Automation {
public:
    Automation(std::initializer_list<std::pair<double, double>> points) : m_points(points) {}
    // Bars only grow between calls, so a cursor finds the segment.
    double At(double bar) {
        while (m_cursor + 1 < m_points.size() && m_points[m_cursor + 1].first <= bar) ++m_cursor;
        const auto& a = m_points[m_cursor];
        if (bar <= a.first || m_cursor + 1 == m_points.size()) return a.second;
        const auto& b = m_points[m_cursor + 1];
        return a.second + (b.second - a.second) * (bar - a.first) / (b.first - a.first);
    }

private:
    std::vector<std::pair<double, double>> m_points;
    size_t m_cursor = 0;
};

class Score {
public:
    Score() : m_chord(kBars, Dm), m_stepStart(kBars, false), m_stepBars(kBars, 0) {}

    void Add(Part part, double beat, double beats, double pitch, double velocity) {
        int64_t start = BeatSample(beat);
        if (start >= kFrames) return;
        m_notes[part].push_back({start, BeatSample(beat + beats) - start, pitch, velocity});
    }

    // Lays the chords from `bar` on; each chord also starts the pads. Returns the bar after.
    int Chords(int bar, std::initializer_list<std::initializer_list<Step>> progressions) {
        for (const auto& steps : progressions) {
            for (const Step& step : steps) {
                m_stepStart[bar] = true;
                m_stepBars[bar] = step.bars;
                for (int b = bar; b < bar + step.bars; ++b) m_chord[b] = step.chord;
                for (int pitch : kChords[step.chord].pad)
                    Add(kPad, bar * 4.0, step.bars * 4.0, pitch, 1.0);
                bar += step.bars;
            }
        }
        return bar;
    }
    const Chord& ChordAt(int bar) const { return kChords[m_chord[bar]]; }

    // Plays the tones of a melody in [from, to) beats, starting at `bar`, stretched by `scale`;
    // `harmony` plays the voice under it instead.
    void Melody(Part part, int bar, const std::vector<Tone>& melody, double from, double to,
                int transpose, double velocity, double scale = 1.0, bool harmony = false) {
        for (const Tone& t : melody) {
            if (t.beat < from || t.beat >= to) continue;
            const double beat = bar * 4.0 + (t.beat - from) * scale;
            int pitch = t.pitch + transpose;
            if (harmony) pitch = HarmonyBelow(pitch, ChordAt(static_cast<int>(beat / 4.0)));
            // Phrases lean on their first beat and the long notes.
            double v = velocity * (std::fmod(t.beat, 4.0) == 0.0 ? 1.0 : 0.9) *
                       (t.beats >= 2.0 ? 1.0 : 0.94);
            Add(part, beat, t.beats * scale, pitch, v);
        }
    }

    // Bass lines from the chords' roots.
    enum class BassLine { Long, Offbeat, Rolling };
    void Bass(int bar, int bars, BassLine line, double velocity) {
        for (int b = bar; b < bar + bars; ++b) {
            const int root = ChordAt(b).bass;
            const double beat0 = b * 4.0;
            switch (line) {
                case BassLine::Long:
                    if (m_stepStart[b] || b == bar) {
                        int length = std::min(StepBarsFrom(b), bar + bars - b);
                        Add(kBass, beat0, length * 4.0 - 0.25, root, velocity);
                    }
                    break;
                case BassLine::Offbeat:
                    for (int q = 0; q < 4; ++q) {
                        bool lift = q == 3 && (b % 2 == 1);
                        Add(kBass, beat0 + q + 0.5, 0.4, root + (lift ? 12 : 0), velocity);
                    }
                    break;
                case BassLine::Rolling:
                    for (int q = 0; q < 4; ++q) {
                        for (int s = 1; s < 4; ++s) {
                            bool lift = q == 3 && s == 3 && (b % 2 == 1);
                            double v = velocity * (s == 2 ? 1.0 : 0.82);
                            Add(kBass, beat0 + q + s * 0.25, 0.2, root + (lift ? 12 : 0), v);
                        }
                    }
                    break;
            }
        }
    }

    // Sixteenth-note arpeggio over the pads' notes and the octave above them.
    void Arp(int bar, int bars, bool wide, double velocity) {
        static const int kRolling[16] = {0, 2, 1, 3, 2, 4, 3, 5, 4, 6, 5, 7, 6, 4, 5, 3};
        static const int kWide[16] = {0, 4, 2, 6, 1, 5, 3, 7, 0, 4, 2, 6, 3, 7, 5, 4};
        const int* pattern = wide ? kWide : kRolling;
        for (int b = bar; b < bar + bars; ++b) {
            const Chord& chord = ChordAt(b);
            for (int s = 0; s < 16; ++s) {
                int index = pattern[s];
                int pitch = chord.pad[index % 4] + (index >= 4 ? 12 : 0);
                double v = velocity * (s % 4 == 0 ? 1.0 : (s % 2 == 0 ? 0.8 : 0.68));
                Add(kArp, b * 4.0 + s * 0.25, 0.2, pitch, v);
            }
        }
    }

    void Kicks(int bar, int bars, double velocity) {
        for (int b = bar; b < bar + bars; ++b)
            for (int q = 0; q < 4; ++q) Add(kKick, b * 4.0 + q, 0.5, 0, velocity);
    }
    // Snare and clap on two and four.
    void Backbeat(int bar, int bars, double velocity) {
        for (int b = bar; b < bar + bars; ++b) {
            for (int q = 1; q < 4; q += 2) {
                Add(kSnare, b * 4.0 + q, 0.5, 0, velocity);
                Add(kClap, b * 4.0 + q, 0.5, 0, velocity);
            }
        }
    }
    void Hats(int bar, int bars, bool sixteenths, bool openOffbeats, double velocity) {
        for (int b = bar; b < bar + bars; ++b) {
            for (int s = 0; s < 16; ++s) {
                double beat = b * 4.0 + s * 0.25;
                if (openOffbeats && s % 4 == 2) {
                    Add(kOpenHat, beat, 0.25, 0, velocity);
                } else if (sixteenths) {
                    Add(kHat, beat, 0.25, 0, velocity * (s % 2 == 0 ? 0.8 : 0.55));
                } else if (s % 4 == 2) {
                    Add(kHat, beat, 0.25, 0, velocity);
                }
            }
        }
    }
    // A snare roll that speeds up from eighths to thirty-seconds and swells, ending at `endBeat`.
    void Roll(double startBeat, double endBeat, double from, double to) {
        const double length = endBeat - startBeat;
        for (double beat = startBeat; beat < endBeat - 1e-9;) {
            double x = (beat - startBeat) / length;
            Add(kSnare, beat, 0.25, 0, from + (to - from) * x * x);
            beat += x < 0.5 ? 0.5 : (x < 0.85 ? 0.25 : 0.125);
        }
    }
    void Crash(int bar, double velocity) { Add(kCrash, bar * 4.0, 8, 0, velocity); }
    void Impact(int bar, double velocity) { Add(kImpact, bar * 4.0, 8, 0, velocity); }
    // A noise sweep rising over `bars`, ending on the bar line where the next section lands.
    void Riser(int endBar, int bars, double velocity) {
        Add(kRiser, (endBar - bars) * 4.0, bars * 4.0, 0, velocity);
    }

    std::vector<Note>& Notes(Part part) { return m_notes[part]; }
    void Sort() {
        for (auto& notes : m_notes)
            std::stable_sort(notes.begin(), notes.end(),
                             [](const Note& a, const Note& b) { return a.start < b.start; });
    }

private:
    int StepBarsFrom(int bar) const {
        int start = bar;
        while (start > 0 && !m_stepStart[start]) --start;
        return m_stepBars[start] - (bar - start);
    }

    std::array<std::vector<Note>, kPartCount> m_notes;
    std::vector<ChordId> m_chord;
    std::vector<bool> m_stepStart;
    std::vector<int> m_stepBars;
};

// The arrangement: nine sections of 20 bars (the last one 23) that follow the scenes.
Score Compose() {
    using BassLine = Score::BassLine;
    Score s;

    // Intro, bars 0-19: the pads open up out of the dark, the lead states the call softly.
    s.Chords(0, {kVerse, kVerse, {{Bb, 2}, {C, 2}}});
    s.Melody(kLead, 8, kMelodyA, 0, 32, 0, 0.55);
    s.Arp(16, 4, false, 0.5);
    s.Riser(20, 4, 0.6);

    // Bars 20-39: the kick and a long-note bass come in; the lead answers itself.
    s.Chords(20, {kVerse, kVerse, {{Gm, 2}, {A, 2}}});
    s.Impact(20, 0.8);
    s.Crash(20, 0.8);
    s.Kicks(20, 20, 0.75);
    s.Hats(28, 12, false, false, 0.6);
    s.Bass(20, 20, BassLine::Long, 0.6);
    s.Melody(kLead, 20, kMelodyA, 0, 16, 0, 0.7);
    s.Melody(kLead, 28, kMelodyA, 32, 64, 0, 0.7);
    s.Arp(20, 20, false, 0.65);
    s.Roll(38 * 4.0, 40 * 4.0, 0.15, 0.7);
    s.Riser(40, 4, 0.7);

    // Bars 40-59: the full groove and the whole melody.
    s.Chords(40, {kVerse, kVerse, {{Bb, 2}, {C, 2}}});
    s.Crash(40, 1.0);
    s.Crash(48, 0.7);
    s.Kicks(40, 20, 1.0);
    s.Backbeat(40, 20, 0.9);
    s.Hats(40, 8, true, false, 0.8);
    s.Hats(48, 12, true, true, 0.85);
    s.Bass(40, 20, BassLine::Offbeat, 0.9);
    s.Arp(40, 20, false, 0.75);
    s.Melody(kLead, 40, kMelodyA, 0, 64, 0, 0.85);
    s.Roll(59 * 4.0 + 2, 60 * 4.0, 0.4, 0.8);

    // Bars 60-79: the rise and its melody, resolving onto D minor.
    s.Chords(60, {kRise, kRise, {{Dm, 4}}});
    s.Crash(60, 0.9);
    s.Crash(68, 0.6);
    s.Crash(76, 0.7);
    s.Kicks(60, 20, 1.0);
    s.Backbeat(60, 20, 0.9);
    s.Hats(60, 20, true, true, 0.85);
    s.Bass(60, 20, BassLine::Offbeat, 0.9);
    s.Arp(60, 20, true, 0.75);
    s.Melody(kLead, 60, kMelodyB, 0, 64, 0, 0.85);
    s.Add(kLead, 76 * 4.0, 8, D5, 0.8);

    // Bars 80-99: breakdown. No drums; the call at half speed over long chords, then a build.
    s.Chords(80, {{{Bb, 4}, {F, 4}, {Gm, 4}, {Dm, 4}, {Gm, 2}, {A, 2}}});
    s.Crash(80, 0.9);
    s.Impact(80, 0.7);
    s.Bass(80, 16, BassLine::Long, 0.6);
    s.Bass(96, 4, BassLine::Offbeat, 0.75);
    s.Melody(kLead, 80, kMelodyA, 0, 16, 0, 0.6, 2.0);
    s.Melody(kLead, 88, kMelodyA, 0, 16, 0, 0.65, 2.0);
    s.Hats(92, 8, true, false, 0.45);
    s.Arp(92, 8, false, 0.7);
    for (int b = 96; b < 100; ++b)
        for (int q = 0; q < (b == 99 ? 3 : 4); ++q)
            s.Add(kKick, b * 4.0 + q, 0.5, 0, 0.55 + 0.1 * (b - 96));
    s.Roll(96 * 4.0, 99 * 4.0 + 3.5, 0.1, 0.9);
    s.Riser(100, 8, 0.9);

    // Bars 100-119: the drop. Rolling bass; the melody doubled an octave up.
    s.Chords(100, {kVerse, kVerse, {{Bb, 2}, {C, 2}}});
    s.Impact(100, 1.0);
    s.Crash(100, 1.0);
    s.Crash(108, 0.7);
    s.Crash(116, 0.6);
    s.Kicks(100, 20, 1.0);
    s.Backbeat(100, 20, 0.95);
    s.Hats(100, 20, true, true, 0.9);
    s.Bass(100, 20, BassLine::Rolling, 0.9);
    s.Arp(100, 20, false, 0.8);
    s.Melody(kLead, 100, kMelodyA, 0, 64, 0, 0.9);
    s.Melody(kLeadDouble, 100, kMelodyA, 0, 64, 12, 0.5);
    s.Roll(119 * 4.0 + 2, 120 * 4.0, 0.4, 0.8);

    // Bars 120-139: the rise again, flowing, with the wide arpeggio.
    s.Chords(120, {kRise, kRise, {{Bb, 2}, {C, 2}}});
    s.Crash(120, 0.9);
    s.Crash(128, 0.6);
    s.Kicks(120, 20, 1.0);
    s.Backbeat(120, 20, 0.9);
    s.Hats(120, 20, true, true, 0.9);
    s.Bass(120, 20, BassLine::Rolling, 0.9);
    s.Arp(120, 20, true, 0.85);
    s.Melody(kLead, 120, kMelodyB, 0, 64, 0, 0.9);
    s.Roll(138 * 4.0, 140 * 4.0, 0.2, 0.9);
    s.Riser(140, 4, 0.9);

    // Bars 140-159: the climax. The melody an octave up in thirds, everything open.
    s.Chords(140, {kVerse, kVerse, {{Gm, 2}, {A, 2}}});
    s.Impact(140, 1.0);
    for (int b = 140; b < 156; b += 4) s.Crash(b, b == 140 ? 1.0 : 0.65);
    s.Kicks(140, 20, 1.0);
    s.Backbeat(140, 20, 1.0);
    s.Hats(140, 20, true, true, 1.0);
    s.Bass(140, 20, BassLine::Rolling, 1.0);
    s.Arp(140, 20, false, 0.9);
    s.Melody(kLead, 140, kMelodyA, 0, 64, 12, 0.95);
    s.Melody(kLeadDouble, 140, kMelodyA, 0, 64, 12, 0.6, 1.0, true);
    s.Roll(158 * 4.0, 160 * 4.0, 0.3, 1.0);
    s.Riser(160, 4, 1.0);

    // Bars 160-182: the finale. The melody once more; the drums thin out and leave a last D
    // minor chord that rings into the fade.
    s.Chords(160, {kVerse, kVerse, {{Dm, 7}}});
    s.Impact(160, 0.9);
    s.Crash(160, 1.0);
    s.Crash(168, 0.6);
    s.Crash(176, 0.5);
    s.Kicks(160, 12, 0.95);
    s.Backbeat(160, 12, 0.9);
    s.Hats(160, 8, true, true, 0.85);
    s.Hats(168, 6, true, false, 0.6);
    s.Bass(160, 8, BassLine::Rolling, 0.9);
    s.Bass(168, 8, BassLine::Offbeat, 0.8);
    s.Bass(176, 7, BassLine::Long, 0.7);
    s.Arp(160, 16, false, 0.75);
    s.Melody(kLead, 160, kMelodyA, 0, 60, 0, 0.85);
    s.Add(kLead, 160 * 4.0 + 60, 28, D5, 0.8);
    s.Add(kPad, 176 * 4.0, 28, 50, 0.9);  // the final chord opens downwards
    s.Add(kPad, 176 * 4.0, 28, 69, 0.8);

    s.Sort();
    return s;
}

// ------------------------------------------------------------------------------ instruments

// Wide detuned saws, four per note, spread from left to right.
class PadSynth {
public:
    void Trigger(const Note& note) {
        Voice& v = FreeVoice();
        static const double kCents[4] = {-13.0, -4.5, 4.0, 12.5};
        const double hz = MidiHz(note.pitch);
        for (int k = 0; k < 4; ++k) {
            v.dt[k] = hz * std::pow(2.0, kCents[k] / 1200.0) / kRate;
            v.saw[k].phase = m_noise.Unit();
        }
        v.gain = 0.1 * note.velocity;
        v.offAt = note.start + note.length;
        v.env.Set(1.6, 2.5, 0.75, 3.0);
        v.env.On();
    }
    void Tick(int64_t now, double* left, double* right) {
        double l = 0.0, r = 0.0;
        for (Voice& v : m_voices) {
            if (!v.env.Active()) continue;
            if (now == v.offAt) v.env.Off();
            const double e = v.env.Next() * v.gain;
            const double s0 = v.saw[0].Next(v.dt[0]);
            const double s1 = v.saw[1].Next(v.dt[1]);
            const double s2 = v.saw[2].Next(v.dt[2]);
            const double s3 = v.saw[3].Next(v.dt[3]);
            l += e * (s0 + 0.75 * s1 + 0.45 * s2 + 0.2 * s3);
            r += e * (0.2 * s0 + 0.45 * s1 + 0.75 * s2 + s3);
        }
        *left = l;
        *right = r;
    }

private:
    struct Voice {
        Saw saw[4];
        double dt[4] = {};
        double gain = 0.0;
        int64_t offAt = 0;
        Adsr env;
    };
    Voice& FreeVoice() {
        Voice* quietest = &m_voices[0];
        for (Voice& v : m_voices) {
            if (!v.env.Active()) return v;
            if (v.env.Level() < quietest->env.Level()) quietest = &v;
        }
        return *quietest;
    }
    Voice m_voices[16];
    Noise m_noise{0x5eed0001u};
};

// A saw through a resonant low-pass that snaps open on every note, over a clean sine.
class BassSynth {
public:
    BassSynth() {
        m_amp.Set(0.004, 0.3, 0.8, 0.06);
        m_filterEnv.Set(0.003, 0.28, 0.0, 0.1);
    }
    void Trigger(const Note& note) {
        m_dt = MidiHz(note.pitch) / kRate;
        m_subDt = MidiHz(note.pitch < 40 ? note.pitch : note.pitch - 12) / kRate;
        m_offAt = note.start + note.length;
        m_velocity = note.velocity;
        m_amp.On();
        m_filterEnv.On();
    }
    void SetBrightness(double hz) { m_cutoff = hz; }
    double Tick(int64_t now) {
        if (now == m_offAt) {
            m_amp.Off();
            m_filterEnv.Off();
        }
        if (!m_amp.Active()) return 0.0;
        const double fe = m_filterEnv.Next();
        if ((m_age++ & 15) == 0) m_filter.Set(m_cutoff * (1.0 + 6.0 * fe * m_velocity), 1.4);
        const double saw = m_saw.Next(m_dt);
        const double sub = m_sub.Next(m_subDt);
        return m_amp.Next() * m_velocity * (0.55 * m_filter.Low(saw) + 0.6 * sub);
    }

private:
    Saw m_saw;
    Sine m_sub;
    Svf m_filter;
    Adsr m_amp, m_filterEnv;
    double m_dt = 0.0, m_subDt = 0.0, m_velocity = 0.0, m_cutoff = 200.0;
    int64_t m_offAt = -1;
    uint64_t m_age = 0;
};

// Two detuned saws (one per side) and a narrow pulse, gliding between legato notes, with a
// delayed vibrato.
class LeadSynth {
public:
    LeadSynth() {
        m_amp.Set(0.012, 0.5, 0.72, 0.4);
        m_filterEnv.Set(0.006, 0.6, 0.25, 0.4);
        m_glide = std::exp(-1.0 / (0.025 * kRate));
    }
    void Trigger(const Note& note) {
        if (!m_amp.Active()) m_pitch = note.pitch;
        m_target = note.pitch;
        m_offAt = note.start + note.length;
        m_velocity = note.velocity;
        m_noteAge = 0;
        m_amp.On();
        m_filterEnv.On();
    }
    void SetBrightness(double hz) { m_cutoff = hz; }
    void Tick(int64_t now, double* left, double* right) {
        if (now == m_offAt) {
            m_amp.Off();
            m_filterEnv.Off();
        }
        if (!m_amp.Active()) {
            *left = *right = 0.0;
            return;
        }
        m_pitch = m_target + (m_pitch - m_target) * m_glide;
        const double fe = m_filterEnv.Next();
        if ((m_noteAge & 15) == 0) {
            const double seconds = m_noteAge / kRate;
            const double depth = 0.14 * std::clamp((seconds - 0.35) / 0.6, 0.0, 1.0);
            const double pitch = m_pitch + depth * std::sin(2.0 * kPi * 5.3 * seconds);
            m_dt = MidiHz(pitch) / kRate;
            const double track = std::sqrt(MidiHz(pitch) / 440.0);
            const double cutoff = m_cutoff * track * (0.55 + 0.45 * m_velocity) * (1.0 + 2.2 * fe);
            m_filterL.Set(cutoff, 0.9);
            m_filterR.Set(cutoff, 0.9);
        }
        ++m_noteAge;
        const double a = m_sawL.Next(m_dt * 0.9965);
        const double b = m_sawR.Next(m_dt * 1.0035);
        const double p = m_pulse.Next(m_dt, 0.3);
        const double e = m_amp.Next() * m_velocity;
        *left = e * m_filterL.Low(0.5 * a + 0.3 * p);
        *right = e * m_filterR.Low(0.5 * b + 0.3 * p);
    }

private:
    Saw m_sawL, m_sawR;
    Pulse m_pulse;
    Svf m_filterL, m_filterR;
    Adsr m_amp, m_filterEnv;
    double m_pitch = 60.0, m_target = 60.0, m_glide = 0.0, m_dt = 0.0;
    double m_velocity = 0.0, m_cutoff = 2000.0;
    int64_t m_offAt = -1;
    uint64_t m_noteAge = 0;
};

// Short square-and-saw plucks, alternating a little left and right.
class ArpSynth {
public:
    void Trigger(const Note& note) {
        Voice& v = m_voices[m_next];
        m_next = (m_next + 1) % kVoices;
        v.dt = MidiHz(note.pitch) / kRate;
        v.velocity = note.velocity;
        v.pan = m_side ? 0.32 : -0.32;
        m_side = !m_side;
        v.age = 0;
        v.amp.Set(0.002, 0.3, 0.0, 0.08);
        v.amp.On();
    }
    void SetBrightness(double hz) { m_cutoff = hz; }
    void Tick(double* left, double* right) {
        double l = 0.0, r = 0.0;
        for (Voice& v : m_voices) {
            if (!v.amp.Active()) continue;
            const double e = v.amp.Next();
            if ((v.age++ & 15) == 0) v.filter.Set(m_cutoff * (0.5 + 2.5 * e * e), 1.6);
            const double x = 0.5 * v.square.Next(v.dt, 0.5) + 0.4 * v.saw.Next(v.dt * 1.004);
            const double y = v.filter.Low(x) * e * v.velocity;
            l += y * (1.0 - v.pan);
            r += y * (1.0 + v.pan);
        }
        *left = l;
        *right = r;
    }

private:
    static constexpr int kVoices = 4;
    struct Voice {
        Pulse square;
        Saw saw;
        Svf filter;
        Adsr amp;
        double dt = 0.0, velocity = 0.0, pan = 0.0;
        uint64_t age = 0;
    };
    Voice m_voices[kVoices];
    int m_next = 0;
    bool m_side = false;
    double m_cutoff = 1000.0;
};

// A sine that sweeps down from 175 Hz to 44 Hz, softly saturated, with a click of noise.
class KickDrum {
public:
    KickDrum() {
        m_pitchDecay = std::exp(-1.0 / (0.032 * kRate));
        m_ampDecay = std::exp(-1.0 / (0.17 * kRate));
        m_clickDecay = std::exp(-1.0 / (0.0025 * kRate));
        m_clickFilter.Set(1500.0);
    }
    void Trigger(const Note& note) {
        Voice& v = m_voices[m_next];
        m_next = (m_next + 1) % kVoices;
        v = Voice{};
        v.velocity = note.velocity;
        v.active = true;
    }
    double Tick() {
        double out = 0.0;
        for (Voice& v : m_voices) {
            if (!v.active) continue;
            const double hz = 44.0 + 131.0 * v.pitchEnv;
            v.pitchEnv *= m_pitchDecay;
            v.phase += hz / kRate;
            if (v.phase >= 1.0) v.phase -= 1.0;
            const double attack = v.age < 44 ? v.age / 44.0 : 1.0;
            ++v.age;
            const double body = m_shape.At(v.phase);
            const double click = m_clickFilter.High(m_noise.Next()) * v.clickEnv;
            out += v.velocity * (body * v.ampEnv * attack + 0.3 * click);
            v.ampEnv *= m_ampDecay;
            v.clickEnv *= m_clickDecay;
            if (v.ampEnv < 1e-3) v.active = false;
        }
        return out;
    }

private:
    static constexpr int kVoices = 3;
    struct Voice {
        double phase = 0.0, pitchEnv = 1.0, ampEnv = 1.0, clickEnv = 1.0, velocity = 0.0;
        int age = 0;
        bool active = false;
    };
    Voice m_voices[kVoices];
    int m_next = 0;
    double m_pitchDecay, m_ampDecay, m_clickDecay;
    OnePole m_clickFilter;
    Noise m_noise{0x5eed0002u};
    // A sine pushed into soft clipping: rounder and louder than the plain sine.
    WaveTable m_shape{
        [](double p) { return std::tanh(1.8 * std::sin(2.0 * kPi * p)) / std::tanh(1.8); }};
};

// Two tuned sines for the shell and high-passed noise for the wires.
class SnareDrum {
public:
    SnareDrum() {
        m_bodyDecay = std::exp(-1.0 / (0.05 * kRate));
        m_noiseDecay = std::exp(-1.0 / (0.11 * kRate));
        for (Voice& v : m_voices) v.wires.Set(1800.0, 0.7);
    }
    void Trigger(const Note& note) {
        Voice& v = m_voices[m_next];
        m_next = (m_next + 1) % kVoices;
        v.body = 1.0;
        v.noise = 1.0;
        v.velocity = note.velocity;
        v.low.phase = v.high.phase = 0.0;
        v.active = true;
    }
    double Tick() {
        double out = 0.0;
        for (Voice& v : m_voices) {
            if (!v.active) continue;
            const double shell = 0.6 * v.low.Next((180.0 + 40.0 * v.body) / kRate) +
                                 0.3 * v.high.Next(330.0 / kRate);
            const double wires = v.wires.High(m_noise.Next());
            out += v.velocity * (0.8 * shell * v.body + 0.75 * wires * v.noise);
            v.body *= m_bodyDecay;
            v.noise *= m_noiseDecay;
            if (v.noise < 1e-4) v.active = false;
        }
        return out;
    }

private:
    static constexpr int kVoices = 4;
    struct Voice {
        Sine low, high;
        Svf wires;
        double body = 0.0, noise = 0.0, velocity = 0.0;
        bool active = false;
    };
    Voice m_voices[kVoices];
    int m_next = 0;
    double m_bodyDecay, m_noiseDecay;
    Noise m_noise{0x5eed0003u};
};

// Three quick bursts of band-passed noise and a short tail.
class Clap {
public:
    Clap() {
        m_burstDecay = std::exp(-1.0 / (0.0045 * kRate));
        m_tailDecay = std::exp(-1.0 / (0.09 * kRate));
        m_filter.Set(1300.0, 1.3);
    }
    void Trigger(const Note& note) {
        m_age = 0;
        m_velocity = note.velocity;
        m_active = true;
    }
    double Tick() {
        const double x = m_filter.Band(m_noise.Next());
        if (!m_active) return 0.0;
        if (m_age == 0 || m_age == 485 || m_age == 970) m_burst = 1.0;
        if (m_age == 970) m_tail = 1.0;
        ++m_age;
        const double env = std::max(m_burst, 0.7 * m_tail);
        m_burst *= m_burstDecay;
        m_tail *= m_tailDecay;
        if (m_age > 970 && env < 1e-4) m_active = false;
        return 2.2 * x * env * m_velocity;
    }

private:
    Svf m_filter;
    Noise m_noise{0x5eed0004u};
    double m_burstDecay, m_tailDecay, m_burst = 0.0, m_tail = 0.0, m_velocity = 0.0;
    int m_age = 0;
    bool m_active = false;
};

// High-passed noise with a short or long decay.
class HiHat {
public:
    HiHat(double decaySeconds, uint32_t seed) : m_noise(seed) {
        m_decay = std::exp(-1.0 / (decaySeconds * kRate));
        m_highPass.Set(7600.0, 0.8);
        m_tone.Set(10500.0, 1.2);
    }
    void Trigger(const Note& note) {
        m_env = 1.0;
        m_velocity = note.velocity;
    }
    double Tick() {
        if (m_env < 1e-4) return 0.0;
        const double n = m_noise.Next();
        const double x = m_highPass.High(n) + 0.5 * m_tone.Band(n);
        const double out = x * m_env * m_velocity;
        m_env *= m_decay;
        return out;
    }

private:
    Noise m_noise;
    Svf m_highPass, m_tone;
    double m_decay, m_env = 0.0, m_velocity = 0.0;
};

// A long wash of bright noise, different in each channel.
class Cymbal {
public:
    Cymbal() {
        m_decay = std::exp(-1.0 / (0.9 * kRate));
        m_highL.Set(4200.0, 0.7);
        m_highR.Set(4600.0, 0.7);
    }
    void Trigger(const Note& note) {
        m_env = 1.0;
        m_velocity = note.velocity;
    }
    void Tick(double* left, double* right) {
        if (m_env < 1e-4) {
            *left = *right = 0.0;
            return;
        }
        const double e = m_env * m_velocity;
        *left = e * m_highL.High(m_noiseL.Next());
        *right = e * m_highR.High(m_noiseR.Next());
        m_env *= m_decay;
    }

private:
    Noise m_noiseL{0x5eed0005u}, m_noiseR{0x5eed0006u};
    Svf m_highL, m_highR;
    double m_decay, m_env = 0.0, m_velocity = 0.0;
};

// Noise through a band-pass that sweeps up over the note, growing louder until it ends.
class Riser {
public:
    void Trigger(const Note& note) {
        m_start = note.start;
        m_length = note.length;
        m_velocity = note.velocity;
        m_active = true;
    }
    void Tick(int64_t now, double* left, double* right) {
        *left = *right = 0.0;
        if (!m_active) return;
        const double x = static_cast<double>(now - m_start) / m_length;
        if (x >= 1.0) {
            m_active = false;
            return;
        }
        if (((now - m_start) & 31) == 0) {
            const double hz = 250.0 * std::pow(36.0, x);
            m_bandL.Set(hz, 2.2);
            m_bandR.Set(hz * 1.07, 2.2);
        }
        const double fadeOut = std::min(1.0, (m_length - (now - m_start)) / 220.0);
        const double e = m_velocity * x * x * fadeOut;
        *left = e * m_bandL.Band(m_noiseL.Next());
        *right = e * m_bandR.Band(m_noiseR.Next());
    }

private:
    Noise m_noiseL{0x5eed0007u}, m_noiseR{0x5eed0008u};
    Svf m_bandL, m_bandR;
    int64_t m_start = 0, m_length = 1;
    double m_velocity = 0.0;
    bool m_active = false;
};

// A deep boom that marks the big entrances: a slow sine drop and a dull thud of noise.
class Impact {
public:
    Impact() {
        m_pitchDecay = std::exp(-1.0 / (0.4 * kRate));
        m_ampDecay = std::exp(-1.0 / (0.7 * kRate));
        m_thudDecay = std::exp(-1.0 / (0.18 * kRate));
        m_thudFilter.Set(600.0, 0.7);
    }
    void Trigger(const Note& note) {
        m_pitchEnv = m_amp = m_thud = 1.0;
        m_velocity = note.velocity;
        m_age = 0;
    }
    double Tick() {
        if (m_amp < 1e-4) return 0.0;
        const double attack = m_age < 88 ? m_age / 88.0 : 1.0;
        ++m_age;
        const double boom = m_sine.Next((29.0 + 32.0 * m_pitchEnv) / kRate);
        const double thud = m_thudFilter.Low(m_noise.Next());
        const double out = m_velocity * attack * (boom * m_amp + 0.6 * thud * m_thud);
        m_pitchEnv *= m_pitchDecay;
        m_amp *= m_ampDecay;
        m_thud *= m_thudDecay;
        return out;
    }

private:
    Sine m_sine;
    Svf m_thudFilter;
    Noise m_noise{0x5eed0009u};
    double m_pitchDecay, m_ampDecay, m_thudDecay;
    double m_pitchEnv = 0.0, m_amp = 0.0, m_thud = 0.0, m_velocity = 0.0;
    int m_age = 0;
};

// Cold wind: noise through slowly wandering band-passes, one per side.
class Air {
public:
    void Tick(uint64_t now, double level, double* left, double* right) {
        if (level <= 0.0) {
            *left = *right = 0.0;
            return;
        }
        if ((now & 31) == 0) {
            const double t = now / kRate;
            m_bandL.Set(700.0 * std::pow(2.0, 1.2 * std::sin(2.0 * kPi * 0.043 * t)), 3.0);
            m_bandR.Set(700.0 * std::pow(2.0, 1.2 * std::sin(2.0 * kPi * 0.037 * t + 2.0)), 3.0);
        }
        *left = level * m_bandL.Band(m_noiseL.Next());
        *right = level * m_bandR.Band(m_noiseR.Next());
    }

private:
    Noise m_noiseL{0x5eed000au}, m_noiseR{0x5eed000bu};
    Svf m_bandL, m_bandR;
};

// How far the pads and plucks make room under each kick.
class Ducker {
public:
    Ducker() {
        m_decay = std::exp(-1.0 / (0.13 * kRate));
        m_smooth.Set(60.0);
    }
    void Kick() { m_env = 1.0; }
    // The gain for this sample at the given depth.
    double Next(double depth) {
        const double e = m_smooth.Low(m_env);
        m_env *= m_decay;
        return 1.0 - depth * e;
    }

private:
    OnePole m_smooth;
    double m_decay, m_env = 0.0;
};

// The band, the effects, the mix and the master. Tick() makes one stereo sample of the mix.
class Mixer {
public:
    explicit Mixer(Score* score) : m_score(score) {
        m_padLowCutL.Set(160.0);
        m_padLowCutR.Set(160.0);
        m_dcL.Set(18.0);
        m_dcR.Set(18.0);
        m_topCutL.Set(15500.0, 0.7071);
        m_topCutR.Set(15500.0, 0.7071);
    }

    void Tick(int64_t now, double* left, double* right) {
        Trigger(now);
        if ((now & 31) == 0) Control(now);

        // Pads, the lead and the arpeggio.
        double padL, padR;
        m_pad.Tick(now, &padL, &padR);
        padL = m_padLowCutL.High(m_padFilterL.Low(padL)) * m_padLevel;
        padR = m_padLowCutR.High(m_padFilterR.Low(padR)) * m_padLevel;
        double leadL, leadR, dblL, dblR, arpL, arpR;
        m_lead.Tick(now, &leadL, &leadR);
        m_double.Tick(now, &dblL, &dblR);
        m_arp.Tick(&arpL, &arpR);
        const double duck = m_ducker.Next(m_duckDepth);
        const double bass = m_bass.Tick(now) * (1.0 - 0.5 * (1.0 - duck));

        // Drums and effects.
        const double kick = m_kick.Tick();
        const double snare = m_snare.Tick();
        const double clap = m_clap.Tick();
        const double hat = m_hat.Tick();
        const double openHat = m_openHat.Tick();
        double crashL, crashR, riserL, riserR, airL, airR;
        m_crash.Tick(&crashL, &crashR);
        m_riser.Tick(now, &riserL, &riserR);
        m_air.Tick(static_cast<uint64_t>(now), m_airLevel, &airL, &airR);
        const double impact = m_impact.Tick();

        const double melodicL = 0.4 * leadL + 0.2 * dblL + 0.28 * arpL * duck;
        const double melodicR = 0.4 * leadR + 0.2 * dblR + 0.28 * arpR * duck;
        double echoL, echoR;
        m_echo.Tick(0.32 * melodicL + 0.08 * snare, 0.32 * melodicR + 0.08 * snare, &echoL, &echoR);

        const double sendL = 0.32 * padL + 0.45 * melodicL + 0.3 * echoL + 0.16 * (snare + clap) +
                             0.1 * crashL + 0.35 * riserL + 0.25 * airL + 0.12 * impact;
        const double sendR = 0.32 * padR + 0.45 * melodicR + 0.3 * echoR + 0.16 * (snare + clap) +
                             0.1 * crashR + 0.35 * riserR + 0.25 * airR + 0.12 * impact;
        double roomL, roomR;
        m_reverb.Tick(sendL, sendR, &roomL, &roomR);
        const double room = 0.55 * (0.6 + 0.4 * duck);  // the room breathes with the kick too

        // The centre: drums and bass. The closed hats lean right, the open ones left.
        const double centre = 0.5 * kick + 0.55 * snare + 0.4 * clap + 0.45 * impact + 0.45 * bass;
        const double l = centre + 0.13 * hat + 0.08 * openHat + padL * duck + melodicL +
                         0.4 * echoL + 0.07 * crashL + 0.12 * riserL + 0.07 * airL + room * roomL;
        const double r = centre + 0.11 * hat + 0.1 * openHat + padR * duck + melodicR +
                         0.4 * echoR + 0.07 * crashR + 0.12 * riserR + 0.07 * airR + room * roomR;
        // No rumble below 18 Hz, and nothing above 15.5 kHz for the encoder to cut off (its
        // low-pass would make the peaks ring over the ceiling).
        *left = m_topCutL.Low(m_dcL.High(l));
        *right = m_topCutR.Low(m_dcR.High(r));
    }

private:
    void Trigger(int64_t now) {
        for (int p = 0; p < kPartCount; ++p) {
            const std::vector<Note>& notes = m_score->Notes(static_cast<Part>(p));
            size_t& next = m_next[p];
            while (next < notes.size() && notes[next].start <= now) {
                const Note& n = notes[next++];
                switch (static_cast<Part>(p)) {
                    case kPad:
                        m_pad.Trigger(n);
                        break;
                    case kBass:
                        m_bass.Trigger(n);
                        break;
                    case kLead:
                        m_lead.Trigger(n);
                        break;
                    case kLeadDouble:
                        m_double.Trigger(n);
                        break;
                    case kArp:
                        m_arp.Trigger(n);
                        break;
                    case kKick:
                        m_kick.Trigger(n);
                        m_ducker.Kick();
                        break;
                    case kSnare:
                        m_snare.Trigger(n);
                        break;
                    case kClap:
                        m_clap.Trigger(n);
                        break;
                    case kHat:
                        m_hat.Trigger(n);
                        break;
                    case kOpenHat:
                        m_openHat.Trigger(n);
                        break;
                    case kCrash:
                        m_crash.Trigger(n);
                        break;
                    case kRiser:
                        m_riser.Trigger(n);
                        break;
                    case kImpact:
                        m_impact.Trigger(n);
                        break;
                    case kPartCount:
                        break;
                }
            }
        }
    }

    // Slow changes, 1378 times a second: filter sweeps and levels along the sections.
    void Control(int64_t now) {
        const double bar = now / (4.0 * kBeatSamples);
        const double drift = 1.0 + 0.12 * std::sin(2.0 * kPi * bar / 16.0);
        const double pad = m_padCutoff.At(bar) * drift;
        m_padFilterL.Set(pad, 0.8);
        m_padFilterR.Set(pad * 1.04, 0.8);
        m_padLevel = m_padLevelLane.At(bar);
        m_arp.SetBrightness(m_arpCutoff.At(bar));
        m_lead.SetBrightness(m_leadCutoff.At(bar));
        m_double.SetBrightness(m_leadCutoff.At(bar) * 1.2);
        m_bass.SetBrightness(m_bassCutoff.At(bar));
        m_airLevel = m_airLane.At(bar);
        m_duckDepth = m_duckLane.At(bar);
    }

    Score* m_score;
    size_t m_next[kPartCount] = {};

    PadSynth m_pad;
    BassSynth m_bass;
    LeadSynth m_lead, m_double;
    ArpSynth m_arp;
    KickDrum m_kick;
    SnareDrum m_snare;
    Clap m_clap;
    HiHat m_hat{0.022, 0x5eed000cu}, m_openHat{0.16, 0x5eed000du};
    Cymbal m_crash;
    Riser m_riser;
    Impact m_impact;
    Air m_air;
    Ducker m_ducker;

    Svf m_padFilterL, m_padFilterR;
    OnePole m_padLowCutL, m_padLowCutR, m_dcL, m_dcR;
    Svf m_topCutL, m_topCutR;
    PingPongDelay m_echo{static_cast<size_t>(0.75 * kBeatSamples), 0.42, 3500.0};
    Reverb m_reverb{3.6, 5200.0};

    double m_padLevel = 1.0, m_airLevel = 0.0, m_duckDepth = 0.0;
    Automation m_padCutoff{{0, 280},    {8, 900},    {19, 1600},  {20, 1500},
                           {39, 2200},  {40, 2600},  {79, 2800},  {80, 900},
                           {96, 1900},  {100, 3200}, {139, 3400}, {140, 4800},
                           {159, 4800}, {160, 3600}, {176, 1800}, {183, 700}};
    Automation m_padLevelLane{{0, 1.0},    {39.75, 0.95},  {40, 0.78},  {79.75, 0.78},
                              {80, 1.05},  {99.75, 1.0},   {100, 0.78}, {139.75, 0.8},
                              {140, 0.92}, {159.75, 0.92}, {160, 0.82}, {176, 1.0}};
    Automation m_arpCutoff{{16, 350},   {20, 500},   {39, 2400},  {40, 2200},
                           {79, 2800},  {92, 400},   {100, 3200}, {139, 3400},
                           {140, 4500}, {160, 3200}, {176, 700}};
    Automation m_leadCutoff{{0, 900},   {19, 1200},  {20, 1500},  {39, 2000},  {40, 2400},
                            {80, 1400}, {100, 2600}, {140, 3400}, {160, 2600}, {183, 1500}};
    Automation m_bassCutoff{{20, 120},  {40, 220},  {80, 110},  {96, 200},
                            {100, 260}, {140, 320}, {160, 260}, {176, 150}};
    Automation m_airLane{{0, 0.0},  {2, 0.8},  {16, 0.5},  {20, 0.2},  {24, 0.0},  {80, 0.0},
                         {82, 0.7}, {96, 0.7}, {100, 0.0}, {176, 0.0}, {178, 0.4}, {183, 0.3}};
    Automation m_duckLane{{0, 0.0}, {20, 0.45}, {40, 0.6}};
};

// Gain of the end's fade: 1 until the fade starts, then an eased fall to 0 at the end.
double FadeGain(double seconds) {
    if (seconds <= kMusicFadeStart) return 1.0;
    const double x = std::min(1.0, (seconds - kMusicFadeStart) / kFadeSeconds);
    const double c = std::cos(0.5 * kPi * x);
    return c * c;
}

// Gentle saturation: linear up to the knee, then rounding off towards 1.
double Saturate(double x) {
    const double knee = 0.55;
    const double a = std::fabs(x);
    if (a <= knee) return x;
    const double y = knee + (1.0 - knee) * SoftTanh((a - knee) / (1.0 - knee));
    return x < 0.0 ? -y : y;
}

}  // namespace

std::vector<int16_t> SynthesizeShowMusic(void (*progress)(double, void*), void* user) {
    FlushSubnormals flush;
    Score score = Compose();
    Mixer mixer(&score);
    const double ceiling = DbToGain(kMusicCeilingDb);
    Limiter limiter(ceiling, 66, 0.12);  // 1.5 ms look-ahead
    const int64_t latency = static_cast<int64_t>(limiter.Latency());
    const double drive = 1.05;
    Noise ditherA(0x5eed00f1u), ditherB(0x5eed00f2u);

    std::vector<int16_t> out(static_cast<size_t>(kFrames) * 2);
    for (int64_t i = 0; i < kFrames + latency; ++i) {
        double l = 0.0, r = 0.0;
        if (i < kFrames) mixer.Tick(i, &l, &r);
        double ml, mr;
        limiter.Tick(Saturate(drive * l), Saturate(drive * r), &ml, &mr);
        const int64_t j = i - latency;
        if (j < 0) continue;

        const double fade = FadeGain(static_cast<double>(j) / kMusicRate);
        // Triangular dither, fading with the music so that the end is digital silence.
        const double dl = (ditherA.Unit() - ditherA.Unit()) * fade;
        const double dr = (ditherB.Unit() - ditherB.Unit()) * fade;
        out[2 * j] = static_cast<int16_t>(std::lround(ml * fade * 32767.0 + dl));
        out[2 * j + 1] = static_cast<int16_t>(std::lround(mr * fade * 32767.0 + dr));
        if (progress && j % kMusicRate == 0) progress(static_cast<double>(j) / kFrames, user);
    }
    if (progress) progress(1.0, user);
    return out;
}
