// The frame on a real GL context: renderables drawn into the two scene targets in list order,
// the glow chain at half size with the show's post-processing programs, the composite in the
// window, the overlays, and the fatal set-up checks.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "base/log.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/drawingroutines.h"
#include "render/framebuffer.h"
#include "render/glcheck.h"
#include "render/glsetup.h"
#include "render/graphicsengine.h"
#include "render/quad.h"
#include "render/renderable.h"
#include "renderfixtures.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

const std::vector<std::string> kPostPrograms = {"Downsample", "Blit",     "BlitOpacity",
                                                "HoriBlur",   "VertBlur", "Add"};

// A GL context with the controller's default state, the show's post-processing programs and
// the "Flat" fixture program.
struct EngineFixture {
    GlTestContext gl;
    TempDir dir;
    std::unique_ptr<ProgramContent> content;
    Shader* flat = nullptr;

    EngineFixture() {
        SetDefaultGlState(gl.Width(), gl.Height());
        WriteFlatProgram(dir);
        content = std::make_unique<ProgramContent>(
            std::vector<std::string>{EffectsFolder(), dir.Path() + "/"});
        flat = content->manager.GetShader("Flat");
        DrawingRoutines::SetViewProjMatrix(sm::Mat4::Identity());
    }
};

void ExpectColor(const Pixels& pixels, int x, int y, int r, int g, int b, const char* what) {
    const unsigned char* p = pixels.At(x, y);
    EXPECT_NEAR(p[0], r, 2) << what;
    EXPECT_NEAR(p[1], g, 2) << what;
    EXPECT_NEAR(p[2], b, 2) << what;
}

TEST(GraphicsEngine, EmptyListGivesABlackFrame) {
    EngineFixture f;
    GraphicsEngine engine(160, 120);
    engine.Initialize();
    engine.SetRenderables({});
    // Whatever the window held before, the composite covers it.
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    engine.Render();
    ExpectNoGlError("render");
    Pixels frame = ReadWindow(160, 120);
    int lit = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) lit += frame.Brightness(x, y) != 0;
    }
    EXPECT_EQ(lit, 0);
}

TEST(GraphicsEngine, BrightTriangleGlowsBeyondItsEdgesFadingWithDistance) {
    EngineFixture f;
    const int width = 320, height = 240;
    GraphicsEngine engine(width, height);
    engine.Initialize();
    TriangleMesh mesh({-0.25f, -0.4f, 0, 0.25f, -0.4f, 0, 0, 0.4f, 0});
    const sm::Vec4 cyan(0.2f, 0.8f, 1.0f, 1.0f);
    FlatMaterial material(f.flat, cyan, cyan);
    Renderable triangle(&mesh, &material, 0);
    engine.SetRenderables({&triangle});
    engine.Render();
    ExpectNoGlError("render");
    Pixels frame = ReadWindow(width, height);
    SavePng(frame, "glow_triangle.png");

    // The triangle's right edge on the middle row, from the scene image.
    Pixels scene = ReadTexture(*engine.GetSceneTexture());
    const int row = height / 2;
    int edge = width / 2;
    while (edge + 1 < width && scene.Brightness(edge + 1, row) > 0) ++edge;
    ASSERT_LT(edge, width * 3 / 4);
    EXPECT_GE(frame.At(width / 2, row)[2], 235) << "the triangle itself, near white";

    // Lit outside, tinted like the glow, and dimmer step by step away from the edge.
    int previous = frame.Brightness(edge + 2, row);
    EXPECT_GT(previous, 150);
    EXPECT_GT(frame.At(edge + 2, row)[2], frame.At(edge + 2, row)[0]);
    for (int distance : {6, 12, 20, 30, 45}) {
        int brightness = frame.Brightness(edge + distance, row);
        EXPECT_GT(brightness, 0) << distance << " pixels out";
        EXPECT_LT(brightness, previous) << distance << " pixels out";
        previous = brightness;
    }
    EXPECT_EQ(frame.Brightness(2, 2), 0) << "the far corner stays dark";
}

// Full-screen layers with known colours; the scene image shows the blend order.
struct Layers : EngineFixture {
    TriangleMesh mesh{FullScreen()};
    const sm::Vec4 none{0, 0, 0, 0};
    FlatMaterial red{flat, sm::Vec4(1, 0, 0, 1), none};
    FlatMaterial green{flat, sm::Vec4(0, 1, 0, 0.5f), none};
    FlatMaterial blue{flat, sm::Vec4(0, 0, 1, 0.5f), none};
};

