// The show's glow programs (content/effects) on Mesa: they compile without a word, fix the
// attribute locations their meshes use, and draw a glowing shape through the glow materials into
// both outputs. Each frame is also written as a PNG beside the test (scene | glow | scene plus a
// blurred glow, roughly what the engine composes) for a person to look at.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content/animation.h"
#include "content/animationdata.h"
#include "content/model.h"
#include "content/ribbontriangle.h"
#include "content/skinnedmeshdata.h"
#include "formats/pngwriter.h"
#include "gpu/shader.h"
#include "gpu/skinnedmesh.h"
#include "gpu/skinnedribbonmesh.h"
#include "gpu/statictriangledmesh.h"
#include "gpu/uniquetriangledmesh.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/drawingroutines.h"
#include "render/skinnedglowtransparencyspecullar.h"
#include "support/glcontext.h"
#include "support/glframe.h"
#include "support/tempdir.h"

namespace {

using sm::Mat4;
using sm::Vec3;
using sm::Vec4;

const char* const kPrograms[] = {"SpecularBlur", "StaticSpecularBlur", "Skinned", "SkinnedRibbon",
                                 "Water"};

std::string Effect(const std::string& name) {
    return std::string(PINDLE_CONTENT_SOURCE_DIR) + "/effects/" + name;
}

std::unique_ptr<Shader> LoadEffect(const std::string& name) {
    return std::unique_ptr<Shader>(
        Shader::LoadShader(Effect(name + ".vpr"), Effect(name + ".fpr")));
}

std::string ShaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(std::max(length, 0)), '\0');
    if (length > 0) glGetShaderInfoLog(shader, length, nullptr, &log[0]);
    log.erase(std::remove(log.begin(), log.end(), '\0'), log.end());
    return log;
}

TEST(GlowPrograms, CompileAndLinkWithoutAWord) {
    GlTestContext gl;
    for (const char* name : kPrograms) {
        SCOPED_TRACE(name);
        GLuint program = glCreateProgram();
        for (GLenum type : {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER}) {
            const std::string path = Effect(name) + (type == GL_VERTEX_SHADER ? ".vpr" : ".fpr");
            const std::string source = ReadFileBytes(path);
            ASSERT_FALSE(source.empty()) << path;
            EXPECT_EQ(source.find("#extension"), std::string::npos);
            GLuint shader = glCreateShader(type);
            const char* text = source.c_str();
            glShaderSource(shader, 1, &text, nullptr);
            glCompileShader(shader);
            GLint ok = GL_FALSE;
            glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
            EXPECT_TRUE(ok) << path;
            EXPECT_EQ(ShaderLog(shader), "") << path;
            glAttachShader(program, shader);
        }
        glLinkProgram(program);
        GLint linked = GL_FALSE, length = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        EXPECT_TRUE(linked);
        EXPECT_LE(length, 1);
    }
    ExpectNoGlError("compiling");
}

