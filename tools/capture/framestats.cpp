#include "framestats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {

const char* const kStartName = "(start)";
const char* const kAllName = "all";

std::string Share(double part, double total, bool measured) {
    if (!measured || total <= 0.0) return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", 100.0 * part / total);
    return text;
}

}  // namespace

void FrameStats::Add(const std::string& scene, double seconds, const FramePassTimes& passes) {
    const std::string name = scene.empty() ? kStartName : scene;
    auto group = std::find_if(m_groups.begin(), m_groups.end(),
                              [&](const Group& g) { return g.name == name; });
    if (group == m_groups.end()) group = m_groups.insert(m_groups.end(), Group{name, {}, {}});
    group->seconds.push_back(seconds);
    group->passes.scene += passes.scene;
    group->passes.glow += passes.glow;
    group->passes.overlays += passes.overlays;
}

double FrameStats::Quantile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(p * static_cast<double>(values.size()) - 1e-9);
    const size_t index = static_cast<size_t>(std::max(rank, 1.0)) - 1;
    return values[std::min(index, values.size() - 1)];
}

std::string FrameStats::Row(const Group& group, size_t nameWidth) {
    const double total = std::accumulate(group.seconds.begin(), group.seconds.end(), 0.0);
    const FramePassTimes& p = group.passes;
    const bool measured = p.scene + p.glow + p.overlays > 0.0;
    char row[256];
    std::snprintf(row, sizeof row, "%-*s %7zu %10.2f %8.2f %11s %6s %9s\n",
                  static_cast<int>(nameWidth), group.name.c_str(), group.seconds.size(),
                  Quantile(group.seconds, 0.5) * 1000.0, Quantile(group.seconds, 0.95) * 1000.0,
                  Share(p.scene, total, measured).c_str(), Share(p.glow, total, measured).c_str(),
                  Share(p.overlays, total, measured).c_str());
    return row;
}

std::string FrameStats::Table() const {
    Group all{kAllName, {}, {}};
    size_t nameWidth = 5;
    for (const Group& g : m_groups) {
        all.seconds.insert(all.seconds.end(), g.seconds.begin(), g.seconds.end());
        all.passes.scene += g.passes.scene;
        all.passes.glow += g.passes.glow;
        all.passes.overlays += g.passes.overlays;
        nameWidth = std::max(nameWidth, g.name.size());
    }
    char header[256];
    std::snprintf(header, sizeof header, "%-*s %7s %10s %8s %11s %6s %9s\n",
                  static_cast<int>(nameWidth), "scene", "frames", "median ms", "p95 ms",
                  "scene pass", "glow", "overlays");
    std::string table = header;
    for (const Group& g : m_groups) table += Row(g, nameWidth);
    table += Row(all, nameWidth);
    return table;
}