TEST(GraphicsEngine, OpaqueFirstThenTransparentEachInAscendingOrder) {
    Layers f;
    GraphicsEngine engine(64, 64);
    engine.Initialize();
    FlatMaterial opaqueRed(f.flat, sm::Vec4(1, 0, 0, 1), f.none, false);
    Renderable opaque(&f.mesh, &opaqueRed, 10);
    Renderable low(&f.mesh, &f.green, -5);
    Renderable high(&f.mesh, &f.blue, 3);
    engine.SetRenderables({&high, &opaque, &low});
    EXPECT_EQ(engine.GetOpaqueRenderables(), std::vector<Renderable*>({&opaque}));
    EXPECT_EQ(engine.GetTransparentRenderables(), std::vector<Renderable*>({&low, &high}));

    engine.Render();
    ExpectNoGlError("render");
    // Red, green blended over it, then blue over both.
    ExpectColor(ReadTexture(*engine.GetSceneTexture()), 32, 32, 64, 64, 128, "blend order");
}

TEST(GraphicsEngine, HiddenRenderableIsSkippedAndComesBackInItsPlace) {
    Layers f;
    GraphicsEngine engine(64, 64);
    engine.Initialize();
    Renderable bottom(&f.mesh, &f.red, 0);
    Renderable middle(&f.mesh, &f.green, 1);
    Renderable top(&f.mesh, &f.blue, 2);
    engine.SetRenderables({&top, &bottom, &middle});

    struct Step {
        bool middleVisible;
        int draws;  // of the shared mesh, this frame
        int r, g, b;
    };
    // Were the middle layer drawn last on its return, green would win: (64, 128, 64).
    const Step steps[] = {{true, 3, 64, 64, 128}, {false, 2, 128, 0, 128}, {true, 3, 64, 64, 128}};
    for (const Step& step : steps) {
        middle.SetVisible(step.middleVisible);
        f.mesh.draws = 0;
        engine.Render();
        EXPECT_EQ(f.mesh.draws, step.draws);
        ExpectColor(ReadTexture(*engine.GetSceneTexture()), 32, 32, step.r, step.g, step.b,
                    step.middleVisible ? "shown" : "hidden");
    }
    ExpectNoGlError("render");
}

// A mesh that draws, then makes one invalid call.
struct FaultyMesh : TriangleMesh {
    FaultyMesh() : TriangleMesh(FullScreen()) {}
    void Draw() override {
        TriangleMesh::Draw();
        glEnable(0x1234);
    }
};

TEST(GlCheck, NamesEachErrorOnceWithItsPassAndCountsEveryOne) {
    Layers f;
    GraphicsEngine engine(64, 64);
    engine.Initialize();
    FaultyMesh faulty;
    f.green.SetName("Leaky");
    Renderable good(&f.mesh, &f.red, 0);
    Renderable bad(&faulty, &f.green, 1);
    engine.SetRenderables({&good, &bad});
    InitLog(false, true, false, f.dir.File("log.txt").c_str());

    GlCheck::Enable(false);
    engine.Render();  // off: the error stays in GL, nothing is asked or logged
    EXPECT_EQ(GlCheck::Count(), 0u);
    GlCheck::Enable(true);
    GlCheck::Reset();
    GlCheck::After("the test's set-up");  // the error of the unchecked frame
    for (int frame = 0; frame < 3; ++frame) engine.Render();
    GlCheck::After("the test");
    GlCheck::Enable(false);
    InitLog(false, false, false, "");

    EXPECT_EQ(GlCheck::Count(), 4u);
    std::vector<std::string> lines;
    std::istringstream log(ReadFileBytes(f.dir.File("log.txt")));
    for (std::string line; std::getline(log, line);)
        lines.push_back(line.substr(line.find("] ") + 2));
    EXPECT_EQ(lines,
              std::vector<std::string>(
                  {"GL error GL_INVALID_ENUM (0x0500) after the test's set-up",
                   "GL error GL_INVALID_ENUM (0x0500) after the scene pass, material Leaky"}));
    ExpectNoGlError("after the checks");
}

TEST(GraphicsEngine, OddSizesUseTheTruncatedHalf) {
    EngineFixture f;
    GraphicsEngine engine(1366, 767);
    engine.Initialize();
    for (const Texture* half :
         {engine.GetGlowHalfTexture(), engine.GetGlowBlurHTexture(), engine.GetGlowBlurTexture()}) {
        EXPECT_EQ(half->GetWidth(), 683);
        EXPECT_EQ(half->GetHeight(), 383);
    }
    EXPECT_EQ(engine.GetGlowTexture()->GetWidth(), 1366);
    EXPECT_EQ(engine.GetGlowTexture()->GetHeight(), 767);

    // A glow over everything reaches every texel of the half-size chain, the last row and
    // column included.
    TriangleMesh mesh(FullScreen());
    FlatMaterial white(f.flat, sm::Vec4(0, 0, 0, 1), sm::Vec4(1, 1, 1, 1));
    Renderable layer(&mesh, &white, 0);
    engine.SetRenderables({&layer});
    engine.Render();
    ExpectNoGlError("render");
    Pixels blurred = ReadTexture(*engine.GetGlowBlurTexture());
    for (auto [x, y] : {std::pair{0, 0}, {682, 0}, {0, 382}, {682, 382}, {341, 191}}) {
        EXPECT_GE(blurred.At(x, y)[0], 250) << x << ", " << y;
    }

    // The texel sizes follow the truncated half too.
    auto uniform = [&](const char* program) {
        GLuint id = f.content->manager.GetShader(program)->GetProgramId();
        GLfloat value[2] = {};
        glGetUniformfv(id, glGetUniformLocation(id, "u_texelSize"), value);
        return std::pair{value[0], value[1]};
    };
    EXPECT_FLOAT_EQ(uniform("Downsample").first, 1.0f / 1366);
    EXPECT_FLOAT_EQ(uniform("Downsample").second, 1.0f / 767);
    EXPECT_FLOAT_EQ(uniform("HoriBlur").first, 1.0f / 683);
    EXPECT_FLOAT_EQ(uniform("VertBlur").first, 1.0f / 383);
}

