// Textures and shader programs on a real GL context (virtual display, Mesa).
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

#include "formats/pngwriter.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

struct TextureBytes {
    GLint internalFormat = 0;
    std::vector<unsigned char> rgba;  // level 0 read back as RGBA
};

TextureBytes ReadBack(const Texture& texture) {
    TextureBytes out;
    glBindTexture(GL_TEXTURE_2D, texture.GetId());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &out.internalFormat);
    out.rgba.resize(static_cast<size_t>(texture.GetWidth()) * texture.GetHeight() * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.rgba.data());
    return out;
}

PngImage Png(PngColor color, int depth, std::vector<uint16_t> samples,
             std::vector<uint8_t> palette = {}) {
    PngImage image;
    image.width = 3;
    image.height = 2;
    image.color = color;
    image.bitDepth = depth;
    image.samples = std::move(samples);
    image.palette = std::move(palette);
    return image;
}

TEST(Texture, ContentPicturesAreUprightAndKeepTheirKind) {
    GlTestContext gl;
    TempDir dir;
    struct Case {
        const char* name;
        PngImage image;
        int bpp;
        GLint internalFormat;
        // RGBA of the texture's row 0 (the picture's bottom row), first pixel
        std::vector<unsigned char> bottomLeft;
    };
    // 3 x 2 pictures whose top row differs from their bottom row.
    const Case cases[] = {
        {"rgb.png",
         Png(PngColor::Rgb, 8, {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255}),
         24,
         GL_RGB,
         {0, 0, 255, 255}},
        {"rgba16.png",
         Png(PngColor::Rgba, 16,
             {0xFFFF, 0,      0, 0xFFFF, 0xFFFF, 0,      0, 0xFFFF, 0xFFFF, 0,      0, 0xFFFF,
              0,      0x8080, 0, 0x4040, 0,      0x8080, 0, 0x4040, 0,      0x8080, 0, 0x4040}),
         32,
         GL_RGBA,
         {0, 0x80, 0, 0x40}},
        {"grey.png",
         Png(PngColor::Grey, 8, {10, 10, 10, 200, 200, 200}),
         24,
         GL_RGB,
         {200, 200, 200, 255}},
        {"greyalpha.png",
         Png(PngColor::GreyAlpha, 8, {10, 1, 10, 1, 10, 1, 90, 7, 90, 7, 90, 7}),
         32,
         GL_RGBA,
         {90, 90, 90, 7}},
        {"palette.png",
         Png(PngColor::Palette, 8, {0, 0, 0, 2, 2, 2}, {9, 9, 9, 8, 8, 8, 7, 7, 7}),
         8,
         GL_ALPHA,
         {0, 0, 0, 2}},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir.File(c.name), WritePng(c.image));
        std::unique_ptr<Texture> texture(Texture::LoadFromFile(dir.File(c.name)));
        ASSERT_NE(texture, nullptr) << c.name;
        EXPECT_EQ(texture->GetBpp(), c.bpp) << c.name;
        EXPECT_EQ(texture->GetWidth(), 3);
        TextureBytes bytes = ReadBack(*texture);
        EXPECT_EQ(bytes.internalFormat, c.internalFormat) << c.name;
        std::vector<unsigned char> first(bytes.rgba.begin(), bytes.rgba.begin() + 4);
        EXPECT_EQ(first, c.bottomLeft) << c.name;
    }
    ExpectNoGlError("texture loads");
    EXPECT_EQ(Texture::LoadFromFile(dir.File("missing.png")), nullptr);
    EXPECT_EQ(Texture::LoadFromFile(dir.File("picture.bmp")), nullptr);
}

TEST(Texture, SixteenBitsPerPixelIsFatal) {
    GlTestContext gl;
    std::string message = CaptureFatal(
        [] { Texture t(2, 2, 16, nullptr, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false); });
    EXPECT_NE(message.find("Assertion failed: 0, file texture.cpp"), std::string::npos) << message;
}

TEST(Texture, RenderTargetsAndDepthTexturesGetTheirFormats) {
    GlTestContext gl;
    Texture target(1366 / 2, 767 / 2, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
    EXPECT_EQ(ReadBack(target).internalFormat, GL_RGBA);
    DepthTexture depth(64, 32);
    glBindTexture(GL_TEXTURE_2D, depth.GetId());
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_DEPTH_COMPONENT24);
    GLint bound = -1;
    DepthTexture another(8, 8);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);  // the depth texture unbinds itself
    ExpectNoGlError("render targets");
}

const char* kVertex = R"(#version 120
attribute vec3 a_position;
uniform mat4 u_mvp;
void main() { gl_Position = u_mvp * vec4(a_position, 1.0); }
)";
const char* kFragment = R"(#version 120
uniform sampler2D u_texture;
uniform vec4 u_color;
void main() { gl_FragColor = u_color * texture2D(u_texture, vec2(0.5)); }
)";

