// The show's hand-written "Sprite" and "VectorGraphics" programs compile and link on this
// driver without a word in the logs, and offer what their users look up.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gpu/shader.h"
#include "spritetest.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

std::string CompileLog(GLenum type, const std::string& path, bool* compiled) {
    const std::string source = ReadFileBytes(path);
    GLuint shader = glCreateShader(type);
    const GLchar* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint status = GL_FALSE, length = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    if (length > 0) glGetShaderInfoLog(shader, length, nullptr, log.data());
    glDeleteShader(shader);
    *compiled = status == GL_TRUE;
    return log.data();
}

TEST(Effects, CompileWithoutWarningsAndOfferTheirUniforms) {
    GlTestContext gl;
    struct Case {
        const char* name;
        std::vector<const char*> attributes;  // in location order
        std::vector<const char*> uniforms;
    };
    const Case cases[] = {
        {"Sprite", {"a_position", "a_coords"}, {"u_mvp", "u_tex", "u_color"}},
        {"VectorGraphics", {"a_position"}, {"u_mvp", "u_color"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto stage : {std::make_pair(GL_VERTEX_SHADER, ".vpr"),
                           std::make_pair(GL_FRAGMENT_SHADER, ".fpr")}) {
            bool compiled = false;
            EXPECT_EQ(CompileLog(stage.first, EffectSource(c.name, stage.second), &compiled), "")
                << stage.second;
            EXPECT_TRUE(compiled) << stage.second;
        }
        std::unique_ptr<Shader> shader(LoadEffect(c.name));
        for (size_t i = 0; i < c.attributes.size(); ++i)
            shader->BindAttribLocation(static_cast<unsigned>(i), c.attributes[i]);
        EXPECT_TRUE(shader->Link());
        const GLuint program = shader->GetProgramId();
        for (size_t i = 0; i < c.attributes.size(); ++i)
            EXPECT_EQ(glGetAttribLocation(program, c.attributes[i]), static_cast<GLint>(i));
        for (const char* uniform : c.uniforms)
            EXPECT_NE(glGetUniformLocation(program, uniform), -1) << uniform;
    }
    ExpectNoGlError("effects");
}

}  // namespace
