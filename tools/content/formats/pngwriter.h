// PNG encoder for textures and for test fixtures: every colour type and bit depth the format
// allows, optionally interlaced. The same image always gives the same bytes (fixed compression
// settings, no time or text chunks), so the content builder's output repeats exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class PngColor { Grey, GreyAlpha, Rgb, Rgba, Palette };

struct PngImage {
    int width = 0;
    int height = 0;
    PngColor color = PngColor::Rgba;
    // Grey: 1, 2, 4, 8 or 16; palette: 1, 2, 4 or 8; the others: 8 or 16.
    int bitDepth = 8;
    // One value per sample, rows top first, channels interleaved (R, G, B, A; grey, alpha):
    // width × height × channels values, each below 2^bitDepth. For a palette image a sample is
    // an index into palette.
    std::vector<uint16_t> samples;
    // Palette images only: 1 to 256 RGB triples.
    std::vector<uint8_t> palette;
    bool interlaced = false;
};

// Channels per pixel of a colour type (palette: 1, the index).
int PngChannels(PngColor color);

// Encodes the image. An image that breaks the rules above is a fatal error.
std::string WritePng(const PngImage& image);
