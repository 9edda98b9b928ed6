// The frames a capture renders, in order, and which of them an output keeps. The show advances
// on a fixed grid, frame k at from + k / fps; dt is the step from the previous frame's time, and
// the first frame's dt is its own time, as the show's main loop counts it. Single frames asked
// for off the grid are stepped to like any other: every grid frame before them is rendered
// first, so effects that build up over frames (scene switches, the cut fade) are right.
#pragma once

#include <cstdint>
#include <vector>

struct PlannedFrame {
    float time = 0.0f;
    float dt = 0.0f;
    int64_t index = -1;  // the grid frame's k; -1 for a single frame off the grid
    bool every = false;  // kept for the outputs that take every frame (video, PNG frames)
    // The single-frame times this frame answers: at, at + 1, ... (atCount of them).
    int at = -1;
    int atCount = 0;
    // The contact sheet tiles it fills: tile, tile + 1, ... (tileCount of them; several when
    // the range has fewer frames than the sheet has tiles).
    int tile = -1;
    int tileCount = 0;
};

struct FramePlanRequest {
    double from = 0.0;
    double to = 0.0;  // not included
    int fps = 60;
    bool everyFrame = false;  // video or PNG frames over the whole range
    std::vector<double> at;   // ascending, within [from, to)
    int tiles = 0;            // contact sheet tiles at even intervals over [from, to)
};

// Number of grid frames in [from, to).
int64_t GridFrameCount(double from, double to, int fps);

// Every frame to render, ending with the last one an output keeps. A time within a
// microsecond of a grid frame is that grid frame.
std::vector<PlannedFrame> PlanFrames(const FramePlanRequest& request);

// The grid frame a tile shows: tile i of n at from + i × (to − from) / n, on the grid.
int64_t TileFrame(int tile, int tiles, int64_t frameCount);
