// Encodes 16-bit stereo PCM to MP3 with LAME. The output depends only on the samples and the
// settings, so a build is byte-identical from run to run (no ID3 tag, no encoder clock).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Mp3Settings {
    int sampleRate = 44100;
    int bitrateKbps = 192;
    int quality = 2;  // LAME's algorithm quality: 0 best, 9 fastest
};

// samples: interleaved left/right. progress, when given, is called with the fraction done.
// Returns false with error set when the encoder refuses.
bool EncodeMp3(const std::vector<int16_t>& samples, const Mp3Settings& settings, std::string* mp3,
               std::string* error, void (*progress)(double fraction, void* user) = nullptr,
               void* user = nullptr);
