// One engine frame at 1280 x 720 with the show's post-processing programs: an empty scene,
// which costs the clear and the glow chain alone, and 20,000 glow-like triangles drawn solid
// and as wireframe from one mesh that uploads its per-vertex colour and glow at every draw, as
// the show's meshes do. Each frame ends with glFinish, so the figure is the whole frame's
// work. Run under a display (xvfb-run -s "-screen 0 1280x720x24"); with PINDLE_BENCH_PNG set
// the last frame of the triangle case is written there as a PNG.
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "content/material.h"
#include "formats/pngwriter.h"
#include "gpu/basemesh.h"
#include "gpu/contentmanager.h"
#include "gpu/igraphicsengine.h"
#include "gpu/shader.h"
#include "math/mat4.h"
#include "render/drawingroutines.h"
#include "render/glsetup.h"
#include "render/graphicsengine.h"
#include "render/renderable.h"
#include "window/openglwindow.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

class ProgramFactory : public IGraphicsEngine {
public:
    Texture* LoadTexture(const std::string&) override { return nullptr; }
    Shader* LoadShader(const std::string& vertexPath, const std::string& fragmentPath) override {
        return Shader::LoadShader(vertexPath, fragmentPath);
    }
    Model* LoadModel(const std::string&) override { return nullptr; }
    AnimationData* LoadAnimation(const std::string&) override { return nullptr; }
    Material* LoadMaterial(const std::string&) override { return nullptr; }
};

// Colour at location 1 and glow power at 2, as the static triangle meshes feed them.
const char* kGlowVertex = R"(#version 330
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_color;
layout(location = 2) in float a_glowPower;
uniform mat4 u_viewProjMatrix;
out vec4 v_color;
out float v_glowPower;
void main() {
    v_color = a_color;
    v_glowPower = a_glowPower;
    gl_Position = u_viewProjMatrix * vec4(a_position, 1.0);
}
)";
const char* kGlowFragment = R"(#version 330
uniform float u_glowMultiplier;
in vec4 v_color;
in float v_glowPower;
layout(location = 0) out vec4 o_color;
layout(location = 1) out vec4 o_glow;
void main() {
    o_color = v_color;
    o_glow = vec4(v_color.rgb * v_glowPower * u_glowMultiplier, v_color.a);
}
)";

struct Lcg {
    unsigned state = 12345;
    float Next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f;
    }
};

// Small triangles on a sphere shell, in cyan and violet, with one 20-byte record per vertex
// (colour, glow power) uploaded again at every draw.
class ShellMesh : public BaseMesh {
public:
    explicit ShellMesh(int triangles) : m_triangles(triangles) {
        Lcg lcg;
        std::vector<float> positions;
        for (int t = 0; t < triangles; ++t) {
            float u = lcg.Next() * 6.2831853f, v = std::acos(2 * lcg.Next() - 1);
            sm::Vec3 c(std::sin(v) * std::cos(u), std::cos(v), std::sin(v) * std::sin(u));
            for (int k = 0; k < 3; ++k) {
                positions.push_back(c.x * 3 + (lcg.Next() - 0.5f) * 0.15f);
                positions.push_back(c.y * 3 + (lcg.Next() - 0.5f) * 0.15f);
                positions.push_back(c.z * 3 + (lcg.Next() - 0.5f) * 0.15f);
            }
            bool violet = lcg.Next() < 0.35f;
            for (int k = 0; k < 3; ++k) {
                m_dynamic.insert(m_dynamic.end(),
                                 {violet ? 0.6f : 0.1f, violet ? 0.2f : 0.7f, 1.0f, 0.35f, 0.8f});
            }
        }
        std::vector<unsigned short> indices(static_cast<size_t>(triangles) * 3);
        for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<unsigned short>(i);
        glGenBuffers(3, m_buffers);
        glBindBuffer(GL_ARRAY_BUFFER, m_buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, positions.size() * 4, positions.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[2]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * 2, indices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    ~ShellMesh() override { glDeleteBuffers(3, m_buffers); }

    void Draw() override {
        glBindBuffer(GL_ARRAY_BUFFER, m_buffers[1]);
        glBufferData(GL_ARRAY_BUFFER, m_dynamic.size() * 4, m_dynamic.data(), GL_DYNAMIC_DRAW);
        glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, 20, nullptr);
        glVertexAttribPointer(2, 1, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<void*>(16));
        glBindBuffer(GL_ARRAY_BUFFER, m_buffers[0]);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[2]);
        glDrawElements(GL_TRIANGLES, m_triangles * 3, GL_UNSIGNED_SHORT, nullptr);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }

private:
    int m_triangles;
    std::vector<float> m_dynamic;
    GLuint m_buffers[3] = {};
};

// The glow materials' render state: see-through, blended, no depth writes, fill or line.
class GlowMaterial : public Material {
public:
    GlowMaterial(Shader* shader, bool solid, float glowMultiplier)
        : m_shader(shader), m_solid(solid), m_glowMultiplier(glowMultiplier) {}
    bool IsTransparent() const override { return true; }
    void ApplyRenderState() override {
        glPolygonMode(GL_FRONT_AND_BACK, m_solid ? GL_FILL : GL_LINE);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthMask(GL_FALSE);
        for (GLuint i = 0; i < 3; ++i) glEnableVertexAttribArray(i);
    }
    void ApplyShader() override {
        m_shader->Use();
        m_shader->SetMatrix4("u_viewProjMatrix", DrawingRoutines::GetViewProjMatrix());
        m_shader->SetFloat("u_glowMultiplier", m_glowMultiplier);
    }

private:
    Shader* m_shader;
    bool m_solid;
    float m_glowMultiplier;
};

