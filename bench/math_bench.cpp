// The CPU cost of the ribbon effect is dominated by curve evaluation and matrix products per
// triangle per frame; these measure the pieces one call at a time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "math/animationcurve.h"
#include "math/mat4.h"

namespace {

// A private generator, so benchmarks do not disturb the program's random sequence.
struct Lcg {
    std::uint32_t state = 12345;
    float Next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f;
    }
};

// A path of n keys on uneven times, as a curve builder makes it.
AnimationCurve<sm::Vec3> MakePath(int keys) {
    Lcg lcg;
    AnimationCurve<sm::Vec3> curve;
    float time = 0;
    for (int i = 0; i < keys; ++i) {
        curve.AddKey(time, sm::Vec3(lcg.Next() * 10, lcg.Next() * 10, lcg.Next() * 10), sm::Vec3(),
                     sm::Vec3());
        time += 0.1f + lcg.Next();
    }
    curve.ComputeTangents();
    return curve;
}

// Query times spread over the whole curve, in an order the branch predictor cannot learn.
std::vector<float> QueryTimes(float start, float end) {
    Lcg lcg;
    std::vector<float> times(4096);
    for (float& t : times) t = start + (end - start) * lcg.Next();
    return times;
}

sm::Mat4 SomeTransform(Lcg& lcg) {
    return sm::Mat4::Translation(lcg.Next(), lcg.Next(), lcg.Next()) *
           sm::Mat4::Rotation(lcg.Next() * 6, 0.6f, 0, 0.8f) *
           sm::Mat4::Scale(0.5f + lcg.Next(), 0.5f + lcg.Next(), 0.5f + lcg.Next());
}

void BM_CurveEvaluateVec3(benchmark::State& state) {
    AnimationCurve<sm::Vec3> curve = MakePath(static_cast<int>(state.range(0)));
    std::vector<float> times = QueryTimes(curve.GetStartTime(), curve.GetEndTime());
    std::size_t i = 0;
    sm::Vec3 out;
    for (auto _ : state) {
        curve.Evaluate(times[i], &out);
        benchmark::DoNotOptimize(out);
        i = (i + 1) & (times.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CurveEvaluateVec3)->Arg(4)->Arg(16)->Arg(256);

void BM_Mat4Product(benchmark::State& state) {
    Lcg lcg;
    sm::Mat4 a = SomeTransform(lcg), b = SomeTransform(lcg);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        sm::Mat4 c = a * b;
        benchmark::DoNotOptimize(c);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Mat4Product);

void BM_Mat4Inverse(benchmark::State& state) {
    Lcg lcg;
    sm::Mat4 a = SomeTransform(lcg);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        sm::Mat4 inverse = a.Inverse();
        benchmark::DoNotOptimize(inverse);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Mat4Inverse);

void BM_TriangleFrame(benchmark::State& state) {
    Lcg lcg;
    std::vector<sm::Vec3> points(3 * 256);
    for (sm::Vec3& p : points) p = sm::Vec3(lcg.Next(), lcg.Next(), lcg.Next());
    std::size_t i = 0;
    for (auto _ : state) {
        sm::Mat4 frame = sm::Mat4::TriangleFrame(points[i], points[i + 1], points[i + 2]);
        benchmark::DoNotOptimize(frame);
        i = (i + 3) % points.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TriangleFrame);

// One ribbon triangle's share of a frame: two path evaluations and four matrix products.
void BM_RibbonTriangleStep(benchmark::State& state) {
    AnimationCurve<sm::Vec3> path = MakePath(static_cast<int>(state.range(0)));
    AnimationCurve<sm::Vec3> scale = MakePath(4);
    std::vector<float> times = QueryTimes(path.GetStartTime(), path.GetEndTime());
    Lcg lcg;
    sm::Mat4 frame = SomeTransform(lcg), base = SomeTransform(lcg);
    std::size_t i = 0;
    for (auto _ : state) {
        sm::Vec3 position = path.Evaluate(times[i]);
        sm::Vec3 size = scale.Evaluate(times[i] * 0.01f);
        sm::Mat4 m = sm::Mat4::Translation(position) * frame;
        m *= sm::Mat4::Rotation(times[i], 0.6f, 0, 0.8f);
        m *= sm::Mat4::Scale(size);
        m *= base;
        benchmark::DoNotOptimize(m);
        i = (i + 1) & (times.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RibbonTriangleStep)->Arg(16);

}  // namespace
