// The glow materials on a real GL context (virtual display, Mesa): the render state and the
// attribute arrays each class leaves behind, the uniforms it sets, and the 41-bone limit.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "content/animation.h"
#include "content/animationdata.h"
#include "content/model.h"
#include "content/skinnedmeshdata.h"
#include "gpu/shader.h"
#include "gpu/skinnedmesh.h"
#include "gpu/skinnedribbonmesh.h"
#include "gpu/statictriangledmesh.h"
#include "math/mathtest.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/drawingroutines.h"
#include "render/skinnedglowtransparencyspecullar.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"
#include "support/glframe.h"
#include "support/tempdir.h"

namespace {

using sm::Mat4;
using sm::Vec3;

std::string Effect(const std::string& name) {
    return std::string(PINDLE_CONTENT_SOURCE_DIR) + "/effects/" + name;
}

std::unique_ptr<Shader> LoadEffect(const std::string& name) {
    return std::unique_ptr<Shader>(
        Shader::LoadShader(Effect(name + ".vpr"), Effect(name + ".fpr")));
}

// A skinned mesh data of one triangle whose vertices use bone 0, with one bone per id.
std::unique_ptr<SkinnedMeshData> Bones(int count) {
    std::vector<int32_t> ids;
    for (int i = 0; i < count; ++i) ids.push_back(100 + i);
    std::vector<SkinnedVertex> vertices(3);
    for (int v = 0; v < 3; ++v) {
        vertices[v].position = Vec3(float(v == 1), float(v == 2), 0.0f);
        vertices[v].bones[0] = vertices[v].bones[1] = vertices[v].bones[2] = vertices[v].bones[3] =
            0;
        vertices[v].weights[0] = 1.0f;
        vertices[v].weights[1] = vertices[v].weights[2] = vertices[v].weights[3] = 0.0f;
    }
    return std::make_unique<SkinnedMeshData>(1, "guy", "", Mat4(), std::move(ids),
                                             std::move(vertices), PropertyMap());
}

// An animation with a node for each bone of Bones(count), node i at (i, 2i, 3i).
std::unique_ptr<AnimationData> Skeleton(int count) {
    auto root = std::make_unique<AnimationData>();
    for (int i = 0; i < count; ++i) {
        auto node = std::make_unique<AnimationData>();
        node->SetId(100 + i);
        node->SetPosition(Vec3(float(i), 2.0f * i, 3.0f * i));
        root->AddChild(std::move(node));
    }
    return root;
}

std::set<int> EnabledArrays() {
    std::set<int> enabled;
    for (int location = 0; location <= 8; ++location) {
        GLint on = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &on);
        if (on) enabled.insert(location);
    }
    return enabled;
}

void SetArrays(bool on) {
    for (GLuint location = 0; location <= 8; ++location) {
        if (on)
            glEnableVertexAttribArray(location);
        else
            glDisableVertexAttribArray(location);
    }
}

// The opposite of what a glow material wants.
void SetContraryState() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_TRUE);
}

void ExpectGlowState(GLint polygonMode) {
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], polygonMode);
    EXPECT_EQ(modes[1], polygonMode);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    for (GLenum source : {GL_BLEND_SRC_RGB, GL_BLEND_SRC_ALPHA}) {
        glGetIntegerv(source, &value);
        EXPECT_EQ(value, GL_SRC_ALPHA);
    }
    for (GLenum destination : {GL_BLEND_DST_RGB, GL_BLEND_DST_ALPHA}) {
        glGetIntegerv(destination, &value);
        EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    }
    GLboolean mask[4] = {GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    GLboolean depthMask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_FALSE(depthMask);
}

