// In-place operations on decoded pixel buffers (rows top first, width × bytes per pixel bytes
// each, no gaps). Texture loading flips images so that the bottom row lands at texture
// coordinate 0.
#pragma once

namespace ImageUtils {

// Reverses the order of the rows; the middle row of an odd height stays. data must not be null.
void FlipVertically(unsigned char* data, int width, int height, int bytesPerPixel);

}  // namespace ImageUtils
