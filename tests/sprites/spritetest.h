// Helpers for the sprite, loading-screen and debug-line tests: the show's own programs from the
// repository's content folder, pixel read-back and PNG snapshots of what was drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Shader;

// PINDLE_CONTENT_SOURCE_DIR + "/effects/" + name + ".vpr" / ".fpr".
std::string EffectSource(const std::string& name, const char* extension);
// Loads one of the content programs with Shader::LoadShader.
std::unique_ptr<Shader> LoadEffect(const std::string& name);

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
};

// A rectangle of the current read buffer, rows bottom first (GL's order), 4 bytes a pixel.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    Rgba At(int x, int y) const;
};
Frame ReadFrame(int width, int height);

// Writes the frame (upright) to PINDLE_TEST_OUTPUT_DIR/name, for a person to look at.
void SaveFrame(const Frame& frame, const std::string& name);

// True when every channel of a is within tolerance of b (alpha ignored).
bool Near(const Rgba& a, const Rgba& b, int tolerance);
std::string Describe(const Rgba& c);
