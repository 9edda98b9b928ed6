// The whole show's frame at 1280 x 720, scene by scene: for each scene, one second from the middle
// of its window at 60 frames per second, each frame updated, drawn and finished (glFinish), so the
// figure is everything a frame costs: the scene pass, the glow chain and the overlays, with the
// controller's own update. Reported as wall time per frame, and as "cpu_ms", the CPU time of the
// whole process per frame (llvmpipe's rasteriser threads included), which moves far less on a
// shared machine. Needs no display: it draws on an offscreen surface. Reads the built demodat.
// Compare BM_FullScreenCopy of pindle_bench_engine, one full-window texture copy.
#include <GL/glew.h>
#include <benchmark/benchmark.h>
#include <time.h>

#include <string>

#include "builtshow.h"
#include "demo/basescene.h"
#include "demo/scenesmanager.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kFps = 60;

struct SceneWindow {
    const char* name;
    float start;
};
// The timeline's windows (40 s each), in the order the show plays them.
constexpr SceneWindow kScenes[] = {{"Scene01", 0},   {"Scene02", 40},    {"Scene03", 80},
                                   {"Scene05", 120}, {"SceneDupa", 160}, {"Scene06", 200},
                                   {"Scene07", 240}, {"Scene08", 280},   {"Scene09", 320}};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Arg: the scene's index. The timeline only moves forward, so the scenes run in show order.
void BM_ShowFrame(benchmark::State& state) {
    DemoController* controller = BuiltShow(kWidth, kHeight);
    const SceneWindow& scene = kScenes[state.range(0)];
    const float dt = 1.0f / kFps;
    float time = scene.start + 20.0f;
    // Scenes switch one per update: step there, and draw a frame so every cost is warm.
    for (int i = 0; i < 12; ++i) controller->Update(time, 0.0f);
    const std::string& active = controller->GetScenesManager()->GetActiveScene()->GetName();
    if (active != scene.name) {
        state.SkipWithError(("the timeline is at " + active).c_str());
        return;
    }
    controller->Draw(time, 0.0f);
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        time += dt;
        controller->Update(time, dt);
        controller->Draw(time, dt);
        glFinish();
    }
    state.counters["cpu_ms"] =
        (ProcessCpuSeconds() - cpuStart) * 1000.0 / static_cast<double>(state.iterations());
    state.SetLabel(scene.name);
}
BENCHMARK(BM_ShowFrame)
    ->DenseRange(0, 8)
    ->Iterations(kFps)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
