// Fixtures for the render tests: a content manager that compiles real programs from folders,
// a positions-only triangle mesh that counts its draws, a material that draws it with a known
// colour and glow through a small two-output program, and pixel read-back with PNG dumps of
// what was rendered (written to the working directory, the test's build folder).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "content/material.h"
#include "gpu/basemesh.h"
#include "gpu/contentmanager.h"
#include "gpu/igraphicsengine.h"
#include "math/vec4.h"

class Shader;
class TempDir;
class Texture;

// Creates shader programs from their files; every other kind of content is absent.
class ProgramFactory : public IGraphicsEngine {
public:
    Texture* LoadTexture(const std::string&) override { return nullptr; }
    Shader* LoadShader(const std::string& vertexPath, const std::string& fragmentPath) override;
    Model* LoadModel(const std::string&) override { return nullptr; }
    AnimationData* LoadAnimation(const std::string&) override { return nullptr; }
    Material* LoadMaterial(const std::string&) override { return nullptr; }
};

// A content manager (it becomes g_contentManager) holding the programs of the given folders.
struct ProgramContent {
    explicit ProgramContent(const std::vector<std::string>& folders);
    ProgramFactory factory;
    ContentManager manager{&factory};
};

// The repository's effects folder, with a trailing slash.
std::string EffectsFolder();
// Copies NAME.vpr and NAME.fpr of each program from the repository's effects folder into dir.
void CopyPrograms(const TempDir& dir, const std::vector<std::string>& names);
// Writes the program "Flat" into dir: positions at location 0 through "u_viewProjMatrix",
// output 0 = "u_color", output 1 = "u_glow".
void WriteFlatProgram(const TempDir& dir);

// Triangles from x, y, z triples, fed to attribute 0 from a buffer of their own.
class TriangleMesh : public BaseMesh {
public:
    explicit TriangleMesh(const std::vector<float>& positions);
    ~TriangleMesh() override;
    void Draw() override;
    int draws = 0;

private:
    unsigned m_buffer = 0;
    int m_vertices = 0;
};

// Two triangles covering the whole viewport at depth 0.
std::vector<float> FullScreen();

// A see-through, depth-write-free material like the glow materials: source-alpha blending in
// fill mode, "Flat" with a fixed colour and glow, and the frame's view-projection matrix.
class FlatMaterial : public Material {
public:
    FlatMaterial(Shader* shader, const sm::Vec4& color, const sm::Vec4& glow,
                 bool transparent = true);
    bool IsTransparent() const override { return m_transparent; }
    void ApplyRenderState() override;
    void ApplyShader() override;

private:
    Shader* m_shader;
    sm::Vec4 m_color;
    sm::Vec4 m_glow;
    bool m_transparent;
};

// RGBA bytes, bottom row first as GL reads them.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* At(int x, int y) const { return &rgba[(y * width + x) * 4]; }
    int Brightness(int x, int y) const { return At(x, y)[0] + At(x, y)[1] + At(x, y)[2]; }
};

Pixels ReadTexture(const Texture& texture);
// The default framebuffer's back buffer, from the bottom left corner.
Pixels ReadWindow(int width, int height);
// Writes the pixels upright as a PNG file.
void SavePng(const Pixels& pixels, const std::string& path);