struct Scene {
    OpenglWindow window;
    ProgramFactory factory;
    std::unique_ptr<ContentManager> content;
    std::unique_ptr<GraphicsEngine> engine;
    std::unique_ptr<ShellMesh> mesh;
    std::unique_ptr<GlowMaterial> solid, wire;
    std::unique_ptr<Renderable> solidRenderable, wireRenderable;
    bool ok = false;

    Scene() {
        if (!window.Create(nullptr, "engine bench", kWidth, kHeight, 32, 60, false, true,
                           nullptr)) {
            std::fprintf(stderr, "no GL window: %s\n", window.LastError().c_str());
            return;
        }
        std::string error;
        if (!LoadGlEntryPoints(&error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return;
        }
        PlatformSetSwapInterval(0);
        SetDefaultGlState(kWidth, kHeight);

        std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("pindle_bench_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "Glow.vpr") << kGlowVertex;
        std::ofstream(dir / "Glow.fpr") << kGlowFragment;
        content = std::make_unique<ContentManager>(&factory);
        content->LoadShaders(PINDLE_CONTENT_SOURCE_DIR "/effects/");
        content->LoadShaders(dir.string() + "/");
        std::filesystem::remove_all(dir);

        engine = std::make_unique<GraphicsEngine>(kWidth, kHeight);
        engine->Initialize();
        mesh = std::make_unique<ShellMesh>(20000);
        Shader* glow = content->GetShader("Glow");
        solid = std::make_unique<GlowMaterial>(glow, true, 0.6f);
        wire = std::make_unique<GlowMaterial>(glow, false, 1.4f);
        solidRenderable = std::make_unique<Renderable>(mesh.get(), solid.get(), 0);
        wireRenderable = std::make_unique<Renderable>(mesh.get(), wire.get(), 1);

        sm::Mat4 view = sm::Mat4::Translation(0, 0, -8) * sm::Mat4::Rotation(0.4f, 1, 0, 0);
        DrawingRoutines::SetViewProjMatrix(
            sm::Mat4::Perspective(1.2f, static_cast<float>(kWidth) / kHeight, 0.1f, 100.0f) * view);
        ok = true;
    }

    ~Scene() {
        solidRenderable.reset();
        wireRenderable.reset();
        mesh.reset();
        engine.reset();
        content.reset();
        window.Destroy();
    }
};

Scene* g_scene = nullptr;

void SaveFrame(const char* path) {
    std::vector<unsigned char> rgba(static_cast<size_t>(kWidth) * kHeight * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    PngImage image;
    image.width = kWidth;
    image.height = kHeight;
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            const unsigned char* p = &rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
            image.samples.insert(image.samples.end(), {p[0], p[1], p[2], 255});
        }
    }
    std::ofstream(path, std::ios::binary) << WritePng(image);
}

// CPU time of the whole process, llvmpipe's rasteriser threads included: on a shared machine it
// moves far less than the wall-clock time, so it is reported beside it as "cpu_ms" per frame.
double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename Frame>
void TimeFrames(benchmark::State& state, Frame frame) {
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        frame();
        glFinish();
    }
    const double frames = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["cpu_ms"] = (ProcessCpuSeconds() - cpuStart) * 1000.0 / frames;
}

void BM_EngineFrame(benchmark::State& state) {
    if (!g_scene->ok) {
        state.SkipWithError("no GL context");
        return;
    }
    if (state.range(0) == 0) {
        g_scene->engine->SetRenderables({});
    } else {
        g_scene->engine->SetRenderables(
            {g_scene->solidRenderable.get(), g_scene->wireRenderable.get()});
    }
    TimeFrames(state, [] { g_scene->engine->Render(); });
    state.SetLabel(state.range(0) == 0 ? "empty list" : "20000 triangles, solid + wireframe");
    const char* png = std::getenv("PINDLE_BENCH_PNG");
    if (png && state.range(0) != 0) SaveFrame(png);
}
BENCHMARK(BM_EngineFrame)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The machine's own reference: one full-window copy of a 1280 x 720 texture with "Blit" into the
// back buffer, the cheapest full-screen pass there is. Every other figure can be read as a number
// of these.
void BM_FullScreenCopy(benchmark::State& state) {
    if (!g_scene->ok) {
        state.SkipWithError("no GL context");
        return;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    Shader* blit = g_scene->content->GetShader("Blit");
    GLuint quad = 0;
    const GLfloat corners[8] = {-1, 1, -1, -1, 1, 1, 1, -1};
    glGenBuffers(1, &quad);
    glBindBuffer(GL_ARRAY_BUFFER, quad);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, kWidth, kHeight);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    for (GLuint i = 1; i <= 8; ++i) glDisableVertexAttribArray(i);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    blit->Use();
    blit->SetTexture("u_tex", 0, texture);
    TimeFrames(state, [] { glDrawArrays(GL_TRIANGLE_STRIP, 0, 4); });
    glDisableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &quad);
    glDeleteTextures(1, &texture);
    state.SetLabel("1280 x 720 texture to the window, no blending");
}
BENCHMARK(BM_FullScreenCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Scene scene;
    g_scene = &scene;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return scene.ok ? 0 : 1;
}
