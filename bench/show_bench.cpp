// DemoController::Update across the built show: one benchmark state per scene window, each
// stepping the music time at 60 frames per second through the middle of its window. Needs no
// display (offscreen surface): ./pindle_bench_show from the build folder.
#include <benchmark/benchmark.h>

#include "builtshow.h"

namespace {

// Update only, from the start of the scene's window (scene switches happen before timing).
void BM_DemoControllerUpdate(benchmark::State& state) {
    DemoController* controller = BuiltShow(320, 180);
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
