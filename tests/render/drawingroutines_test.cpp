// The start-up program set: each of the eleven relinked programs gets its attribute locations,
// "SpecularBlur" is only required, and a missing program stops the set-up where it is missing.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "gpu/shader.h"
#include "render/drawingroutines.h"
#include "renderfixtures.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

struct Bound {
    const char* program;
    Shader* (*get)();
    std::vector<const char*> attributes;  // by location
};

const Bound kBound[] = {
    {"Black", DrawingRoutines::GetBlackShader, {"a_position"}},
    {"Color", DrawingRoutines::GetColorShader, {"a_position", "a_normal"}},
    {"Diff", DrawingRoutines::GetDiffShader, {"a_position", "a_coordsDiff", "a_normal"}},
    {"DiffNorm",
     DrawingRoutines::GetDiffNormShader,
     {"a_position", "a_coordsDiff", "a_normal", "a_tangent"}},
    {"DiffLightMap",
     DrawingRoutines::GetDiffLightMapShader,
     {"a_position", "a_coordsDiff", "a_coordsLightmap", "a_normal"}},
    {"DiffNormLightmap",
     DrawingRoutines::GetDiffNormLightmapShader,
     {"a_position", "a_coordsDiff", "a_coordsLightmap", "a_normal", "a_tangent"}},
    {"ShadowMap", DrawingRoutines::GetShadowMapShader, {"a_position"}},
    {"SM_Color", DrawingRoutines::GetSmColorShader, {"a_position", "a_normal"}},
    {"SpecularColored",
     DrawingRoutines::GetSpecularColoredShader,
     {"a_position", "a_color", "a_transform"}},
    {"SM_DiffNorm",
     DrawingRoutines::GetSmDiffNormShader,
     {"a_position", "a_coordsDiff", "a_normal", "a_tangent"}},
    {"SM_DiffNormLightmap",
     DrawingRoutines::GetSmDiffNormLightmapShader,
     {"a_position", "a_coordsDiff", "a_coordsLightmap", "a_normal", "a_tangent"}},
};

std::vector<std::string> RelinkedNames() {
    std::vector<std::string> names;
    for (const Bound& b : kBound) names.push_back(b.program);
    return names;
}

void WriteSpecularBlurFixture(const TempDir& dir) {
    WriteFileBytes(dir.File("SpecularBlur.vpr"),
                   "#version 330\nlayout(location = 0) in vec3 a_position;\n"
                   "void main() { gl_Position = vec4(a_position, 1.0); }\n");
    WriteFileBytes(dir.File("SpecularBlur.fpr"),
                   "#version 330\nout vec4 o_color;\nvoid main() { o_color = vec4(1.0); }\n");
}

// Moves every attribute of the relinked programs away from its proper location, so that only
// LoadShaders' own binding and relink can put them back. The third attribute may be a mat4
// ("a_transform"), which takes four locations: 0 to 3 here.
void Scramble(ContentManager& manager) {
    const unsigned scrambled[] = {8, 4, 0, 5, 1};
    for (const Bound& b : kBound) {
        Shader* shader = manager.GetShader(b.program);
        for (size_t i = 0; i < b.attributes.size(); ++i) {
            shader->BindAttribLocation(scrambled[i], b.attributes[i]);
        }
        shader->Link();
    }
}

void ExpectBound(ContentManager& manager, size_t count) {
    for (size_t p = 0; p < count; ++p) {
        const Bound& b = kBound[p];
        Shader* shader = manager.GetShader(b.program);
        EXPECT_EQ(b.get(), shader) << b.program;
        for (size_t i = 0; i < b.attributes.size(); ++i) {
            EXPECT_EQ(glGetAttribLocation(shader->GetProgramId(), b.attributes[i]),
                      static_cast<GLint>(i))
                << b.program << " " << b.attributes[i];
        }
    }
}

TEST(DrawingRoutines, BindsAndRelinksTheElevenAndRequiresSpecularBlur) {
    GlTestContext gl;
    TempDir dir;
    CopyPrograms(dir, RelinkedNames());
    WriteSpecularBlurFixture(dir);
    ProgramContent content({dir.Path() + "/"});
    Scramble(content.manager);

    EXPECT_TRUE(DrawingRoutines::LoadShaders(&content.manager));
    ExpectBound(content.manager, std::size(kBound));
    EXPECT_EQ(DrawingRoutines::GetSpecularBlurShader(), content.manager.GetShader("SpecularBlur"));
    ExpectNoGlError("load");
}

TEST(DrawingRoutines, MissingSpecularBlurFailsAfterElevenRelinks) {
    GlTestContext gl;
    TempDir dir;
    CopyPrograms(dir, RelinkedNames());
    ProgramContent content({dir.Path() + "/"});
    Scramble(content.manager);

    std::string message = CaptureFatal([&] { DrawingRoutines::LoadShaders(&content.manager); });
    EXPECT_NE(message.find("Assertion failed: m_specularBlur != NULL"), std::string::npos)
        << message;
    ExpectBound(content.manager, std::size(kBound));
}

TEST(DrawingRoutines, AMissingProgramStopsTheLookupsThere) {
    GlTestContext gl;
    TempDir dir;
    std::vector<std::string> names = RelinkedNames();
    names.erase(names.begin() + 2);  // "Diff"
    CopyPrograms(dir, names);
    WriteSpecularBlurFixture(dir);
    ProgramContent content({dir.Path() + "/"});

    std::string message = CaptureFatal([&] { DrawingRoutines::LoadShaders(&content.manager); });
    EXPECT_NE(message.find("Assertion failed: m_diffShader != NULL"), std::string::npos) << message;
    ExpectBound(content.manager, 2);
    EXPECT_NE(DrawingRoutines::GetDiffNormShader(), content.manager.GetShader("DiffNorm"));
    EXPECT_NE(DrawingRoutines::GetSpecularBlurShader(), content.manager.GetShader("SpecularBlur"));
}

}  // namespace
