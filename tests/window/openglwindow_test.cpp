// Runs on a virtual display (1280x720) with Mesa.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "platform/video.h"
#include "window/ikeyboardcallback.h"
#include "window/openglwindow.h"

namespace {

struct RecordingCallback : IKeyboardCallback {
    std::vector<int> keys;
    int clicks = 0;
    void OnKeyDown(int vk) override { keys.push_back(vk); }
    void OnClick() override { ++clicks; }
};

PlatformDisplayMode Current() {
    PlatformDisplayMode mode;
    EXPECT_TRUE(PlatformGetCurrentDisplayMode(&mode));
    return mode;
}

TEST(OpenglWindow, FullscreenInTheCurrentModeGivesACurrentContext) {
    PlatformDisplayMode mode = Current();
    RecordingCallback callback;
    OpenglWindow window;
    ASSERT_TRUE(window.Create(nullptr, "test", mode.width, mode.height, 32, mode.refreshRate, true,
                              false, &callback))
        << window.LastError();  // fullscreen forces an own window
    EXPECT_EQ(window.GetWidth(), mode.width);
    EXPECT_EQ(window.ScaleX(0.5f), mode.width / 2);
    EXPECT_EQ(window.ScaleY(0.333f), static_cast<int>(mode.height * 0.333f));
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, 16);
    window.SwapBuffers();

    OpenglWindow::DispatchEvent({PlatformEventType::KeyDown, 'B'});
    OpenglWindow::DispatchEvent({PlatformEventType::KeyDown, 'B'});  // auto-repeat
    OpenglWindow::DispatchEvent({PlatformEventType::LeftButtonDown, 0});
    OpenglWindow::DispatchEvent({PlatformEventType::Other, 0});
    EXPECT_EQ(callback.keys, (std::vector<int>{'B', 'B'}));
    EXPECT_EQ(callback.clicks, 1);

    window.Destroy();
    window.Destroy();  // the second time does nothing
    EXPECT_EQ(window.GetDC(), nullptr);
}

TEST(OpenglWindow, RefusedModeFailsAndLeavesTheDisplayAlone) {
    PlatformDisplayMode before = Current();
    OpenglWindow window;
    // No display offers a mode this large.
    EXPECT_FALSE(window.Create(nullptr, "test", 100000, 100000, 32, 60, true, true, nullptr));
    EXPECT_NE(window.LastError(), "");
    EXPECT_EQ(window.GetDC(), nullptr);
    PlatformDisplayMode after = Current();
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
}

TEST(OpenglWindow, FirstCreateFixesTheColourDepth) {
    PlatformDisplayMode mode = Current();
    OpenglWindow first, second;
    ASSERT_TRUE(first.Create(nullptr, "a", mode.width, mode.height, 32, 0, true, true, nullptr));
    first.Destroy();
    ASSERT_TRUE(second.Create(nullptr, "b", mode.width, mode.height, 16, 0, true, true, nullptr));
    EXPECT_EQ(OpenglWindow::PixelFormatColorBits(), 32);
}

TEST(OpenglWindow, DestroyTwiceThenCreateAgain) {
    PlatformDisplayMode mode = Current();
    OpenglWindow window;
    ASSERT_TRUE(window.Create(nullptr, "a", mode.width, mode.height, 32, 0, true, true, nullptr));
    ASSERT_NE(window.GetDC(), nullptr);
    window.Destroy();
    EXPECT_EQ(window.GetDC(), nullptr);
    window.Destroy();  // a second call finds nothing to release
    window.SwapBuffers();  // nor anything to present
    ASSERT_TRUE(window.Create(nullptr, "b", mode.width, mode.height, 32, 0, true, true, nullptr))
        << window.LastError();
    EXPECT_NE(window.GetDC(), nullptr);
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
    window.Destroy();
}

}  // namespace
