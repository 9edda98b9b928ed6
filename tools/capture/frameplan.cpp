#include "frameplan.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kOnGrid = 1e-6;  // seconds

double GridTime(double from, int fps, int64_t k) { return from + static_cast<double>(k) / fps; }

struct Want {
    double time;
    int64_t index;  // the grid frame, or -1 off the grid
    int at;
    int tile;
};

// Wants of one kind arrive in ascending order, so each frame's run of them stays contiguous.
void Keep(PlannedFrame* f, const Want& w) {
    if (w.at >= 0) {
        if (f->atCount == 0) f->at = w.at;
        ++f->atCount;
    }
    if (w.tile >= 0) {
        if (f->tileCount == 0) f->tile = w.tile;
        ++f->tileCount;
    }
}

}  // namespace

int64_t GridFrameCount(double from, double to, int fps) {
    if (to <= from) return 0;
    return static_cast<int64_t>(std::ceil((to - from) * fps - kOnGrid * fps));
}

int64_t TileFrame(int tile, int tiles, int64_t frameCount) {
    int64_t k = static_cast<int64_t>(std::llround(static_cast<double>(tile) * frameCount / tiles));
    return std::min(k, frameCount - 1);
}

std::vector<PlannedFrame> PlanFrames(const FramePlanRequest& r) {
    const int64_t count = GridFrameCount(r.from, r.to, r.fps);
    std::vector<Want> wants;
    for (size_t i = 0; i < r.at.size(); ++i) {
        double k = (r.at[i] - r.from) * r.fps;
        int64_t nearest = static_cast<int64_t>(std::llround(k));
        bool onGrid = std::fabs(GridTime(r.from, r.fps, nearest) - r.at[i]) < kOnGrid;
        if (onGrid && nearest < count)
            wants.push_back({r.at[i], nearest, static_cast<int>(i), -1});
        else if (r.at[i] < r.to)
            wants.push_back({r.at[i], -1, static_cast<int>(i), -1});
    }
    if (count > 0) {
        for (int t = 0; t < r.tiles; ++t) {
            int64_t k = TileFrame(t, r.tiles, count);
            wants.push_back({GridTime(r.from, r.fps, k), k, -1, t});
        }
    }
    std::stable_sort(wants.begin(), wants.end(),
                     [](const Want& a, const Want& b) { return a.time < b.time; });

    int64_t last = r.everyFrame ? count - 1 : -1;  // last grid frame to render
    for (const Want& w : wants)
        last = std::max(last, w.index >= 0
                                  ? w.index
                                  : static_cast<int64_t>(std::floor((w.time - r.from) * r.fps)));

    std::vector<PlannedFrame> plan;
    float previous = 0.0f;
    auto add = [&](float time, int64_t index) -> PlannedFrame& {
        PlannedFrame f;
        f.time = time;
        f.dt = time - previous;
        f.index = index;
        previous = time;
        plan.push_back(f);
        return plan.back();
    };
    size_t next = 0;  // the first want not yet placed
    for (int64_t k = 0; k <= last && k < count; ++k) {
        PlannedFrame& f = add(static_cast<float>(GridTime(r.from, r.fps, k)), k);
        f.every = r.everyFrame;
        while (next < wants.size() && wants[next].index == k) {
            Keep(&f, wants[next]);
            ++next;
        }
        // Off-grid wants between this grid frame and the next.
        double nextTime = GridTime(r.from, r.fps, k + 1);
        while (next < wants.size() && wants[next].index < 0 && wants[next].time < nextTime) {
            PlannedFrame& single = add(static_cast<float>(wants[next].time), -1);
            Keep(&single, wants[next]);
            ++next;
        }
    }
    return plan;
}
