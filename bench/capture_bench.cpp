// What a capture adds to each 1280 x 720 frame besides the show's own drawing: reading the
// back buffer of an offscreen surface, encoding the frame to H.264 (with the music following
// it), and writing it as a PNG. Needs no display. The frames are a moving gradient with noise,
// closer to the show's pictures than a flat colour, which an encoder would skip.
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "mp4writer.h"
#include "pngfile.h"
#include "render/framereadback.h"
#include "render/glsetup.h"
#include "window/openglwindow.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

std::vector<uint8_t> Picture(int frame) {
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    uint32_t seed = 12345u + static_cast<uint32_t>(frame);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
            p[0] = static_cast<uint8_t>((x + frame * 4) & 255);
            p[1] = static_cast<uint8_t>((y * 2 + frame) & 255);
            p[2] = static_cast<uint8_t>(128 + 60 * std::sin((x + y + frame * 8) * 0.01) +
                                        (seed >> 29));
        }
    return rgb;
}

void BM_ReadBackBuffer(benchmark::State& state) {
    OpenglWindow::UseOffscreenSurfaces(true);
    OpenglWindow window;
    std::string error;
    if (!window.Create(nullptr, "bench", kWidth, kHeight, 32, 0, false, true, nullptr) ||
        !LoadGlEntryPoints(&error)) {
        state.SkipWithError("no offscreen surface");
        return;
    }
    std::vector<uint8_t> rgb;
    for (auto _ : state) {
        glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ReadBackBuffer(kWidth, kHeight, &rgb);
        benchmark::DoNotOptimize(rgb.data());
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadBackBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeH264(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> pictures;
    for (int i = 0; i < 8; ++i) pictures.push_back(Picture(i));
    std::string path = "/tmp/pindle_bench_capture_" + std::to_string(getpid()) + ".mp4";
    Mp4Writer writer;
    Mp4Settings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    std::string error;
    if (!writer.Open(path, settings, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    size_t i = 0;
    for (auto _ : state) {
        if (!writer.WriteFrame(pictures[i++ % pictures.size()], &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    writer.Finish(&error);
    std::remove(path.c_str());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeH264)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_WritePng(benchmark::State& state) {
    std::vector<uint8_t> rgb = Picture(0);
    std::string path = "/tmp/pindle_bench_capture_" + std::to_string(getpid()) + ".png";
    std::string error;
    for (auto _ : state)
        if (!WriteRgbPng(path, kWidth, kHeight, rgb, &error)) state.SkipWithError(error.c_str());
    std::remove(path.c_str());
}
BENCHMARK(BM_WritePng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
