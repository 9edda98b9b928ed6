// The sprite batch on a real context: where a sprite lands, the render state during a draw, and
// the switches it hands back.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>

#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/spritebatch.h"
#include "spritetest.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

sm::Mat4 PixelProjection(const GlTestContext& gl) {
    return sm::Mat4::Ortho(0.0f, static_cast<float>(gl.Width()), 0.0f,
                           static_cast<float>(gl.Height()));
}

bool AttribArrayEnabled(GLuint index) {
    GLint enabled = 0;
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    return enabled != 0;
}

TEST(SpriteBatch, SpriteCoversItsRectangleUpright) {
    GlTestContext gl;
    std::unique_ptr<Shader> shader(LoadEffect("Sprite"));
    SpriteBatch batch(shader.get(), PixelProjection(gl));
    EXPECT_EQ(glGetAttribLocation(shader->GetProgramId(), "a_position"), 0);
    EXPECT_EQ(glGetAttribLocation(shader->GetProgramId(), "a_coords"), 1);

    // 2 x 2, row 0 (v = 0) first: red, green below blue, white.
    const unsigned char texels[] = {255, 0, 0,   255, 0,   255, 0,   255,
                                    0,   0, 255, 255, 255, 255, 255, 255};
    Texture texture(2, 2, 32, texels, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    batch.Begin();
    batch.DrawSprite(&texture, 100, 50, 40, 20);
    batch.End();
    ExpectNoGlError("sprite draw");
    Frame frame = ReadFrame(gl.Width(), gl.Height());
    SaveFrame(frame, "spritebatch_rectangle.png");

    const Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255},
        white{255, 255, 255, 255}, black{0, 0, 0, 255};
    struct Probe {
        int x, y;
        Rgba expected;
    };
    const Probe probes[] = {
        {100, 50, red},  {119, 59, red},   {120, 50, green}, {139, 59, green},
        {100, 60, blue}, {119, 69, blue},  {120, 60, white}, {139, 69, white},
        {99, 55, black}, {140, 55, black}, {110, 49, black}, {110, 70, black},
    };
    for (const Probe& p : probes) {
        EXPECT_TRUE(Near(frame.At(p.x, p.y), p.expected, 2))
            << "at " << p.x << ", " << p.y << ": " << Describe(frame.At(p.x, p.y));
    }
}

// Whatever the two switches were, the sprite is drawn blended and without depth test, and both
// switches come back as they were. The scene's state around it is deliberately hostile: depth
// cleared to 0 so a depth-tested sprite would vanish, blend factors that would keep it opaque,
// a vertex buffer bound and attribute arrays 2 to 5 enabled.
TEST(SpriteBatch, BeginAndEndHandBothSwitchesBack) {
    GlTestContext gl;
    std::unique_ptr<Shader> shader(LoadEffect("Sprite"));
    SpriteBatch batch(shader.get(), PixelProjection(gl));
    const unsigned char halfWhite[] = {255, 255, 255, 128};
    Texture texture(1, 1, 32, halfWhite, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    const GLfloat spare[16] = {};

    struct Case {
        bool depthTest, blend;
    };
    const Case cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "depth test " << c.depthTest << ", blend " << c.blend);
        glClearColor(0, 0, 0, 1);
        glClearDepth(0.0);
        glDepthFunc(GL_LESS);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBlendFunc(GL_ONE, GL_ZERO);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, 16, spare, GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        for (GLuint i = 2; i <= 5; ++i) {
            glVertexAttribPointer(i, 4, GL_FLOAT, GL_FALSE, 0, spare);
            glEnableVertexAttribArray(i);
        }
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        if (c.depthTest)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        if (c.blend)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);

        batch.Begin();
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        batch.DrawSprite(&texture, 10, 10, 30, 30);
        batch.End();
        ExpectNoGlError("begin, draw, end");

        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, c.depthTest);
        EXPECT_EQ(glIsEnabled(GL_BLEND) == GL_TRUE, c.blend);
        for (GLuint i = 0; i <= 5; ++i) EXPECT_FALSE(AttribArrayEnabled(i)) << "array " << i;
        // Half-transparent white over black, blended with source alpha.
        Frame frame = ReadFrame(gl.Width(), gl.Height());
        EXPECT_TRUE(Near(frame.At(25, 25), Rgba{128, 128, 128, 255}, 2))
            << Describe(frame.At(25, 25));
        EXPECT_TRUE(Near(frame.At(45, 25), Rgba{0, 0, 0, 255}, 0));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
}

TEST(SpriteBatch, NeedsAProgram) {
    GlTestContext gl;
    std::string message = CaptureFatal([&] { SpriteBatch batch(nullptr, sm::Mat4()); });
    EXPECT_NE(message.find("Assertion failed: m_shader != NULL, file spritebatch.cpp"),
              std::string::npos)
        << message;
}

}  // namespace
