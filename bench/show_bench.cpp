// DemoController::Update across the built show: one benchmark state per scene window, each
// stepping the music time at 60 frames per second through the middle of its window. Needs a
// display for the GL context: xvfb-run -a ./pindle_bench_show (from the build folder).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "demo/democontroller.h"
#include "shell/unpackarchive.h"

namespace {

DemoController* Show() {
    static DemoController* controller = [] {
        char pattern[] = "/tmp/pindle-bench-XXXXXX";
        std::string root = mkdtemp(pattern);
        if (chdir(root.c_str()) != 0) std::abort();
        UnpackArchive(std::string(PINDLE_BUILT_CONTENT_DIR) + "/demodat", root + "/");
        auto* c = new DemoController;
        if (!c->Initialize(nullptr, "bench", 320, 180, 32, 0, false, true) ||
            !c->LoadContent(root + "/korvane_data_orbendale/") || !c->InitDrawingRoutines())
            std::abort();
        return c;
    }();
    return controller;
}

// Update only, from the start of the scene's window (scene switches happen before timing).
void BM_DemoControllerUpdate(benchmark::State& state) {
    DemoController* controller = Show();
    const float windowStart = static_cast<float>(state.range(0));
    float time = 0.0f;
    // Step the timeline there; scenes switch one per frame.
    for (int i = 0; i < 20; ++i) controller->Update(windowStart + 20.0f, 0.0f);
    time = windowStart + 20.0f;
    for (auto _ : state) {
        time += 1.0f / 60.0f;
        controller->Update(time, 1.0f / 60.0f);
    }
    state.SetLabel("scene window from " + std::to_string(static_cast<int>(windowStart)) + " s");
}
BENCHMARK(BM_DemoControllerUpdate)->DenseRange(0, 320, 40)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