TEST(GlowMaterial, RenderStateAndArraysPerMeshKind) {
    GlTestContext gl;
    const std::unique_ptr<Shader> programOwner = LoadEffect("Skinned");
    Shader* program = programOwner.get();
    std::unique_ptr<SkinnedMeshData> data = Bones(2);
    SkinnedMesh skinned;
    skinned.Create(*data);
    SkinnedRibbonMesh ribbon;
    ribbon.Create(*data);

    BaseGlowTransparencySpecullar base(program);
    GlowTransparencySpecullar glow(program);
    StaticGlowTransparencySpecullar still(program);
    SkinnedGlowTransparencySpecullar skinnedGlow(program, &skinned);
    SkinnedGlowTransparencySpecullar ribbonGlow(program, &ribbon);
    struct Case {
        const char* name;
        BaseGlowTransparencySpecullar* material;
        std::set<int> enabled;   // switched on
        std::set<int> disabled;  // switched off; the rest stay as they were
    };
    const Case cases[] = {
        {"base", &base, {}, {}},
        {"triangles", &glow, {0, 1, 2, 3, 4, 5, 6}, {}},
        {"static", &still, {0, 1, 2}, {3, 4, 5, 6}},
        {"skinned", &skinnedGlow, {0, 1, 2, 3, 4}, {5, 6}},
        {"skinned ribbon", &ribbonGlow, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.material->IsTransparent());
        for (bool before : {false, true}) {
            SCOPED_TRACE(before ? "all arrays on before" : "all arrays off before");
            SetArrays(before);
            SetContraryState();
            c.material->SetSolid(true);
            c.material->ApplyRenderState();
            ExpectGlowState(GL_FILL);
            std::set<int> expected;
            for (int location = 0; location <= 8; ++location) {
                if (c.enabled.count(location) || (before && !c.disabled.count(location)))
                    expected.insert(location);
            }
            EXPECT_EQ(EnabledArrays(), expected);

            c.material->SetSolid(false);
            c.material->ApplyRenderState();
            ExpectGlowState(GL_LINE);
        }
    }
    SetArrays(false);
    ExpectNoGlError("render states");
}

TEST(GlowMaterial, DrawingLeavesBlendingOnAndDepthWritesOff) {
    GlTestContext gl;
    TestFramebuffer frame(32, 32);
    frame.BindAndClear();
    const std::unique_ptr<Shader> programOwner = LoadEffect("StaticSpecularBlur");
    Shader* program = programOwner.get();
    std::vector<float> floats = {-1, -1, 0, 1, -1, 0, 0, 1, 0};
    std::vector<unsigned char> bytes(floats.size() * 4);
    std::memcpy(bytes.data(), floats.data(), bytes.size());
    MeshPart part(0, 3, std::move(bytes), "");
    StaticTriangledMesh mesh;
    mesh.Create(part);
    DrawingRoutines::SetViewProjMatrix(Mat4());
    StaticGlowTransparencySpecullar material(program);
    material.Apply();
    mesh.Draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLboolean depthMask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_FALSE(depthMask);
    EXPECT_GT(CountLitPixels(frame.Read(0)), 100);
    SetArrays(false);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ExpectNoGlError("draw");
}

Mat4 UniformMatrix(GLuint program, const char* name) {
    Mat4 m;
    glGetUniformfv(program, glGetUniformLocation(program, name), m.m);
    return m;
}

float UniformFloat(GLuint program, const char* name) {
    float value = -1.0f;
    glGetUniformfv(program, glGetUniformLocation(program, name), &value);
    return value;
}

TEST(GlowMaterial, ShaderGetsTheFrameMatrixTimesTheWorldAndTheGlowMultiplier) {
    GlTestContext gl;
    const std::unique_ptr<Shader> programOwner = LoadEffect("SpecularBlur");
    Shader* program = programOwner.get();
    const GLuint id = program->GetProgramId();
    const Mat4 viewProj = Mat4::Perspective(1.0f, 1.5f, 0.5f, 50.0f) * Mat4::Translation(0, 0, -5);
    DrawingRoutines::SetViewProjMatrix(viewProj);

    GlowTransparencySpecullar solid(program);
    GlowTransparencySpecullar wire(program);
    wire.SetSolid(false);
    wire.SetGlowMultiplier(2.5f);
    solid.ApplyShader();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), id);
    EXPECT_TRUE(Mat4Near(UniformMatrix(id, "u_viewProjMatrix"), viewProj, 0.0f));
    EXPECT_EQ(UniformFloat(id, "u_glowMultiplier"), 1.0f);
    wire.ApplyShader();
    EXPECT_EQ(UniformFloat(id, "u_glowMultiplier"), 2.5f);
    EXPECT_EQ(solid.GetShader(), wire.GetShader());

    // The world matrix is read through its pointer at every draw.
    Mat4 world = Mat4::Translation(1, 2, 3);
    solid.SetWorldMatrix(&world);
    solid.ApplyShader();
    EXPECT_TRUE(Mat4Near(UniformMatrix(id, "u_viewProjMatrix"), viewProj * world, 1e-6f));
    world = Mat4::Rotation(0.7f, 0, 1, 0) * Mat4::Scale(2, 2, 2);
    solid.ApplyShader();
    EXPECT_TRUE(Mat4Near(UniformMatrix(id, "u_viewProjMatrix"), viewProj * world, 1e-6f));
    solid.SetWorldMatrix(nullptr);
    solid.ApplyShader();
    EXPECT_TRUE(Mat4Near(UniformMatrix(id, "u_viewProjMatrix"), viewProj, 0.0f));

    // A program without "u_glowMultiplier" or "u_boneTransform" is fine; without
    // "u_viewProjMatrix" it is fatal.
    TempDir dir;
    WriteFileBytes(dir.File("plain.vpr"),
                   "#version 330 core\nuniform mat4 u_viewProjMatrix;\n"
                   "void main() { gl_Position = u_viewProjMatrix * vec4(1.0); }\n");
    WriteFileBytes(dir.File("bare.vpr"),
                   "#version 330 core\nvoid main() { gl_Position = vec4(1.0); }\n");
    WriteFileBytes(dir.File("plain.fpr"),
                   "#version 330 core\nout vec4 o; void main() { o = vec4(1.0); }\n");
    const std::unique_ptr<Shader> plainOwner(
        Shader::LoadShader(dir.File("plain.vpr"), dir.File("plain.fpr")));
    Shader* plain = plainOwner.get();
    std::unique_ptr<SkinnedMeshData> data = Bones(3);
    SkinnedMesh mesh;
    mesh.Create(*data);
    SkinnedGlowTransparencySpecullar plainSkinned(plain, &mesh);
    plainSkinned.ApplyShader();
    ExpectNoGlError("program without the optional uniforms");

    const std::unique_ptr<Shader> bare(
        Shader::LoadShader(dir.File("bare.vpr"), dir.File("plain.fpr")));
    solid.SetShader(bare.get());
    EXPECT_EQ(CaptureFatal([&] {
                  solid.ApplyShader();
              }).rfind("Assertion failed: uniformParam != -1, file ", 0),
              0u);
}

