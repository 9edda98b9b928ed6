// Offscreen surfaces and reading frames back: no display server is used (the test hides any).
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "render/framereadback.h"
#include "render/glsetup.h"
#include "window/openglwindow.h"

namespace {

class Offscreen : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        OpenglWindow::UseOffscreenSurfaces(true);
    }
    void TearDown() override { OpenglWindow::UseOffscreenSurfaces(false); }

    void Open(int width, int height) {
        ASSERT_TRUE(m_window.Create(nullptr, "capture", width, height, 32, 0, false, true, nullptr))
            << m_window.LastError();
        std::string error;
        ASSERT_TRUE(LoadGlEntryPoints(&error)) << error;
    }

    OpenglWindow m_window;
};

// Clears to red, then the top `greenRows` rows to green.
void DrawRedWithGreenTop(int width, int height, int greenRows) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, height - greenRows, width, greenRows);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

TEST_F(Offscreen, GivesACompatibilityContextOfTheSizeAskedWithoutADisplay) {
    Open(200, 100);
    EXPECT_TRUE(m_window.IsOffscreen());
    EXPECT_FALSE(m_window.IsFullscreen());
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_TRUE(profile & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) << profile;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 200);
    EXPECT_EQ(viewport[3], 100);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, 16);
    // Eight bits a channel, as the show's window has, so frames round as they do there (a
    // deeper config would come first if asked for "at least 8").
    for (GLenum channel : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS}) {
        GLint bits = 0;
        glGetIntegerv(channel, &bits);
        EXPECT_EQ(bits, 8) << channel;
    }
    // The fixed-function matrix stack the show's free camera uses.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    m_window.Destroy();
    m_window.Destroy();
    EXPECT_EQ(m_window.GetDC(), nullptr);
}

TEST_F(Offscreen, RefusesFullscreen) {
    EXPECT_FALSE(m_window.Create(nullptr, "capture", 64, 64, 32, 60, true, true, nullptr));
    EXPECT_NE(m_window.LastError().find("fullscreen"), std::string::npos) << m_window.LastError();
    EXPECT_EQ(m_window.GetDC(), nullptr);
}

// An odd width makes rows that are no multiple of four bytes.
TEST_F(Offscreen, PresentHookReadsTheFrameTopRowFirstAndTheSwapKeepsIt) {
    const int width = 33, height = 20;
    Open(width, height);
    std::vector<uint8_t> atPresent, afterSwap;
    int calls = 0;
    m_window.SetPresentHook([&] {
        ++calls;
        ReadBackBuffer(width, height, &atPresent);
    });
    DrawRedWithGreenTop(width, height, 5);
    m_window.SwapBuffers();
    ASSERT_EQ(calls, 1);
    ASSERT_EQ(atPresent.size(), static_cast<size_t>(width * height * 3));
    for (int y = 0; y < height; ++y) {
        const uint8_t* first = &atPresent[static_cast<size_t>(y) * width * 3];
        const uint8_t* last = first + (width - 1) * 3;
        bool green = y < 5;
        for (const uint8_t* p : {first, last}) {
            EXPECT_EQ(p[0], green ? 0 : 255) << "row " << y;
            EXPECT_EQ(p[1], green ? 255 : 0) << "row " << y;
            EXPECT_EQ(p[2], 0) << "row " << y;
        }
    }
    ReadBackBuffer(width, height, &afterSwap);
    EXPECT_EQ(afterSwap, atPresent);

    m_window.SetPresentHook(nullptr);
    m_window.SwapBuffers();
    EXPECT_EQ(calls, 1);
}

// The capture's read: the RGB read's pixels with a fourth byte each, bottom row first.
TEST_F(Offscreen, RgbaReadHoldsTheSamePixelsBottomRowFirst) {
    const int width = 33, height = 20;
    Open(width, height);
    DrawRedWithGreenTop(width, height, 5);
    glEnable(GL_SCISSOR_TEST);
    glScissor(2, 0, 1, height);
    glClearColor(0.2f, 0.4f, 1.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    std::vector<uint8_t> rgb, rgba(static_cast<size_t>(width) * height * 4);
    ReadBackBuffer(width, height, &rgb);
    ReadBackBufferRgba(width, height, rgba.data());
    int differ = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                differ += rgba[(static_cast<size_t>(height - 1 - y) * width + x) * 4 + c] !=
                          rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(rgb[2 * 3 + 2], 255) << "the blue column";
}

TEST_F(Offscreen, ReadingBackLeavesTheReadStateAsItWas) {
    Open(16, 16);
    GLuint texture = 0, framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);

    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    DrawRedWithGreenTop(16, 16, 16);
    std::vector<uint8_t> rgb;
    ReadBackBuffer(16, 16, &rgb);
    EXPECT_EQ(rgb[1], 255);  // the default framebuffer was read, not the texture

    GLint read = 0, readBuffer = 0, alignment = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(read, static_cast<GLint>(framebuffer));
    EXPECT_EQ(readBuffer, GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
}

}  // namespace
