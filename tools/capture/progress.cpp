#include "progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kTerminalInterval = 0.25;  // seconds between redraws
constexpr double kPlainInterval = 5.0;      // seconds between plain lines

}  // namespace

std::string FormatDuration(double seconds) {
    long s = std::lround(std::max(0.0, seconds));
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

std::string FormatProgress(int64_t done, int64_t total, double elapsedSeconds) {
    std::string line = "frame " + std::to_string(done) + "/" + std::to_string(total);
    if (done > 0 && elapsedSeconds > 0.0) {
        double rate = done / elapsedSeconds;
        char text[32];
        std::snprintf(text, sizeof text, "  %.1f fps", rate);
        line += text;
        line += "  " + FormatDuration((total - done) / rate) + " left";
    }
    return line;
}

void CaptureProgress::Print(int64_t done, double elapsedSeconds) {
    if (m_terminal)
        m_err << "\r\033[K" << FormatProgress(done, m_total, elapsedSeconds) << std::flush;
    else
        m_err << FormatProgress(done, m_total, elapsedSeconds) << "\n" << std::flush;
    m_lastPrint = elapsedSeconds;
}

void CaptureProgress::Update(int64_t done, double elapsedSeconds) {
    double interval = m_terminal ? kTerminalInterval : kPlainInterval;
    if (m_lastPrint < 0.0 || elapsedSeconds - m_lastPrint >= interval) Print(done, elapsedSeconds);
}

void CaptureProgress::Finish(int64_t done, double elapsedSeconds) {
    Print(done, elapsedSeconds);
    if (m_terminal) m_err << "\n" << std::flush;
}
