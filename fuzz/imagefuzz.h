// Shared by the png and jpeg fuzzers: decodes the input through the image loader and checks
// what it promises. A refused image leaves the outputs as they were; a decoded one is within
// the pixel cap, has a channel count the format allows, and a buffer that holds every byte
// (all of them are read, so a short buffer shows as an overflow).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "content/imageloader.h"
#include "fuzzsupport.h"

// libpng and libjpeg are not instrumented, so the fuzzer sees only our side of a decode, which
// is the same for most kinds of image: it would keep a few of the seeds and drop the grey,
// palette, 16-bit and interlaced ones as adding nothing. Each target therefore marks the kind
// of its input (what the header says, and whether it decoded) in libFuzzer's extra counters,
// one byte per kind, and every kind counts as a feature of its own.
constexpr size_t kImageKinds = 1024;
__attribute__((section("__libfuzzer_extra_counters"), used)) inline uint8_t
    g_imageKinds[kImageKinds];

inline void MarkImageKind(size_t kind) { g_imageKinds[kind % kImageKinds] = 1; }

struct DecodedImage {
    bool ok = false;
    int width = -1;
    int height = -1;
    int bytesPerPixel = -1;
};

// extension picks the decoder ("png" or "jpg").
inline DecodedImage FuzzImageLoader(const uint8_t* data, size_t size, const char* extension) {
    InstallFuzzFatalHandler();
    const std::string path = WriteFuzzInput(data, size, extension);
    ImageLoader::Pixels pixels;
    DecodedImage image;
    try {
        image.ok = ImageLoader::Load(path, pixels, image.width, image.height, image.bytesPerPixel);
    } catch (const FatalError&) {
        std::abort();  // the loader has no fatal report for a file's content
    }
    if (!image.ok) {
        if (pixels || image.width != -1 || image.height != -1 || image.bytesPerPixel != -1)
            std::abort();
        return image;
    }
    if (!pixels || image.width <= 0 || image.height <= 0 ||
        static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height) >
            ImageLoader::kMaxImagePixels)
        std::abort();
    const size_t bytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                         static_cast<size_t>(image.bytesPerPixel);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += pixels[i];
    volatile unsigned sink = sum;
    (void)sink;
    return image;
}
