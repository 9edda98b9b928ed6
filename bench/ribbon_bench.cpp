// TrianglesRibbon::Update over 20,000 triangles, the per-frame work of a large ribbon: two curve
// evaluations, the spin and one matrix composition per triangle, and the transform written
// into the GPU mesh's per-vertex records (the upload happens at draw time and is not counted).
// Flights come from the source builder over a six-key path; the times sweep the whole flight.
// Arg 1 adds the blink modificator that source ribbons carry. "per_triangle" is the time per
// triangle per frame. Needs a display for the GL context (xvfb-run -a ./pindle_bench_ribbon).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content/model.h"
#include "objects/trianglesribbon.h"
#include "render/glsetup.h"
#include "scene/ribboncurvebuilder.h"
#include "scene/scenedata.h"
#include "scene/trianglemodificator.h"
#include "window/openglwindow.h"

namespace {

constexpr int kTriangles = 20000;

// Two triangles on each quad of a 100 × 100 sheet above the ground, facing +z.
std::unique_ptr<MeshPart> Sheet() {
    std::vector<sm::Vec3> p;
    p.reserve(3 * kTriangles);
    for (int i = 0; i < 100; ++i) {
        for (int j = 0; j < 100; ++j) {
            const float x = -5.0f + 0.1f * i, y = 0.5f + 0.1f * j;
            p.insert(p.end(), {sm::Vec3(x, y, 0), sm::Vec3(x + 0.1f, y, 0),
                               sm::Vec3(x + 0.1f, y + 0.1f, 0)});
            p.insert(p.end(), {sm::Vec3(x, y, 0), sm::Vec3(x + 0.1f, y + 0.1f, 0),
                               sm::Vec3(x, y + 0.1f, 0)});
        }
    }
    std::vector<unsigned char> bytes(p.size() * sizeof(sm::Vec3));
    std::memcpy(bytes.data(), p.data(), bytes.size());
    return std::make_unique<MeshPart>(0, static_cast<int>(p.size()), std::move(bytes), "");
}

PathData SixKeys() {
    PathData path;
    const float times[] = {2.0f, 3.0f, 5.0f, 7.0f, 9.0f, 12.0f};
    for (int i = 0; i < 6; ++i) {
        SceneElement::Key key;
        key.time = times[i];
        key.position = sm::Vec3(-4.0f + 2.0f * i, 2.0f + std::sin(static_cast<float>(i)), 0.0f);
        path.Keys.push_back(key);
    }
    return path;
}

struct Fixture {
    OpenglWindow window;
    std::unique_ptr<MeshPart> part;
    PathData path = SixKeys();
    std::unique_ptr<TrianglesRibbon> ribbon;
    bool ok = false;

    Fixture() {
        if (!window.Create(nullptr, "ribbon bench", 64, 64, 32, 60, false, true, nullptr)) {
            std::fprintf(stderr, "no GL window: %s\n", window.LastError().c_str());
            return;
        }
        std::string error;
        if (!LoadGlEntryPoints(&error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return;
        }
        part = Sheet();
        RibbonCurveSource builder;
        ribbon = std::make_unique<TrianglesRibbon>();
        ribbon->Init(&builder, *part, &path, 3, 1.0f, 0.5f, 2.0f);
        ok = ribbon->GetTrianglesCount() == kTriangles;
    }

    ~Fixture() {
        ribbon.reset();
        window.Destroy();
    }
};

Fixture* g_fixture = nullptr;

void BM_TrianglesRibbonUpdate(benchmark::State& state) {
    if (!g_fixture->ok) {
        state.SkipWithError("no GL context or wrong triangle count");
        return;
    }
    TrianglesRibbon& ribbon = *g_fixture->ribbon;
    ribbon.SetModificator(state.range(0) ? BlinkAtStartAndEnd::GetInstance() : nullptr);
    float time = 1.5f;
    for (auto _ : state) {
        ribbon.Update(time, 1.0f / 60.0f);
        time += 1.0f / 60.0f;
        if (time > 14.0f) time = 1.5f;
    }
    benchmark::ClobberMemory();
    state.SetItemsProcessed(state.iterations() * kTriangles);
    state.counters["per_triangle"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTriangles,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(state.range(0) ? "20000 triangles, blink modificator" : "20000 triangles");
}
BENCHMARK(BM_TrianglesRibbonUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Fixture fixture;
    g_fixture = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return fixture.ok ? 0 : 1;
}
