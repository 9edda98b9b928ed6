// Feeds arbitrary bytes to the image loader as a JPEG file: besides what every image must meet
// (imagefuzz.h), a decoded JPEG is RGB, grey files included.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imagefuzz.h"

namespace {

// The first frame header's type (baseline, progressive, ...) and component count.
size_t Kind(const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 9 < size; ++i) {
        const uint8_t marker = data[i + 1];
        if (data[i] != 0xFF || marker < 0xC0 || marker > 0xCF || marker == 0xC4 ||
            marker == 0xC8 || marker == 0xCC)
            continue;
        const size_t components = data[i + 9] <= 4 ? data[i + 9] : 5;
        return 1 + (marker - 0xC0) * 6 + components;
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DecodedImage image = FuzzImageLoader(data, size, "jpg");
    MarkImageKind(Kind(data, size) * 2 + (image.ok ? 1 : 0));
    if (image.ok && image.bytesPerPixel != 3) std::abort();
    return 0;
}
