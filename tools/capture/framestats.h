// Where a capture's time goes, scene by scene (--stats): each frame's wall time from its update
// to the end of its draw (the read-back included), and the engine's passes within it as
// PassTimer measures them. The table lists the scenes in the order the show reached them, then
// every frame together.
#pragma once

#include <string>
#include <vector>

#include "render/passtimer.h"

class FrameStats {
public:
    // scene: the frame's scene, or empty before the first one.
    void Add(const std::string& scene, double seconds, const FramePassTimes& passes);

    // One row per scene and a last row "all": the frames, the median and the 95th percentile
    // of their times in milliseconds, and the share of their time spent in the scene pass, the
    // glow chain and the overlays ("-" where nothing of the passes was measured).
    std::string Table() const;

    // The p-quantile (0 < p <= 1) of values by nearest rank: the smallest value with at least
    // p × n values at or below it. 0 for no values.
    static double Quantile(std::vector<double> values, double p);

private:
    struct Group {
        std::string name;
        std::vector<double> seconds;
        FramePassTimes passes;
    };
    static std::string Row(const Group& group, size_t nameWidth);

    std::vector<Group> m_groups;  // in the order the scenes came
};
