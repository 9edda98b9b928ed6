// The show's music, "Velmora": a synthesized piece in D minor at 120 BPM in 4/4 (a bar lasts
// 2 s), 44.1 kHz stereo, 6 min 6 s long. Drums, bass, pads, an arpeggio and a lead, in sections
// that turn over every 20 bars with the scenes, and a fade from 356 s to silence at the end.
// Deterministic: every run gives the same samples.
#pragma once

#include <cstdint>
#include <vector>

#include "content/showdata.h"
#include "formats/mp3writer.h"

constexpr int kMusicRate = 44100;
constexpr int kMusicSeconds = 366;
constexpr double kMusicFadeStart = kEndFadeStart;
// The mastering stage keeps every sample at or below this level (dBFS), which leaves headroom
// for what lossy encoding adds to the peaks.
constexpr double kMusicCeilingDb = -3.0;

// How the track is encoded: a fast LAME setting keeps the build short, and at this bitrate it
// still sounds clean.
inline Mp3Settings MusicMp3Settings() {
    Mp3Settings settings;
    settings.sampleRate = kMusicRate;
    settings.bitrateKbps = 192;
    settings.quality = 5;
    return settings;
}

// Interleaved left/right samples of the whole track. progress, when given, is called with the
// fraction done as synthesis goes on.
std::vector<int16_t> SynthesizeShowMusic(void (*progress)(double fraction, void* user) = nullptr,
                                         void* user = nullptr);
