// The shared billboard buffer's contents and its create/release cycle.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "render/billboard.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

TEST(Billboard, HoldsTheUnitSquareUntilReleased) {
    GlTestContext gl;
    ASSERT_EQ(Billboard::GetBufferId(), 0u);
    EXPECT_TRUE(Billboard::CreateBuffer());
    const GLuint id = Billboard::GetBufferId();
    ASSERT_NE(id, 0u);
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);

    glBindBuffer(GL_ARRAY_BUFFER, id);
    GLint size = 0, usage = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    EXPECT_EQ(size, 32);
    EXPECT_EQ(usage, GL_STATIC_DRAW);
    float vertices[8] = {};
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const float expected[8] = {-0.5f, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f, -0.5f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(vertices[i], expected[i]) << i;

    std::string message = CaptureFatal([] { Billboard::CreateBuffer(); });
    EXPECT_NE(message.find("Assertion failed: m_vboId == 0, file billboard.cpp"), std::string::npos)
        << message;
    EXPECT_EQ(Billboard::GetBufferId(), id);  // the refused call left the buffer alone

    Billboard::ReleaseBuffer();
    EXPECT_EQ(Billboard::GetBufferId(), 0u);
    EXPECT_FALSE(glIsBuffer(id));
    Billboard::ReleaseBuffer();  // nothing left to release
    EXPECT_TRUE(Billboard::CreateBuffer());
    EXPECT_NE(Billboard::GetBufferId(), 0u);
    Billboard::ReleaseBuffer();
    ExpectNoGlError("billboard");
}

}  // namespace
