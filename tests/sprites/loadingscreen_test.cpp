// The loading screen with a data folder laid out as the archive unpacks it: "loader.jpg" at the
// top and the sprite program under a lower-case "effects/".
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/jpegwriter.h"
#include "render/glsetup.h"
#include "render/loadingscreen.h"
#include "spritetest.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

const Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

// 64 x 36, far smaller than the window and of another aspect: red top left, green top right,
// blue bottom left, white bottom right.
std::string QuadrantsJpeg() {
    JpegImage image;
    image.width = 64;
    image.height = 36;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool right = x >= 32, top = y < 18;
            const Rgba& c = top ? (right ? kGreen : kRed) : (right ? kWhite : kBlue);
            image.pixels.push_back(static_cast<uint8_t>(c.r));
            image.pixels.push_back(static_cast<uint8_t>(c.g));
            image.pixels.push_back(static_cast<uint8_t>(c.b));
        }
    }
    return WriteJpeg(image, 95);
}

void CopySpriteProgram(const TempDir& dir) {
    std::filesystem::create_directory(dir.File("effects"));
    WriteFileBytes(dir.File("effects/Sprite.vpr"), ReadFileBytes(EffectSource("Sprite", ".vpr")));
    WriteFileBytes(dir.File("effects/Sprite.fpr"), ReadFileBytes(EffectSource("Sprite", ".fpr")));
}

TEST(LoadingScreen, StretchesTheLoaderPictureOverTheWindow) {
    GlTestContext gl;
    TempDir dir;
    CopySpriteProgram(dir);
    WriteFileBytes(dir.File("loader.jpg"), QuadrantsJpeg());
    SetDefaultGlState(gl.Width(), gl.Height());  // depth test on, as at start-up
    glEnable(GL_BLEND);

    LoadingScreen screen(gl.Window());
    screen.Init(dir.Path() + "/");
    EXPECT_EQ(screen.GetWidth(), gl.Width());
    EXPECT_EQ(screen.GetHeight(), gl.Height());
    screen.Draw();
    ExpectNoGlError("loading screen");
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    glReadBuffer(GL_FRONT);  // Draw presented the frame
    Frame frame = ReadFrame(gl.Width(), gl.Height());
    SaveFrame(frame, "loadingscreen.png");
    const int w = gl.Width(), h = gl.Height();
    struct Probe {
        int x, y;
        Rgba expected;
    };
    // The window's corners and the middle of each quarter; y grows upwards.
    const Probe probes[] = {
        {0, h - 1, kRed},      {w - 1, h - 1, kGreen},     {0, 0, kBlue},
        {w - 1, 0, kWhite},    {w / 4, 3 * h / 4, kRed},   {3 * w / 4, 3 * h / 4, kGreen},
        {w / 4, h / 4, kBlue}, {3 * w / 4, h / 4, kWhite},
    };
    for (const Probe& p : probes) {
        EXPECT_TRUE(Near(frame.At(p.x, p.y), p.expected, 12))
            << "at " << p.x << ", " << p.y << ": " << Describe(frame.At(p.x, p.y));
    }
}

TEST(LoadingScreen, FailsWithoutItsPictureOrProgram) {
    GlTestContext gl;
    const std::string jpeg = QuadrantsJpeg(), garbage = "not a picture";
    struct Case {
        const char* what;
        const std::string* picture;  // bytes of "loader.jpg", null for none
        bool program;
        const char* message;
    };
    const Case cases[] = {
        {"no picture", nullptr, true,
         "Assertion failed: loadingTex != NULL, file loadingscreen.cpp"},
        {"not a JPEG", &garbage, true, "Assertion failed: loadingTex != NULL"},
        {"no sprite program", &jpeg, false, "Assertion failed: false, file shader.cpp"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (c.program) CopySpriteProgram(dir);
        if (c.picture) WriteFileBytes(dir.File("loader.jpg"), *c.picture);
        LoadingScreen screen(gl.Window());
        std::string message = CaptureFatal([&] { screen.Init(dir.Path() + "/"); });
        EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
    }
}

}  // namespace
