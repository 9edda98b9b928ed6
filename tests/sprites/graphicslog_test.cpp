// Flushing the debug-line queue: the segments reach the picture in their colours, the queue
// empties, and the state the flush sets holds afterwards.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>

#include "gpu/shader.h"
#include "render/graphicslog.h"
#include "spritetest.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

bool AttribArrayEnabled(GLuint index) {
    GLint enabled = 0;
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    return enabled != 0;
}

std::unique_ptr<Shader> LoadVectorGraphics() {
    std::unique_ptr<Shader> shader(LoadEffect("VectorGraphics"));
    shader->BindAttribLocation(0, "a_position");
    shader->Link();
    return shader;
}

TEST(GraphicsLog, FlushDrawsTheSegmentsThenEmptiesTheQueue) {
    GlTestContext gl;
    std::unique_ptr<Shader> shader = LoadVectorGraphics();
    GraphicsLog::SetShader(shader.get());
    // Pixel coordinates; the lines run along pixel centres.
    GraphicsLog::SetMatrix(sm::Mat4::Ortho(0.0f, static_cast<float>(gl.Width()), 0.0f,
                                           static_cast<float>(gl.Height())));
    GraphicsLog::AddSegment(sm::Vec3(10, 100.5f, 0), sm::Vec3(200, 100.5f, 0), sm::Vec3(1, 0, 0));
    GraphicsLog::AddSegment(sm::Vec3(300.5f, 20, 0), sm::Vec3(300.5f, 180, 0),
                            sm::Vec3(0, 1, 0.5f));
    EXPECT_EQ(GraphicsLog::GetSegmentCount(), 2u);

    // State that would hide the lines if the flush kept it: depth cleared to 0 under a depth
    // test, blending that writes nothing, depth writes off, a buffer bound and arrays 1 to 6 on.
    glClearColor(0, 0, 0, 1);
    glClearDepth(0.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE);
    glDepthMask(GL_FALSE);
    const GLfloat spare[8] = {};
    for (GLuint i = 1; i <= 6; ++i) {
        glVertexAttribPointer(i, 4, GL_FLOAT, GL_FALSE, 0, spare);
        glEnableVertexAttribArray(i);
    }
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);

    GraphicsLog::Flush();
    ExpectNoGlError("flush");
    EXPECT_EQ(GraphicsLog::GetSegmentCount(), 0u);

    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    for (GLuint i = 0; i <= 6; ++i) EXPECT_FALSE(AttribArrayEnabled(i)) << "array " << i;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, static_cast<GLint>(shader->GetProgramId()));

    Frame frame = ReadFrame(gl.Width(), gl.Height());
    SaveFrame(frame, "graphicslog_flush.png");
    const Rgba red{255, 0, 0, 255}, teal{0, 255, 128, 255}, black{0, 0, 0, 255};
    EXPECT_TRUE(Near(frame.At(15, 100), red, 1)) << Describe(frame.At(15, 100));
    EXPECT_TRUE(Near(frame.At(195, 100), red, 1)) << Describe(frame.At(195, 100));
    EXPECT_TRUE(Near(frame.At(100, 101), black, 0)) << Describe(frame.At(100, 101));
    EXPECT_TRUE(Near(frame.At(300, 25), teal, 1)) << Describe(frame.At(300, 25));
    EXPECT_TRUE(Near(frame.At(300, 175), teal, 1)) << Describe(frame.At(300, 175));
    EXPECT_TRUE(Near(frame.At(250, 100), black, 0));

    // The emptied queue draws nothing the next time.
    glClear(GL_COLOR_BUFFER_BIT);
    GraphicsLog::Flush();
    frame = ReadFrame(gl.Width(), gl.Height());
    EXPECT_TRUE(Near(frame.At(15, 100), black, 0));
    glDeleteBuffers(1, &buffer);
    GraphicsLog::SetShader(nullptr);
}

TEST(GraphicsLog, FlushNeedsAProgram) {
    GlTestContext gl;
    GraphicsLog::SetShader(nullptr);
    std::string message = CaptureFatal([] { GraphicsLog::Flush(); });
    EXPECT_NE(message.find("Assertion failed: shader != nullptr, file graphicslog.cpp"),
              std::string::npos)
        << message;
}

}  // namespace