TEST(SkinnedGlowMaterial, HoldsAtMost41Bones) {
    GlTestContext gl;
    DrawingRoutines::SetViewProjMatrix(Mat4());
    for (const char* name : {"Skinned", "SkinnedRibbon"}) {
        SCOPED_TRACE(name);
        const std::unique_ptr<Shader> programOwner = LoadEffect(name);
        Shader* program = programOwner.get();
        const GLuint id = program->GetProgramId();
        const bool ribbon = std::string(name) == "SkinnedRibbon";

        std::unique_ptr<SkinnedMeshData> data41 = Bones(41);
        std::unique_ptr<AnimationData> skeleton = Skeleton(41);
        Animation walk(skeleton.get());
        SkinnedMesh mesh;
        SkinnedRibbonMesh ribbonMesh;
        std::unique_ptr<SkinnedGlowTransparencySpecullar> material;
        if (ribbon) {
            ribbonMesh.Create(*data41);
            ribbonMesh.BindAnimation("walk", &walk);
            material = std::make_unique<SkinnedGlowTransparencySpecullar>(program, &ribbonMesh);
        } else {
            mesh.Create(*data41);
            mesh.BindAnimation("walk", &walk);
            material = std::make_unique<SkinnedGlowTransparencySpecullar>(program, &mesh);
        }
        walk.Update(0.0f, Mat4::Scale(0.5f, 0.5f, 0.5f), 0.0f);
        material->ApplyShader();
        for (int bone : {0, 17, 40}) {
            const std::string uniform = "u_boneTransform[" + std::to_string(bone) + "]";
            EXPECT_TRUE(Mat4Near(UniformMatrix(id, uniform.c_str()),
                                 Mat4::Scale(0.5f, 0.5f, 0.5f) *
                                     Mat4::Translation(float(bone), 2.0f * bone, 3.0f * bone),
                                 0.0f))
                << bone;
        }
        ExpectNoGlError("41 bones");

        std::unique_ptr<SkinnedMeshData> data42 = Bones(42);
        SkinnedMesh mesh42;
        SkinnedRibbonMesh ribbon42;
        std::unique_ptr<SkinnedGlowTransparencySpecullar> material42;
        if (ribbon) {
            ribbon42.Create(*data42);
            material42 = std::make_unique<SkinnedGlowTransparencySpecullar>(program, &ribbon42);
        } else {
            mesh42.Create(*data42);
            material42 = std::make_unique<SkinnedGlowTransparencySpecullar>(program, &mesh42);
        }
        const std::string expected =
            ribbon ? "Assertion failed: m_meshRibbon->GetBonesCount() <= 41, file "
                   : "Assertion failed: m_mesh->GetBonesCount() <= 41, file ";
        EXPECT_EQ(CaptureFatal([&] { material42->ApplyShader(); }).rfind(expected, 0), 0u);
    }
}

}  // namespace
