// The show's music, synthesized: 120 BPM in 4/4 (a bar lasts 2 s), 44.1 kHz stereo. Drums,
// bass and a pad over a minor progression. Deterministic: the same length gives the same
// samples on every run.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kMusicRate = 44100;

// Interleaved left/right samples for the given number of bars, ending with a short fade.
std::vector<int16_t> SynthesizeMusic(int bars);
