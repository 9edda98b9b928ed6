#include "shell/musicclock.h"

#include <algorithm>

MusicClock::MusicClock(int rate, int latencyFrames, int64_t lengthFrames)
    : m_rate(rate),
      m_latency(static_cast<double>(latencyFrames) / rate),
      m_length(static_cast<double>(lengthFrames) / rate) {}

double MusicClock::Clamp(double seconds) const { return std::clamp(seconds, 0.0, m_length); }

void MusicClock::SetFrame(int64_t frame) {
    m_start = Clamp(static_cast<double>(frame) / m_rate);
    m_haveCallback = false;
    m_playing = false;
    m_last = m_start;
}

void MusicClock::Start(double now) {
    m_playing = true;
    m_playStart = now;
}

void MusicClock::OnCallback(int64_t handedOut, double now) {
    m_haveCallback = true;
    m_handedOut = static_cast<double>(handedOut) / m_rate;
    m_callbackTime = now;
}

double MusicClock::Position(double now, bool silent) {
    double position = m_start;
    if (silent) {
        if (m_playing) position = m_start + std::max(0.0, now - m_playStart);
    } else if (m_haveCallback) {
        double estimate = m_handedOut - m_latency + std::max(0.0, now - m_callbackTime);
        position = std::min(estimate, m_handedOut);
    }
    m_last = std::max(m_last, Clamp(position));
    return m_last;
}
