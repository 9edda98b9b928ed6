// The show's score: what plays when. Each part's notes in sample time, from the chords, the two
// melodies and the arrangement of the nine sections that follow the scenes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "music.h"
#include "synth.h"

namespace music {

constexpr double kBeatSamples = synth::kRate * 0.5;  // 120 BPM
// The track's length in samples (per channel).
constexpr int64_t kFrames = static_cast<int64_t>(kMusicSeconds) * kMusicRate;

// The band's parts, one instrument each.
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

// Every part's notes, each part's in the order they start.
using PartNotes = std::array<std::vector<Note>, kPartCount>;

// The arrangement: nine sections of 20 bars (the last one 23) that follow the scenes.
PartNotes Compose();

}  // namespace music
