// What a capture adds to each 1280 x 720 frame besides the show's own drawing: reading the
// back buffer of an offscreen surface, encoding the frame to H.264 (with the music following
// it), and writing it as a PNG. Needs no display. The frames are a moving gradient with noise,
// closer to the show's pictures than a flat colour, which an encoder would skip.
//
// The reads: the RGB read with its row flip (what the capture did first), the RGBA read it
// does now (a plain copy on Mesa's 8-bit surfaces; the encoder's converter flips the rows), and
// a read through a pixel-pack buffer mapped one frame later. On llvmpipe the last one gains
// nothing in a capture: reading the window's buffer waits for the frame to be finished, into a
// pixel-pack buffer as into memory, so glReadPixels itself takes the wait and the map is free.
// Here only a clear is waited for.
//
// The encoder runs on its own thread in a capture, beside the renderer, which keeps both cores
// of a two-core machine busy, so its preset and threads were chosen on whole captures, not on
// the encoder alone. Whole captures at 1280x720, 60 fps, 20 to 22 s of the show (120 frames),
// frames per second as pindle-capture reports them, medians of three runs alternating with each
// other on a two-core machine, and the file sizes:
//
//   x264 preset   auto threads   1 thread   2 threads   file
//   veryfast          15.9          16.2        16.6     1.9 MB
//   superfast         16.9          16.8        16.8     4.1 MB
//   ultrafast         17.2          17.8        17.7     6.4 MB
//
// In the same runs the capture as it was before (the RGB read, then x264 veryfast with its own
// threads on the show's thread) made 14.9 fps, and rendering alone, reading nothing back, 20.7:
// no preset beats that. With the cheaper glow chain the encoder's share grows: over the same
// range, one thread, veryfast 19.3 fps, superfast 20.6, ultrafast 22.0 (rendering alone about
// 25). Ultrafast at crf 18 makes files about three times the size of veryfast's but no less
// faithful: against the PNG frames of the range its PSNR is 45.6 dB (luma) to veryfast's 40.2
// and superfast's 43.9. The capture uses ultrafast on one thread. The thread count hardly
// matters (x264 makes the same file with any) and one leaves the cores to the renderer.
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight * 4;

// RGB, rows top first, as the PNG writer takes it.
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

// The same picture as the read-back gives it to the encoder: RGBA, rows bottom first.
std::vector<uint8_t> ReadBackPicture(int frame) {
    std::vector<uint8_t> rgb = Picture(frame), rgba(kFrameBytes);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* in = &rgb[(static_cast<size_t>(kHeight - 1 - y) * kWidth + x) * 3];
            uint8_t* out = &rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
            std::memcpy(out, in, 3);
            out[3] = 255;
        }
    return rgba;
}

// A frame for the reads: cleared to a colour that changes, so no read finds it unchanged.
class ReadBench {
public:
    bool Open() {
        OpenglWindow::UseOffscreenSurfaces(true);
        std::string error;
        return m_window.Create(nullptr, "bench", kWidth, kHeight, 32, 0, false, true, nullptr) &&
               LoadGlEntryPoints(&error);
    }
    void Draw() {
        m_frame = (m_frame + 1) % 256;
        glClearColor(m_frame / 255.0f, 0.3f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

private:
    OpenglWindow m_window;
    int m_frame = 0;
};

void SetRate(benchmark::State& state) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ReadBackBufferRgb(benchmark::State& state) {
    ReadBench bench;
    if (!bench.Open()) return state.SkipWithError("no offscreen surface");
    std::vector<uint8_t> rgb;
    for (auto _ : state) {
        bench.Draw();
        ReadBackBuffer(kWidth, kHeight, &rgb);
        benchmark::DoNotOptimize(rgb.data());
    }
    SetRate(state);
}
BENCHMARK(BM_ReadBackBufferRgb)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBackBufferRgba(benchmark::State& state) {
    ReadBench bench;
    if (!bench.Open()) return state.SkipWithError("no offscreen surface");
    std::vector<uint8_t> rgba(kFrameBytes);
    for (auto _ : state) {
        bench.Draw();
        ReadBackBufferRgba(kWidth, kHeight, rgba.data());
        benchmark::DoNotOptimize(rgba.data());
    }
    SetRate(state);
}
BENCHMARK(BM_ReadBackBufferRgba)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each frame read into one of two pixel-pack buffers and copied out of the other, which holds
// the frame before.
void BM_ReadThroughPixelBufferOneFrameBehind(benchmark::State& state) {
    ReadBench bench;
    if (!bench.Open()) return state.SkipWithError("no offscreen surface");
    GLuint buffers[2] = {};
    glGenBuffers(2, buffers);
    for (GLuint buffer : buffers) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, kFrameBytes, nullptr, GL_STREAM_READ);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<uint8_t> rgba(kFrameBytes);
    int64_t frame = 0;
    for (auto _ : state) {
        bench.Draw();
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[frame % 2]);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (frame > 0) {
            glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[(frame + 1) % 2]);
            const void* pixels =
                glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, kFrameBytes, GL_MAP_READ_BIT);
            if (pixels) std::memcpy(rgba.data(), pixels, kFrameBytes);
            glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        }
        benchmark::DoNotOptimize(rgba.data());
        ++frame;
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glDeleteBuffers(2, buffers);
    SetRate(state);
}
BENCHMARK(BM_ReadThroughPixelBufferOneFrameBehind)->Unit(benchmark::kMillisecond)->UseRealTime();

// The encoder alone, on this thread: the converter (RGBA rows bottom first to yuv420p) and x264.
void BM_EncodeH264(benchmark::State& state, const char* preset, int threads) {
    std::vector<std::vector<uint8_t>> pictures;
    for (int i = 0; i < 8; ++i) pictures.push_back(ReadBackPicture(i));
    std::string path = "/tmp/pindle_bench_capture_" + std::to_string(getpid()) + ".mp4";
    Mp4Writer writer;
    Mp4Settings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.preset = preset;
    settings.threads = threads;
    std::string error;
    if (!writer.Open(path, settings, &error)) return state.SkipWithError(error.c_str());
    size_t i = 0;
    for (auto _ : state) {
        if (!writer.WriteFrame(pictures[i++ % pictures.size()].data(), &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    writer.Finish(&error);
    std::remove(path.c_str());
    SetRate(state);
}
BENCHMARK_CAPTURE(BM_EncodeH264, veryfast_1_thread, "veryfast", 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_EncodeH264, superfast_1_thread, "superfast", 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_EncodeH264, ultrafast_1_thread, "ultrafast", 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_EncodeH264, superfast_auto_threads, "superfast", 0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

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