struct ProgramFiles {
    TempDir dir;
    std::string vpr, fpr;
    ProgramFiles(const std::string& vertex, const std::string& fragment)
        : vpr(dir.File("Test.vpr")), fpr(dir.File("Test.fpr")) {
        WriteFileBytes(vpr, vertex);
        WriteFileBytes(fpr, fragment);
    }
};

TEST(Shader, SettersFollowTheirMissingUniformRules) {
    GlTestContext gl;
    ProgramFiles files(kVertex, kFragment);
    std::unique_ptr<Shader> shader(Shader::LoadShader(files.vpr, files.fpr));
    ASSERT_NE(shader->GetProgramId(), 0u);
    shader->Use();
    sm::Mat4 m;
    shader->SetMatrix4("u_mvp", m);
    shader->SetVec4("u_color", 1, 0.5f, 0.25f, 1);
    GLfloat color[4] = {};
    glGetUniformfv(shader->GetProgramId(), glGetUniformLocation(shader->GetProgramId(), "u_color"),
                   color);
    EXPECT_FLOAT_EQ(color[1], 0.5f);

    // Missing uniforms: skipped or ignored, never an error.
    shader->SetVec2("u_missing", 1, 2);
    shader->SetMatrix4Array("u_missing", 1, &m);
    shader->SetFloat("u_missing", 1);
    shader->SetVec3("u_missing", 1, 2, 3);
    ExpectNoGlError("missing uniforms");

    // SetTexture binds on the unit and leaves it active, with or without the sampler.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    shader->SetTexture("u_nosampler", 3, texture);
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(active, GL_TEXTURE0 + 3);
    EXPECT_EQ(bound, static_cast<GLint>(texture));
    shader->SetTexture("u_texture", 2, texture);
    GLint unit = -1;
    glGetUniformiv(shader->GetProgramId(),
                   glGetUniformLocation(shader->GetProgramId(), "u_texture"), &unit);
    EXPECT_EQ(unit, 2);

    std::string message = CaptureFatal([&] { shader->SetMatrix4("u_missing", m); });
    EXPECT_NE(message.find("Assertion failed: uniformParam != -1"), std::string::npos);
}

TEST(Shader, AttributeLocationsTakeEffectAtTheNextLink) {
    GlTestContext gl;
    ProgramFiles files(kVertex, kFragment);
    std::unique_ptr<Shader> shader(Shader::LoadShader(files.vpr, files.fpr));
    shader->BindAttribLocation(5, "a_position");
    EXPECT_NE(glGetAttribLocation(shader->GetProgramId(), "a_position"), 5);
    shader->Link();
    EXPECT_EQ(glGetAttribLocation(shader->GetProgramId(), "a_position"), 5);
}

TEST(Shader, BrokenSourcesAreFatalAndTheLogIsShown) {
    GlTestContext gl;
    struct Case {
        const char* what;
        std::string vertex, fragment;
        const char* logged;  // expected in the debugger output
    };
    const Case cases[] = {
        {"empty vertex source", "", kFragment, "couldn't compile"},
        {"fragment compile error", kVertex, "#version 120\nvoid main() { nonsense; }\n",
         "Test.fpr"},
    };
    for (const Case& c : cases) {
        ProgramFiles files(c.vertex, c.fragment);
        testing::internal::CaptureStderr();
        std::string message = CaptureFatal([&] { Shader::LoadShader(files.vpr, files.fpr); });
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find("Assertion failed: false, file shader.cpp"), std::string::npos)
            << c.what << ": " << message;
        EXPECT_NE(err.find(c.logged), std::string::npos) << c.what << ": " << err;
    }
    ProgramFiles files(kVertex, kFragment);
    std::string message =
        CaptureFatal([&] { Shader::LoadShader(files.vpr, files.dir.File("Missing.fpr")); });
    EXPECT_NE(message.find("Assertion failed: false, file shader.cpp"), std::string::npos);
}

TEST(Shader, LinkErrorsAreFatalWithTheLinkLogOnStandardOutput) {
    GlTestContext gl;
    // The fragment stage reads a varying the vertex stage never writes.
    ProgramFiles files(kVertex,
                       "#version 120\nvarying vec3 v_never;\n"
                       "void main() { gl_FragColor = vec4(v_never, 1.0); }\n");
    testing::internal::CaptureStdout();
    std::string message = CaptureFatal([&] { Shader::LoadShader(files.vpr, files.fpr); });
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(message.find("Assertion failed: false"), std::string::npos) << message;
    EXPECT_EQ(out.rfind("Program link log:\n", 0), 0u) << out;
}

}  // namespace
