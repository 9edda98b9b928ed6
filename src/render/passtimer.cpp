#include "render/passtimer.h"

#include <GL/glew.h>

#include <chrono>

namespace {

bool g_enabled = false;
FramePassTimes g_times;
std::chrono::steady_clock::time_point g_start;

}  // namespace

void PassTimer::Enable(bool on) {
    g_enabled = on;
    g_times = FramePassTimes();
}

bool PassTimer::Enabled() { return g_enabled; }

void PassTimer::Begin() {
    if (!g_enabled) return;
    glFinish();
    g_start = std::chrono::steady_clock::now();
}

void PassTimer::End(double FramePassTimes::*slot) {
    if (!g_enabled) return;
    glFinish();
    g_times.*slot +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - g_start).count();
}

FramePassTimes PassTimer::Take() {
    FramePassTimes times = g_times;
    g_times = FramePassTimes();
    return times;
}
