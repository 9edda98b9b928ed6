// Writes 8-bit RGB images as PNG files, fast rather than small: a capture writes one per frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: width × height × 3 bytes, rows top first. False with error set when the file can't be
// written; a partly written file is removed.
bool WriteRgbPng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                 std::string* error);