TEST(GraphicsEngine, BlitOpacityFollowsTheOpacity) {
    EngineFixture f;
    GraphicsEngine engine(64, 64);
    engine.Initialize();
    engine.SetRenderables({});
    const unsigned char magenta[16] = {255, 0, 255, 255, 255, 0, 255, 255,
                                       255, 0, 255, 255, 255, 0, 255, 255};
    Texture overlay(2, 2, 32, magenta, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
    struct Case {
        float opacity;
        int level;  // red and blue over the black frame
    };
    for (const Case& c : {Case{0.0f, 0}, Case{0.5f, 128}, Case{1.0f, 255}}) {
        engine.Render();
        engine.BlitOpacity(&overlay, c.opacity);
        ExpectNoGlError("blit");
        Pixels frame = ReadWindow(64, 64);
        for (auto [x, y] : {std::pair{0, 0}, {63, 63}, {20, 40}}) {
            ExpectColor(frame, x, y, c.level, 0, c.level,
                        ("opacity " + std::to_string(c.opacity)).c_str());
        }
    }
}

TEST(GraphicsEngine, InitializeRequiresEveryPostProcessingProgram) {
    GlTestContext gl;
    const char* members[] = {"m_downsampleShader", "m_blitShader",     "m_blitOpacityShader",
                             "m_horiBlurShader",   "m_vertBlurShader", "m_addShader"};
    for (size_t missing = 0; missing < kPostPrograms.size(); ++missing) {
        TempDir dir;
        std::vector<std::string> present = kPostPrograms;
        present.erase(present.begin() + missing);
        CopyPrograms(dir, present);
        ProgramContent content({dir.Path() + "/"});
        GraphicsEngine engine(32, 32);
        std::string message = CaptureFatal([&] { engine.Initialize(); });
        EXPECT_NE(message.find(std::string("Assertion failed: ") + members[missing] + " != NULL"),
                  std::string::npos)
            << kPostPrograms[missing] << ": " << message;
    }
}

TEST(GraphicsEngine, FatalChecksNameTheirCondition) {
    EngineFixture f;
    // A target without pixels can't be complete.
    GraphicsEngine empty(0, 0);
    EXPECT_NE(CaptureFatal([&] {
                  empty.Initialize();
              }).find("Assertion failed: GL_FRAMEBUFFER_COMPLETE == status"),
              std::string::npos);
    Framebuffer::Unbind();

    Quad quad;
    EXPECT_TRUE(quad.Create());
    EXPECT_NE(CaptureFatal([&] { quad.Create(); }).find("Assertion failed: m_vboId == 0"),
              std::string::npos);

    GraphicsEngine engine(32, 32);
    engine.Initialize();
    TriangleMesh mesh(FullScreen());
    Renderable bare(&mesh, nullptr, 0);
    EXPECT_NE(CaptureFatal([&] {
                  engine.SetRenderables({&bare});
              }).find("Assertion failed: material != NULL"),
              std::string::npos);
}

TEST(Framebuffer, OwnsItsDepthStorageButNotItsTextures) {
    GlTestContext gl;
    Texture color(32, 16, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
    Texture second(32, 16, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
    GLuint framebuffer = 0, renderbuffer = 0;
    {
        Framebuffer target;
        EXPECT_TRUE(target.Setup(32, 16, 32));
        GLint bound = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(bound, 0) << "Setup leaves the default framebuffer bound";
        framebuffer = target.GetId();
        renderbuffer = target.GetDepthRenderbufferId();
        GLint width = 0, height = 0;
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
        EXPECT_EQ(width, 32);
        EXPECT_EQ(height, 16);

        target.Bind();
        target.AttachColorTexture(second.GetId(), 1);
        EXPECT_EQ(target.GetColorTextureId(), 0u) << "only attachment 0 is recorded";
        target.AttachColorTexture(color.GetId(), 0);
        EXPECT_EQ(target.GetColorTextureId(), color.GetId());
        target.CheckStatus();
        Framebuffer::Unbind();
        ExpectNoGlError("set-up");
    }
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsRenderbuffer(renderbuffer));
    EXPECT_TRUE(glIsTexture(color.GetId()));
}

}  // namespace
