// Baseline JPEG encoder for the setup and loading pictures and for test fixtures: RGB or grey,
// with a quality setting. The same image and quality always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct JpegImage {
    int width = 0;
    int height = 0;
    // 3 for RGB, 1 for grey.
    int components = 3;
    // width × height × components bytes, rows top first, channels interleaved.
    std::vector<uint8_t> pixels;
};

// Encodes the image at quality 1 to 100. A malformed image or quality is a fatal error.
std::string WriteJpeg(const JpegImage& image, int quality);
