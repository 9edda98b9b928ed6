// Feeds arbitrary bytes to the image loader as a PNG file. Besides what every image must meet
// (imagefuzz.h), a decoded PNG has the size its header declares and the channels its colour
// type turns into: grey and RGB give 3, grey with alpha and RGBA 4, a palette its index byte.
//
// Nearly every mutation breaks a chunk's CRC, and libpng gives up at the first broken one. So
// an input whose CRCs are not all right is decoded a second time with every CRC made right,
// which lets the fuzzer reach what lies behind the check.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imagefuzz.h"

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Colour type, bit depth, interlacing and a transparency chunk, as far as the header tells.
size_t Kind(const uint8_t* data, size_t size) {
    if (size < 29) return 0;
    const uint8_t colorType = data[25] <= 6 ? data[25] : 7;
    size_t depth = 5;
    for (size_t i = 0; i < 5; ++i)
        if (data[24] == (1u << i)) depth = i;
    const uint8_t interlace = data[28] <= 1 ? data[28] : 2;
    const bool transparency = memmem(data, size, "tRNS", 4) != nullptr;
    return 1 + ((colorType * 6 + depth) * 3 + interlace) * 2 + (transparency ? 1 : 0);
}

// The input with the CRC of every whole chunk after the signature recomputed.
std::vector<uint8_t> WithRightCrcs(const uint8_t* data, size_t size) {
    std::vector<uint8_t> png(data, data + size);
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t length = BigEndian32(data + at);
        if (length > size - at - 12) break;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, data + at + 4, length + 4));
        for (int i = 0; i < 4; ++i)
            png[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
    return png;
}

void Check(const uint8_t* data, size_t size) {
    const DecodedImage image = FuzzImageLoader(data, size, "png");
    MarkImageKind(Kind(data, size) * 2 + (image.ok ? 1 : 0));
    if (!image.ok) return;
    // The signature, then the header chunk: length, "IHDR", width, height, depth, colour type.
    if (size < 33) std::abort();
    if (BigEndian32(data + 16) != static_cast<uint32_t>(image.width) ||
        BigEndian32(data + 20) != static_cast<uint32_t>(image.height))
        std::abort();
    const int channels[] = {3, -1, 3, 1, 4, -1, 4};
    const uint8_t colorType = data[25];
    if (colorType > 6 || channels[colorType] != image.bytesPerPixel) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(data, size);
    const std::vector<uint8_t> fixed = WithRightCrcs(data, size);
    if (!std::equal(fixed.begin(), fixed.end(), data)) Check(fixed.data(), fixed.size());
    return 0;
}
