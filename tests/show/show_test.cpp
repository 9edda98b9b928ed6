// The whole show in-process: the built content archive is unpacked, the controller runs in a
// small window, and the time is stepped from 0 past the end screen at 30 frames per second.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <dlfcn.h>
#include <execinfo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "camera/animcamera.h"
#include "camera/animcameramanager.h"
#include "content/unpackarchive.h"
#include "demo/basescene.h"
#include "demo/democontroller.h"
#include "demo/scenes.h"
#include "demo/scenesmanager.h"
#include "formats/pngwriter.h"
#include "render/framereadback.h"
#include "support/tempdir.h"
#include "window/openglwindow.h"

namespace {

std::atomic<long> g_allocations{0};
bool g_counting = false;
thread_local bool g_inCounter = false;

// The GL driver compiles shader variants lazily with a C++ compiler of its own; those
// allocations are the driver's, not the show's.
bool FromGlDriver() {
    void* frames[64];
    const int n = backtrace(frames, 64);
    for (int i = 0; i < n; ++i) {
        Dl_info info;
        if (dladdr(frames[i], &info) && info.dli_fname &&
            (std::strstr(info.dli_fname, "dri") || std::strstr(info.dli_fname, "LLVM") ||
             std::strstr(info.dli_fname, "libGL") || std::strstr(info.dli_fname, "gallium")))
            return true;
    }
    return false;
}

void Count() {
    if (!g_counting || g_inCounter) return;
    g_inCounter = true;
    if (!FromGlDriver()) {
        if (++g_allocations <= 3) {  // show where, for whoever has to fix it
            void* frames[16];
            backtrace_symbols_fd(frames, backtrace(frames, 16), 2);
        }
    }
    g_inCounter = false;
}

}  // namespace

// The replaced operators pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Counts the show's own allocations while counting is on, so the test can tell whether frames
// allocate.
void* operator new(size_t size) {
    Count();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    Count();
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
// Every form that can free what the forms above allocate frees with free.
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;
constexpr float kFps = 30.0f;
// Scene windows start on these times (seconds), in timeline order.
constexpr float kSceneStarts[9] = {0, 40, 80, 120, 160, 200, 240, 280, 320};

struct Pixels {
    std::vector<uint8_t> rgb;  // rows top first
    double Mean() const {
        double sum = 0;
        for (uint8_t v : rgb) sum += v;
        return rgb.empty() ? 0.0 : sum / rgb.size();
    }
};

// Keeps a frame beside the test binary for people to look at.
void SavePng(const Pixels& p, const std::string& name) {
    PngImage image;
    image.width = kWidth;
    image.height = kHeight;
    image.color = PngColor::Rgb;
    image.bitDepth = 8;
    image.samples.assign(p.rgb.begin(), p.rgb.end());
    WriteFileBytes(std::string(PINDLE_TEST_OUTPUT_DIR) + "/" + name, WritePng(image));
}

class Show : public testing::Test {
protected:
    TempDir dir;
    std::string previous;
    DemoController* controller = nullptr;

    void SetUp() override {
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);
        UnpackArchive(std::string(PINDLE_BUILT_CONTENT_DIR) + "/demodat", dir.Path() + "/");
        controller = new DemoController;
        ASSERT_TRUE(
            controller->Initialize(nullptr, "show test", kWidth, kHeight, 32, 0, false, true));
        ASSERT_TRUE(controller->LoadContent(dir.Path() + "/korvane_data_orbendale/"));
        ASSERT_TRUE(controller->InitDrawingRoutines());
        // Frames are read from the back buffer just before each present.
        controller->GetWindow()->SetPresentHook([this] {
            if (keepNext) ReadBackBuffer(kWidth, kHeight, &kept.rgb);
        });
    }
    bool keepNext = false;
    Pixels kept;
    // Draws the frame and returns what it showed.
    Pixels DrawKept(float time, float dt) {
        keepNext = true;
        controller->Draw(time, dt);
        keepNext = false;
        return kept;
    }
    void TearDown() override {
        delete controller;
        (void)chdir(previous.c_str());
    }
};

