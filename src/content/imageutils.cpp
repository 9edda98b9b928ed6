#include "content/imageutils.h"

#include <algorithm>
#include <cstddef>

#include "base/assert.h"

namespace ImageUtils {

void FlipVertically(unsigned char* data, int width, int height, int bytesPerPixel) {
    ASSERT(data != NULL);
    if (width <= 0 || height <= 0 || bytesPerPixel <= 0) return;
    const size_t rowSize = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    for (int i = 0; i < height / 2; ++i) {
        unsigned char* top = data + static_cast<size_t>(i) * rowSize;
        unsigned char* bottom = data + static_cast<size_t>(height - 1 - i) * rowSize;
        std::swap_ranges(top, top + rowSize, bottom);
    }
}

}  // namespace ImageUtils
