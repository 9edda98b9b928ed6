// The show's hand-written programs in content/effects: they compile cleanly on Mesa with no
// extension, the post-processing ones take the quad at location 0 without a relink, and each
// drawing-routine program lights a triangle into both colour targets.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/drawingroutines.h"
#include "render/framebuffer.h"
#include "renderfixtures.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

TEST(Effects, CompileAndLinkWithoutAWordFromTheDriver) {
    GlTestContext gl;
    for (const auto& entry : std::filesystem::directory_iterator(EffectsFolder())) {
        std::string source = ReadFileBytes(entry.path().string());
        EXPECT_EQ(source.find("#extension"), std::string::npos) << entry.path();
    }
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    ProgramContent content({EffectsFolder()});
    std::string compileLog = testing::internal::GetCapturedStderr();
    std::string linkLog = testing::internal::GetCapturedStdout();
    EXPECT_EQ(compileLog, "");
    EXPECT_EQ(linkLog, "");

    for (const char* name : {"Downsample", "Blit", "BlitOpacity", "HoriBlur", "VertBlur", "Add"}) {
        Shader* shader = content.manager.GetShader(name);
        ASSERT_NE(shader, nullptr) << name;
        EXPECT_EQ(glGetAttribLocation(shader->GetProgramId(), "a_position"), 0) << name;
    }
}

std::unique_ptr<Texture> Solid(unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char texel[4] = {r, g, b, 255};
    return std::make_unique<Texture>(1, 1, 32, texel, GL_REPEAT, GL_NEAREST, GL_NEAREST, false);
}

// The attributes other than the position, as constants: no normal or tangent (the zero
// vector, as the meshes give), one diffuse and light map coordinate, a cyan vertex colour and
// an identity triangle transform.
void SetConstantAttributes(const Shader& shader) {
    glEnableVertexAttribArray(0);
    for (GLuint location = 1; location <= 8; ++location) glDisableVertexAttribArray(location);
    auto location = [&](const char* name) {
        return glGetAttribLocation(shader.GetProgramId(), name);
    };
    for (const char* name : {"a_normal", "a_tangent"}) {
        if (location(name) > 0) glVertexAttrib4f(location(name), 0, 0, 0, 1);
    }
    for (const char* name : {"a_coordsDiff", "a_coordsLightmap"}) {
        if (location(name) > 0) glVertexAttrib4f(location(name), 0.5f, 0.5f, 0, 1);
    }
    if (location("a_color") > 0) glVertexAttrib4f(location("a_color"), 0.2f, 0.8f, 1.0f, 1.0f);
    if (location("a_transform") > 0) {
        for (GLuint column = 0; column < 4; ++column) {
            glVertexAttrib4f(location("a_transform") + column, column == 0, column == 1,
                             column == 2, column == 3);
        }
    }
}

