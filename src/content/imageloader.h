// Decodes PNG (libpng) and JPEG (libjpeg) files into pixel buffers for textures and the setup
// dialog's picture. A buffer holds its rows top row first without gaps, 8 bits per channel,
// interleaved in the file's order (R, G, B, then A). Files are untrusted: a file that can't be
// opened or decoded, or that declares more than kMaxImagePixels pixels, gives false.
//
// PNG: 16-bit samples are scaled to 8 bits, grey becomes RGB (grey with alpha RGBA) and samples
// below 8 bits are unpacked to a byte each; palette images stay one index byte per pixel.
// JPEG: always decoded to RGB, 3 bytes per pixel, grey files included.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace ImageLoader {

// Larger images are refused before any pixel memory is allocated.
constexpr size_t kMaxImagePixels = 64000000;

using Pixels = std::unique_ptr<unsigned char[]>;

// All three loaders set the four outputs on success; on failure they return false and leave
// the outputs as they were.

// Chooses the decoder by the path's extension in any letter case: "png" or "jpg". Any other
// extension gives false. The path must not be empty.
bool Load(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel);

// Prints nothing of its own; libpng's default handlers report warnings and errors.
bool LoadPng(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel);

// Prints "can't open <path>" to standard error when the file can't be opened, and libjpeg's own
// message on a decoding error. Damaged data that libjpeg would only warn about (a file cut
// short, stray bytes) fails the load too, rather than giving an image with grey rows.
bool LoadJpeg(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel);

}  // namespace ImageLoader
