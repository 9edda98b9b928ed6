// An off-screen target for GL tests that draw with the glow programs: two RGBA8 colour
// attachments (output 0, the scene image, and output 1, the glow) with both draw buffers on,
// and a depth buffer. Needs a GlTestContext; destroy it before the context goes.
#pragma once

#include <cstdint>
#include <vector>

class TestFramebuffer {
public:
    TestFramebuffer(int width, int height);
    ~TestFramebuffer();
    TestFramebuffer(const TestFramebuffer&) = delete;
    TestFramebuffer& operator=(const TestFramebuffer&) = delete;

    // Binds it with both draw buffers and the whole viewport, and clears both images to opaque
    // black and the depth to 1 (colour and depth writes are switched on for the clear).
    void BindAndClear();

    // RGBA bytes of colour attachment 0 or 1, bottom row first.
    std::vector<uint8_t> Read(int attachment) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    unsigned m_framebuffer = 0;
    unsigned m_textures[2] = {0, 0};
    unsigned m_depth = 0;
};

// Pixels of an RGBA image whose red, green or blue exceeds threshold.
int CountLitPixels(const std::vector<uint8_t>& rgba, int threshold = 8);
