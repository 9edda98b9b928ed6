// Decodes PNG (libpng) and JPEG (libjpeg) files into pixel buffers for textures and the setup
// dialog's picture. A buffer holds its rows top row first without gaps, 8 bits per channel,
// interleaved in the file's order (R, G, B, then A). Files are untrusted: a file that can't be
// opened or decoded, or that declares more than kMaxImagePixels pixels, gives false.
//
// PNG: 16-bit samples are scaled to 8 bits, grey becomes RGB (grey with alpha RGBA) and samples
// below 8 bits are unpacked to a byte each; palette images stay one index byte per pixel.
// JPEG: always decoded to RGB, 3 bytes per pixel, grey files included.
//
// Neither library prints anything of its own. A failed load logs one line (shell/log.h) that
// names the file as ContentFileName gives it and says why: "textures/end.png: not a PNG file",
// "loader.jpg: truncated", or the library's own message for other faults. A libpng warning is
// logged the same way, with "warning: " before the message, and the load goes on.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace ImageLoader {

// Larger images are refused before any pixel memory is allocated.
constexpr size_t kMaxImagePixels = 64000000;

using Pixels = std::unique_ptr<unsigned char[]>;

// All three loaders set the four outputs on success; on failure they return false, leave the
// outputs as they were, and put the reason into *reason when it is given (the text the log line
// gives after the file's name). The reasons of both decoders:
//   "empty file", "truncated" (the data ends before the image does),
//   "not a PNG file" / "not a JPEG file" (the file does not start like one),
//   "can't be opened: <system error>", "<w> x <h> pixels, more than <kMaxImagePixels>",
//   or the library's message for any other fault.
// A JPEG that libjpeg would only warn about (a file cut short, stray bytes) fails too, rather
// than giving an image with grey rows.

// Chooses the decoder by the path's extension in any letter case: "png" or "jpg". Any other
// extension gives false ("not a .png or .jpg file"). The path must not be empty.
bool Load(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel,
          std::string* reason = nullptr);

bool LoadPng(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel,
             std::string* reason = nullptr);

bool LoadJpeg(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel,
              std::string* reason = nullptr);

}  // namespace ImageLoader