TEST(Effects, DrawingRoutineProgramsLightATriangleIntoBothTargets) {
    GlTestContext gl;
    TempDir dir;
    WriteFileBytes(dir.File("SpecularBlur.vpr"),
                   "#version 330\nlayout(location = 0) in vec3 a_position;\n"
                   "void main() { gl_Position = vec4(a_position, 1.0); }\n");
    WriteFileBytes(dir.File("SpecularBlur.fpr"),
                   "#version 330\nout vec4 o_color;\nvoid main() { o_color = vec4(1.0); }\n");
    ProgramContent content({EffectsFolder(), dir.Path() + "/"});
    DrawingRoutines::LoadShaders(&content.manager);

    const int size = 96;
    Texture color(size, size, 32, nullptr, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
    Texture glow(size, size, 32, nullptr, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
    Framebuffer target;
    target.Setup(size, size, 32);
    target.Bind();
    target.AttachColorTexture(color.GetId(), 0);
    target.AttachColorTexture(glow.GetId(), 1);
    target.CheckStatus();
    const GLenum buffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, buffers);
    glViewport(0, 0, size, size);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(0, 0, 0, 0);

    std::unique_ptr<Texture> diffuse = Solid(60, 200, 255);
    std::unique_ptr<Texture> flatNormals = Solid(128, 128, 255);
    std::unique_ptr<Texture> lightmap = Solid(255, 255, 255);
    std::unique_ptr<Texture> farDepth = Solid(255, 255, 255);  // nothing casts a shadow
    // Tilted, so that the light falls on it at an angle.
    TriangleMesh mesh({-0.8f, -0.7f, 0.3f, 0.8f, -0.7f, -0.3f, 0.0f, 0.8f, 0.0f});

    Pixels sheet;
    sheet.width = size * 11;
    sheet.height = size;
    sheet.rgba.assign(static_cast<size_t>(sheet.width) * size * 4, 0);
    struct Case {
        Shader* (*get)();
        const char* name;
    };
    const Case cases[] = {
        {DrawingRoutines::GetBlackShader, "Black"},
        {DrawingRoutines::GetColorShader, "Color"},
        {DrawingRoutines::GetDiffShader, "Diff"},
        {DrawingRoutines::GetDiffNormShader, "DiffNorm"},
        {DrawingRoutines::GetDiffLightMapShader, "DiffLightMap"},
        {DrawingRoutines::GetDiffNormLightmapShader, "DiffNormLightmap"},
        {DrawingRoutines::GetShadowMapShader, "ShadowMap"},
        {DrawingRoutines::GetSmColorShader, "SM_Color"},
        {DrawingRoutines::GetSpecularColoredShader, "SpecularColored"},
        {DrawingRoutines::GetSmDiffNormShader, "SM_DiffNorm"},
        {DrawingRoutines::GetSmDiffNormLightmapShader, "SM_DiffNormLightmap"},
    };
    const sm::Mat4 identity;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = cases[i].name;
        Shader* shader = cases[i].get();
        ASSERT_NE(shader, nullptr) << name;
        glClear(GL_COLOR_BUFFER_BIT);
        shader->Use();
        shader->SetMatrix4("u_viewProjMatrix", identity);
        shader->SetMatrix4Array("u_shadowMatrix", 1, &identity);
        shader->SetVec4("u_color", 0.2f, 0.8f, 1.0f, 1.0f);
        shader->SetFloat("u_glowMultiplier", 0.5f);
        shader->SetVec3("u_eyePosition", 0.0f, 0.0f, 2.0f);
        shader->SetVec3("u_lightPosition", 1.0f, 1.0f, 2.0f);
        shader->SetTexture("u_texDiff", 0, diffuse->GetId());
        shader->SetTexture("u_texNorm", 1, flatNormals->GetId());
        shader->SetTexture("u_texLightmap", 2, lightmap->GetId());
        shader->SetTexture("u_texShadowMap", 3, farDepth->GetId());
        SetConstantAttributes(*shader);
        mesh.Draw();
        glDisableVertexAttribArray(0);
        ExpectNoGlError(cases[i].name);

        Pixels lit = ReadTexture(color);
        Pixels glowing = ReadTexture(glow);
        for (int y = 0; y < size; ++y) {
            std::copy_n(lit.At(0, y), size * 4, &sheet.rgba[(y * sheet.width + i * size) * 4]);
        }
        const int x = size / 2, y = size / 3;
        const unsigned char* c = lit.At(x, y);
        const unsigned char* g = glowing.At(x, y);
        if (name == "Black") {
            EXPECT_EQ(lit.Brightness(x, y) + glowing.Brightness(x, y), 0);
            EXPECT_EQ(c[3], 255);
        } else if (name == "ShadowMap") {
            EXPECT_NEAR(c[0], 128, 3) << "window depth of z = 0";
            EXPECT_EQ(glowing.Brightness(x, y), 0);
        } else {
            EXPECT_GT(lit.Brightness(x, y), 150) << name;
            EXPECT_GT(c[2], c[0]) << name << ": cyan";
            EXPECT_EQ(c[3], 255) << name;
            for (int channel = 0; channel < 3; ++channel) {
                // A saturated colour channel no longer shows what the glow got.
                if (c[channel] < 250) {
                    EXPECT_NEAR(g[channel], c[channel] / 2.0, 1.5) << name << ": glow at half";
                }
            }
        }
    }
    Framebuffer::Unbind();
    SavePng(sheet, "drawing_routines.png");
}

}  // namespace