TEST_F(Show, PlaysAllNineScenesInOrderWithTheOverlaysInPlace) {
    const ScenesManager* timeline = controller->GetScenesManager();
    ASSERT_EQ(timeline->GetScenesCount(), 9u);
    const char* const files[] = {"Scene01", "Scene02", "Scene03", "Scene05", "SceneDupa",
                                 "Scene06", "Scene07", "Scene08", "Scene09"};
    for (size_t i = 0; i < 9; ++i) {
        auto* scene = dynamic_cast<PlainScene*>(timeline->GetScene(i));
        ASSERT_NE(scene, nullptr) << i;
        EXPECT_EQ(scene->GetFileName(), files[i]);
        EXPECT_NEAR(scene->GetStartTime(), kSceneStarts[i], 1e-3f) << i;
    }

    // The middle of every camera of every scene: one frame each, to compare within a scene.
    struct CameraFrame {
        size_t scene;
        int frame;
        Pixels pixels;
    };
    std::vector<CameraFrame> cameraFrames;
    for (size_t s = 0; s < timeline->GetScenesCount(); ++s) {
        const AnimCameraManager* cameras = timeline->GetScene(s)->GetCameraManager();
        for (int c = 0; c < cameras->GetCamerasCount(); ++c) {
            const AnimCamera* camera = cameras->GetCamera(c);
            const float begin = c == 0 ? kSceneStarts[s] : cameras->GetCamera(c - 1)->GetEndTime();
            const float middle = 0.5f * (begin + std::min(camera->GetEndTime(), 356.0f));
            cameraFrames.push_back({s, static_cast<int>(middle * kFps), {}});
        }
    }

    std::vector<float> switches;  // the time at which each scene became active
    unsigned active = 0;
    float previous = 0.0f;
    Pixels start, end, middle[9];
    const int lastFrame = static_cast<int>(359.0f * kFps);
    for (int k = 0; k <= lastFrame; ++k) {
        const float time = k / kFps;
        ASSERT_TRUE(controller->Update(time, time - previous));
        bool sample = k == 0 || k == static_cast<int>(357.0f * kFps);
        for (int s = 0; s < 9; ++s)
            sample = sample || k == static_cast<int>((kSceneStarts[s] + 20.0f) * kFps);
        for (const CameraFrame& c : cameraFrames) sample = sample || k == c.frame;
        Pixels frame;
        if (sample)
            frame = DrawKept(time, time - previous);
        else
            ASSERT_TRUE(controller->Draw(time, time - previous));
        previous = time;
        if (timeline->GetActiveIndex() != active) {
            ASSERT_EQ(timeline->GetActiveIndex(), active + 1) << "at " << time;
            active = timeline->GetActiveIndex();
            switches.push_back(time);
        }
        for (CameraFrame& c : cameraFrames)
            if (k == c.frame) c.pixels = frame;
        if (k == 0) start = frame;
        if (k == static_cast<int>(357.0f * kFps)) end = frame;
        for (int s = 0; s < 9; ++s)
            if (k == static_cast<int>((kSceneStarts[s] + 20.0f) * kFps)) middle[s] = frame;
    }
    ASSERT_EQ(switches.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_GT(switches[i], kSceneStarts[i + 1]) << i;
        EXPECT_LE(switches[i], kSceneStarts[i + 1] + 1.0f / kFps + 1e-3f) << i;
    }
    SavePng(start, "show_0s.png");
    SavePng(end, "show_357s.png");
    for (int s = 0; s < 9; ++s) SavePng(middle[s], "show_scene" + std::to_string(s) + ".png");
    EXPECT_GT(start.Mean(), 10.0) << "the start screen covers frame 0";
    EXPECT_GT(end.Mean(), 5.0) << "the end screen shows at 357 s";
    for (int s = 0; s < 9; ++s) EXPECT_GT(middle[s].Mean(), 1.0) << "scene " << s << " is black";

    // Each camera shows something, and something else than the scene's other cameras.
    for (size_t i = 0; i < cameraFrames.size(); ++i) {
        const CameraFrame& a = cameraFrames[i];
        EXPECT_GT(a.pixels.Mean(), 1.0) << "scene " << a.scene << ", frame " << a.frame;
        for (size_t j = i + 1; j < cameraFrames.size(); ++j) {
            const CameraFrame& b = cameraFrames[j];
            if (b.scene != a.scene) continue;
            double difference = 0.0;
            for (size_t p = 0; p < a.pixels.rgb.size(); ++p)
                difference += std::abs(a.pixels.rgb[p] - b.pixels.rgb[p]);
            EXPECT_GT(difference / a.pixels.rgb.size(), 2.0)
                << "scene " << a.scene << ": frames " << a.frame << " and " << b.frame
                << " look alike";
        }
    }
}

TEST_F(Show, FramesAllocateNothingOnceTheShowRuns) {
    float previous = 0.0f;
    for (int k = 0; k < 300; ++k) {
        const float time = 45.0f + k / kFps;
        if (k == 1) {  // the first frame may settle things
            void* warm[4];
            backtrace(warm, 4);  // loads what backtrace needs before counting starts
            g_allocations = 0;
            g_counting = true;
        }
        controller->Update(time, time - previous);
        controller->Draw(time, time - previous);
        previous = time;
    }
    g_counting = false;
    EXPECT_EQ(g_allocations.load(), 0);
}

}  // namespace
