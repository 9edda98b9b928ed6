// Where a frame's time goes, for the people who make content: while switched on, the graphics
// engine and the controller finish the GL work before and after each part of the frame
// (glFinish) and add the wall time of each part here. Off by default, and then nothing waits:
// the finishes themselves change how a frame's work overlaps, so only a tool that reports the
// times switches it on. Used from the GL thread only.
#pragma once

struct FramePassTimes {
    double scene = 0.0;     // the scene pass: clear and every renderable, in seconds
    double glow = 0.0;      // downsample, both blurs and the composite
    double overlays = 0.0;  // the mask, the cut fade and the start and end screens
};

class PassTimer {
public:
    static void Enable(bool on);
    static bool Enabled();
    // Finishes the GL work so far and starts the clock of the next part.
    static void Begin();
    // Finishes the part's GL work and adds its time to slot.
    static void End(double FramePassTimes::*slot);
    // The times added since the last call, which starts the next frame at zero.
    static FramePassTimes Take();
};