TEST(GlowPrograms, AttributeLocationsAreTheMeshes) {
    GlTestContext gl;
    struct Case {
        const char* program;
        std::vector<std::pair<const char*, int>> attributes;
    };
    const Case cases[] = {
        {"SpecularBlur",
         {{"a_position", 0}, {"a_color", 1}, {"a_transform", 2}, {"a_glowPower", 6}}},
        {"StaticSpecularBlur", {{"a_position", 0}, {"a_color", 1}, {"a_glowPower", 2}}},
        {"Water", {{"a_position", 0}, {"a_color", 1}, {"a_glowPower", 2}}},
        {"Skinned",
         {{"a_position", 0},
          {"a_boneIndices", 1},
          {"a_boneWeights", 2},
          {"a_color", 3},
          {"a_glowPower", 4}}},
        {"SkinnedRibbon",
         {{"a_position", 0},
          {"a_boneIndices", 1},
          {"a_boneWeights", 2},
          {"a_color", 3},
          {"a_glowPower", 4},
          {"a_ribbonTransform", 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        const std::unique_ptr<Shader> shaderOwner = LoadEffect(c.program);
        Shader* shader = shaderOwner.get();
        for (const auto& attribute : c.attributes)
            EXPECT_EQ(glGetAttribLocation(shader->GetProgramId(), attribute.first),
                      attribute.second)
                << attribute.first;
        for (const char* uniform : {"u_viewProjMatrix", "u_glowMultiplier"})
            EXPECT_NE(glGetUniformLocation(shader->GetProgramId(), uniform), -1) << uniform;
    }
    for (const char* skinned : {"Skinned", "SkinnedRibbon"})
        EXPECT_NE(glGetUniformLocation(LoadEffect(skinned)->GetProgramId(), "u_boneTransform[40]"),
                  -1);
    EXPECT_NE(glGetUniformLocation(LoadEffect("SkinnedRibbon")->GetProgramId(), "u_ribbonWeight"),
              -1);
    EXPECT_NE(glGetUniformLocation(LoadEffect("Water")->GetProgramId(), "u_time"), -1);
}

// Shapes ---------------------------------------------------------------------------------------

std::vector<Vec3> Octahedron() {
    const Vec3 px(1, 0, 0), nx(-1, 0, 0), py(0, 1, 0), ny(0, -1, 0), pz(0, 0, 1), nz(0, 0, -1);
    return {px, py, pz, py, nx, pz, nx, ny, pz, ny, px, pz,
            py, px, nz, nx, py, nz, ny, nx, nz, px, ny, nz};
}

// A 3 × 3 sheet of 12 × 12 quads in the xz plane.
std::vector<Vec3> Sheet() {
    std::vector<Vec3> p;
    const int n = 12;
    const auto at = [&](int i, int j) {
        return Vec3(-1.5f + 3.0f * i / n, -0.4f, -1.5f + 3.0f * j / n);
    };
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            p.insert(p.end(), {at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            p.insert(p.end(), {at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    }
    return p;
}

std::unique_ptr<MeshPart> Part(const std::vector<Vec3>& positions) {
    std::vector<unsigned char> bytes(positions.size() * sizeof(Vec3));
    std::memcpy(bytes.data(), positions.data(), bytes.size());
    return std::make_unique<MeshPart>(0, static_cast<int>(positions.size()), std::move(bytes), "");
}

// Bone ids 1 and 2; every vertex follows bone index 1 alone, through the integer indices.
std::unique_ptr<SkinnedMeshData> Figure(const std::vector<Vec3>& positions) {
    std::vector<SkinnedVertex> vertices(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        vertices[i].position = positions[i];
        vertices[i].bones[0] = 1;
        vertices[i].bones[1] = vertices[i].bones[2] = vertices[i].bones[3] = 0;
        vertices[i].weights[0] = 1.0f;
        vertices[i].weights[1] = vertices[i].weights[2] = vertices[i].weights[3] = 0.0f;
    }
    return std::make_unique<SkinnedMeshData>(1, "guy", "", Mat4(), std::vector<int32_t>{1, 2},
                                             std::move(vertices), PropertyMap());
}

// Nodes 1 and 2; node 2 (bone index 1) sits at offset.
std::unique_ptr<AnimationData> Skeleton(const Vec3& offset) {
    auto root = std::make_unique<AnimationData>();
    for (int id : {1, 2}) {
        auto node = std::make_unique<AnimationData>();
        node->SetId(id);
        if (id == 2) node->SetPosition(offset);
        root->AddChild(std::move(node));
    }
    return root;
}

class Ribbon : public IRibbonTriangleList {
public:
    // Each triangle flies to offset from where it lies, at 100 times its base size (the base
    // matrix holds 1 %), so at weight 1 the shape reappears moved by offset.
    Ribbon(const std::vector<Vec3>& positions, const Vec3& offset)
        : m_triangles(positions.size() / 3) {
        for (size_t t = 0; t < m_triangles.size(); ++t) {
            const Mat4 frame =
                Mat4::TriangleFrame(positions[3 * t], positions[3 * t + 1], positions[3 * t + 2]);
            m_triangles[t].m_path = std::make_unique<AnimationCurve<Vec3>>();
            m_triangles[t].m_path->AddKey(0.0f, Vec3(frame[12], frame[13], frame[14]) + offset,
                                          Vec3(), Vec3());
            m_triangles[t].m_scale = std::make_unique<AnimationCurve<float>>();
            m_triangles[t].m_scale->AddKey(0.0f, 100.0f, 0.0f, 0.0f);
        }
    }
    int GetRibbonTrianglesCount() const override { return static_cast<int>(m_triangles.size()); }
    const RibbonTriangle& GetRibbonTriangle(int index) const override {
        return m_triangles[static_cast<size_t>(index)];
    }

private:
    std::vector<RibbonTriangle> m_triangles;
};

// Frames ---------------------------------------------------------------------------------------

constexpr int kSize = 160;

Mat4 Camera() {
    return Mat4::Perspective(0.9f, 1.0f, 0.5f, 20.0f) * Mat4::Translation(0.0f, 0.0f, -3.6f) *
           Mat4::Rotation(0.45f, 1, 0, 0) * Mat4::Rotation(0.6f, 0, 1, 0);
}

struct Frame {
    std::vector<uint8_t> scene;
    std::vector<uint8_t> glow;
};

// A solid and a wireframe pass of one mesh with the same program, as the show draws objects.
template <typename Draw>
Frame Render(TestFramebuffer* target, BaseGlowTransparencySpecullar* solid,
             BaseGlowTransparencySpecullar* wire, Draw draw) {
    target->BindAndClear();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    for (BaseGlowTransparencySpecullar* material : {solid, wire}) {
        material->Apply();
        draw();
    }
    Frame frame{target->Read(0), target->Read(1)};
    for (GLuint location = 0; location <= 8; ++location) glDisableVertexAttribArray(location);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return frame;
}

// The mean column of the lit pixels.
float LitCentreX(const std::vector<uint8_t>& rgba) {
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < kSize * kSize; ++i) {
        if (std::max({rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]}) > 8) {
            sum += i % kSize;
            ++count;
        }
    }
    return count ? static_cast<float>(sum / count) : -1.0f;
}

int DifferingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int count = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return count;
}

// Scene | glow | scene + blurred glow, top row first.
void WritePicture(const Frame& frame, const std::string& name) {
    std::vector<float> blurred(static_cast<size_t>(kSize) * kSize * 3, 0.0f);
    std::vector<float> pass(blurred.size(), 0.0f);
    const int radius = 6;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            for (int c = 0; c < 3; ++c) {
                float sum = 0.0f;
                for (int d = -radius; d <= radius; ++d) {
                    const int xx = std::clamp(x + d, 0, kSize - 1);
                    sum += frame.glow[4 * (y * kSize + xx) + c];
                }
                pass[3 * (y * kSize + x) + c] = sum / (2 * radius + 1);
            }
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            for (int c = 0; c < 3; ++c) {
                float sum = 0.0f;
                for (int d = -radius; d <= radius; ++d) {
                    const int yy = std::clamp(y + d, 0, kSize - 1);
                    sum += pass[3 * (yy * kSize + x) + c];
                }
                blurred[3 * (y * kSize + x) + c] = sum / (2 * radius + 1);
            }

    PngImage image;
    image.width = 3 * kSize;
    image.height = kSize;
    image.color = PngColor::Rgb;
    image.samples.resize(static_cast<size_t>(image.width) * kSize * 3);
    for (int row = 0; row < kSize; ++row) {
        const int y = kSize - 1 - row;
        for (int x = 0; x < kSize; ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t source = 4 * (static_cast<size_t>(y) * kSize + x) + c;
                const float composed =
                    frame.scene[source] + 2.0f * blurred[3 * (y * kSize + x) + c];
                uint16_t* out =
                    &image.samples[3 * (static_cast<size_t>(row) * image.width + x) + c];
                out[0] = frame.scene[source];
                out[3 * kSize] = frame.glow[source];
                out[6 * kSize] = static_cast<uint16_t>(std::min(255.0f, composed));
            }
    }
    WriteFileBytes("glow_" + name + ".png", WritePng(image));
}

void ExpectGlowing(const Frame& frame, const Frame& noGlow) {
    EXPECT_GT(CountLitPixels(frame.scene), 2000) << "the shape is lit";
    EXPECT_GT(CountLitPixels(frame.glow), 2000) << "the glow output is written";
    EXPECT_GT(CountLitPixels(noGlow.scene), 2000);
    EXPECT_EQ(CountLitPixels(noGlow.glow, 0), 0) << "u_glowMultiplier 0 leaves no glow";
}

class GlowFrame : public testing::Test {
protected:
    GlowFrame() : m_target(kSize, kSize) { DrawingRoutines::SetViewProjMatrix(Camera()); }
    ~GlowFrame() override { ExpectNoGlError("frame"); }

    // Renders with the given glow multipliers for the solid and the wire pass.
    template <typename Draw>
    Frame RenderWith(BaseGlowTransparencySpecullar* solid, BaseGlowTransparencySpecullar* wire,
                     float multiplier, Draw draw) {
        solid->SetGlowMultiplier(multiplier);
        wire->SetGlowMultiplier(2.0f * multiplier);
        wire->SetSolid(false);
        return Render(&m_target, solid, wire, draw);
    }

    GlTestContext m_gl;
    TestFramebuffer m_target;
};

TEST_F(GlowFrame, RibbonTrianglesGlow) {
    std::unique_ptr<MeshPart> part = Part(Octahedron());
    UniqueTriangledMesh mesh;
    mesh.Create(*part);
    // Slightly apart and shrunk, as in flight.
    for (int t = 0; t < mesh.GetTrianglesCount(); ++t)
        mesh.SetTriangleTransform(t, Mat4::Translation(mesh.GetTriangleCenter(t) * 1.25f) *
                                         mesh.GetTriangleFrame(t) * Mat4::Scale(0.8f, 0.8f, 0.8f));
    mesh.SetAllTrianglesColor(Vec4(0.2f, 0.85f, 1.0f, 0.55f));
    mesh.SetTriangleColor(3, Vec4(0.65f, 0.3f, 1.0f, 0.55f));
    mesh.SetAllTrianglesGlowPower(0.9f);
    const std::unique_ptr<Shader> programOwner = LoadEffect("SpecularBlur");
    Shader* program = programOwner.get();
    GlowTransparencySpecullar solid(program), wire(program);
    const auto draw = [&] { mesh.Draw(); };
    const Frame frame = RenderWith(&solid, &wire, 1.0f, draw);
    WritePicture(frame, "SpecularBlur");
    ExpectGlowing(frame, RenderWith(&solid, &wire, 0.0f, draw));
}

TEST_F(GlowFrame, StillMeshGlows) {
    std::unique_ptr<MeshPart> part = Part(Octahedron());
    StaticTriangledMesh mesh;
    mesh.Create(*part);
    mesh.SetAllTrianglesColor(Vec4(0.6f, 0.3f, 1.0f, 0.5f));
    mesh.SetAllTrianglesGlowPower(0.8f);
    const std::unique_ptr<Shader> programOwner = LoadEffect("StaticSpecularBlur");
    Shader* program = programOwner.get();
    StaticGlowTransparencySpecullar solid(program), wire(program);
    const auto draw = [&] { mesh.Draw(); };
    const Frame frame = RenderWith(&solid, &wire, 1.0f, draw);
    WritePicture(frame, "StaticSpecularBlur");
    ExpectGlowing(frame, RenderWith(&solid, &wire, 0.0f, draw));
}

TEST_F(GlowFrame, WaterGlowsAndMovesWithTime) {
    std::unique_ptr<MeshPart> part = Part(Sheet());
    StaticTriangledMesh mesh;
    mesh.Create(*part);
    mesh.SetAllTrianglesColor(Vec4(0.1f, 0.5f, 1.0f, 0.45f));
    mesh.SetAllTrianglesGlowPower(0.7f);
    const std::unique_ptr<Shader> programOwner = LoadEffect("Water");
    Shader* program = programOwner.get();
    StaticGlowTransparencySpecullar solid(program), wire(program);
    const auto at = [&](float time) {
        program->Use();
        program->SetFloat("u_time", time);
        return RenderWith(&solid, &wire, 1.0f, [&] { mesh.Draw(); });
    };
    const Frame frame = at(0.0f);
    WritePicture(frame, "Water");
    program->Use();
    program->SetFloat("u_time", 0.0f);
    ExpectGlowing(frame, RenderWith(&solid, &wire, 0.0f, [&] { mesh.Draw(); }));
    EXPECT_GT(DifferingPixels(frame.scene, at(1.5f).scene), 500);
}

TEST_F(GlowFrame, SkinnedFigureGlowsWhereItsBonesPutIt) {
    std::unique_ptr<SkinnedMeshData> data = Figure(Octahedron());
    SkinnedMesh mesh;
    mesh.Create(*data);
    mesh.SetAllTrianglesColor(Vec4(1.0f, 0.6f, 0.15f, 0.6f));
    mesh.SetAllTrianglesGlowPower(1.2f);
    const std::unique_ptr<Shader> programOwner = LoadEffect("Skinned");
    Shader* program = programOwner.get();
    SkinnedGlowTransparencySpecullar solid(program, &mesh), wire(program, &mesh);
    const auto draw = [&] { mesh.Draw(); };

    std::unique_ptr<AnimationData> still = Skeleton(Vec3());
    Animation pose(still.get());
    mesh.BindAnimation("walk", &pose);
    pose.Update(0.0f, Mat4::Scale(0.8f, 0.8f, 0.8f), 0.0f);
    const Frame frame = RenderWith(&solid, &wire, 1.0f, draw);
    WritePicture(frame, "Skinned");
    ExpectGlowing(frame, RenderWith(&solid, &wire, 0.0f, draw));

    // Bone index 1 moved to the right: the whole figure follows it.
    std::unique_ptr<AnimationData> moved = Skeleton(Vec3(1.0f, 0.0f, 0.0f));
    Animation step(moved.get());
    mesh.BindAnimation("walk", &step);
    step.Update(0.0f, Mat4::Scale(0.8f, 0.8f, 0.8f), 0.0f);
    const Frame right = RenderWith(&solid, &wire, 1.0f, draw);
    EXPECT_GT(LitCentreX(right.scene), LitCentreX(frame.scene) + 15.0f);
}

TEST_F(GlowFrame, SkinnedRibbonBlendsTowardsTheRibbonByItsWeight) {
    const std::vector<Vec3> shape = Octahedron();
    std::unique_ptr<SkinnedMeshData> data = Figure(shape);
    SkinnedRibbonMesh mesh;
    mesh.Create(*data);
    mesh.SetAllTrianglesColor(Vec4(1.0f, 0.6f, 0.15f, 0.6f));
    mesh.SetTriangleColor(2, Vec4(0.2f, 0.85f, 1.0f, 0.6f));
    mesh.SetAllTrianglesGlowPower(1.2f);
    std::unique_ptr<AnimationData> skeleton = Skeleton(Vec3());
    Animation pose(skeleton.get());
    mesh.BindAnimation("walk", &pose);
    pose.Update(0.0f, Mat4::Scale(0.8f, 0.8f, 0.8f), 0.0f);
    Ribbon ribbon(shape, Vec3(1.6f, 0.0f, 0.0f));
    mesh.SetRibbon(&ribbon);
    mesh.UpdateRibbonTransforms(0.0f, 0.0f);

    const std::unique_ptr<Shader> programOwner = LoadEffect("SkinnedRibbon");
    Shader* program = programOwner.get();
    SkinnedGlowTransparencySpecullar solid(program, &mesh), wire(program, &mesh);
    const auto at = [&](float weight, float multiplier) {
        program->Use();
        program->SetFloat("u_ribbonWeight", weight);
        return RenderWith(&solid, &wire, multiplier, [&] { mesh.Draw(); });
    };
    const Frame skinned = at(0.0f, 1.0f);
    const Frame half = at(0.5f, 1.0f);
    const Frame ribboned = at(1.0f, 1.0f);
    WritePicture(half, "SkinnedRibbon");
    ExpectGlowing(half, at(0.5f, 0.0f));
    const float x0 = LitCentreX(skinned.scene), x1 = LitCentreX(half.scene),
                x2 = LitCentreX(ribboned.scene);
    EXPECT_GT(x1, x0 + 10.0f);
    EXPECT_GT(x2, x1 + 10.0f);
}

}  // namespace
