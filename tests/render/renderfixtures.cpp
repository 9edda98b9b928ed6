#include "renderfixtures.h"

#include <GL/glew.h>

#include "formats/pngwriter.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/drawingroutines.h"
#include "support/tempdir.h"

Shader* ProgramFactory::LoadShader(const std::string& vertexPath, const std::string& fragmentPath) {
    return Shader::LoadShader(vertexPath, fragmentPath);
}

ProgramContent::ProgramContent(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) manager.LoadShaders(folder);
}

std::string EffectsFolder() { return PINDLE_CONTENT_SOURCE_DIR "/effects/"; }

void CopyPrograms(const TempDir& dir, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        for (const char* extension : {".vpr", ".fpr"}) {
            WriteFileBytes(dir.File(name + extension),
                           ReadFileBytes(EffectsFolder() + name + extension));
        }
    }
}

void WriteFlatProgram(const TempDir& dir) {
    WriteFileBytes(dir.File("Flat.vpr"),
                   "#version 330\n"
                   "layout(location = 0) in vec3 a_position;\n"
                   "uniform mat4 u_viewProjMatrix;\n"
                   "void main() { gl_Position = u_viewProjMatrix * vec4(a_position, 1.0); }\n");
    WriteFileBytes(dir.File("Flat.fpr"),
                   "#version 330\n"
                   "uniform vec4 u_color;\n"
                   "uniform vec4 u_glow;\n"
                   "layout(location = 0) out vec4 o_color;\n"
                   "layout(location = 1) out vec4 o_glow;\n"
                   "void main() { o_color = u_color; o_glow = u_glow; }\n");
}

TriangleMesh::TriangleMesh(const std::vector<float>& positions)
    : m_vertices(static_cast<int>(positions.size() / 3)) {
    glGenBuffers(1, &m_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    glBufferData(GL_ARRAY_BUFFER, positions.size() * sizeof(float), positions.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

TriangleMesh::~TriangleMesh() { glDeleteBuffers(1, &m_buffer); }

void TriangleMesh::Draw() {
    ++draws;
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, m_vertices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

std::vector<float> FullScreen() {
    return {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, -1, 0, 1, 1, 0, -1, 1, 0};
}

FlatMaterial::FlatMaterial(Shader* shader, const sm::Vec4& color, const sm::Vec4& glow,
                           bool transparent)
    : m_shader(shader), m_color(color), m_glow(glow), m_transparent(transparent) {}

void FlatMaterial::ApplyRenderState() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_FALSE);
    glEnableVertexAttribArray(0);
}

void FlatMaterial::ApplyShader() {
    m_shader->Use();
    m_shader->SetMatrix4("u_viewProjMatrix", DrawingRoutines::GetViewProjMatrix());
    m_shader->SetVec4("u_color", m_color);
    m_shader->SetVec4("u_glow", m_glow);
}

Pixels ReadTexture(const Texture& texture) {
    Pixels out;
    out.width = texture.GetWidth();
    out.height = texture.GetHeight();
    out.rgba.resize(static_cast<size_t>(out.width) * out.height * 4);
    glBindTexture(GL_TEXTURE_2D, texture.GetId());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.rgba.data());
    return out;
}

Pixels ReadWindow(int width, int height) {
    Pixels out;
    out.width = width;
    out.height = height;
    out.rgba.resize(static_cast<size_t>(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, out.rgba.data());
    return out;
}

void SavePng(const Pixels& pixels, const std::string& path) {
    PngImage image;
    image.width = pixels.width;
    image.height = pixels.height;
    image.color = PngColor::Rgba;
    image.samples.reserve(pixels.rgba.size());
    for (int y = pixels.height - 1; y >= 0; --y) {
        for (int x = 0; x < pixels.width; ++x) {
            const unsigned char* p = pixels.At(x, y);
            // Opaque in the file: the targets' alpha is coverage, not what is seen.
            image.samples.insert(image.samples.end(), {p[0], p[1], p[2], 255});
        }
    }
    WriteFileBytes(path, WritePng(image));
}
