// Capture progress on standard error: frames done, frames per second and the time left. On a
// terminal one line is redrawn in place a few times a second; elsewhere (a log, a pipe) a plain
// line goes out every few seconds. Time is passed in, so the pacing is the caller's clock.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

// "frame 120/3600  42.5 fps  1:22 left" (the rate and the time left once a frame is done).
std::string FormatProgress(int64_t done, int64_t total, double elapsedSeconds);

// "1:05", "12:00", "1:02:03".
std::string FormatDuration(double seconds);

class CaptureProgress {
public:
    CaptureProgress(std::ostream& err, bool terminal, int64_t total)
        : m_err(err), m_terminal(terminal), m_total(total) {}

    // Called after each frame; prints when the last line is old enough.
    void Update(int64_t done, double elapsedSeconds);
    // Ends the progress display with the final count.
    void Finish(int64_t done, double elapsedSeconds);

private:
    void Print(int64_t done, double elapsedSeconds);

    std::ostream& m_err;
    bool m_terminal;
    int64_t m_total;
    double m_lastPrint = -1.0;
};
