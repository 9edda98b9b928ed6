#include "score.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace music {
namespace {

constexpr int kBars = kMusicSeconds / 2;

int64_t BeatSample(double beat) { return std::llround(beat * kBeatSamples); }

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

    // Every part's notes, sorted by start; notes that start together keep their order.
    PartNotes TakeSorted() {
        for (auto& notes : m_notes)
            std::stable_sort(notes.begin(), notes.end(),
                             [](const Note& a, const Note& b) { return a.start < b.start; });
        return std::move(m_notes);
    }

private:
    int StepBarsFrom(int bar) const {
        int start = bar;
        while (start > 0 && !m_stepStart[start]) --start;
        return m_stepBars[start] - (bar - start);
    }

    PartNotes m_notes;
    std::vector<ChordId> m_chord;
    std::vector<bool> m_stepStart;
    std::vector<int> m_stepBars;
};

}  // namespace

PartNotes Compose() {
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

    return s.TakeSorted();
}

}  // namespace music
