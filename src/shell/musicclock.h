// Turns the audio callback's progress into a smooth playback position. Each callback reports
// how many frames of the track have been handed to the device in all; the position is that
// count less the device's buffer, plus the wall time since the callback, never ahead of what
// was handed out and never going backwards. Without callbacks (no device), the position runs
// on the wall clock from Start. Pure arithmetic on the times it is given; no locking.
#pragma once

#include <cstdint>

class MusicClock {
public:
    // rate: frames per second; latencyFrames: frames queued between the callback and the
    // speaker; lengthFrames: the track's length, where the position stops.
    MusicClock(int rate, int latencyFrames, int64_t lengthFrames);

    // Seeks: the position becomes frame, and callbacks count from there.
    void SetFrame(int64_t frame);
    // Playback starts at wall time now (seconds of a monotonic clock).
    void Start(double now);
    // The audio thread handed frames out up to handedOut (a track frame) at wall time now.
    void OnCallback(int64_t handedOut, double now);
    // The position in seconds at wall time now, for a device-driven clock or a silent one.
    double Position(double now, bool silent);

private:
    double Clamp(double seconds) const;

    double m_rate;
    double m_latency;
    double m_length;
    double m_start = 0.0;  // seconds: the seek position
    bool m_playing = false;
    double m_playStart = 0.0;
    bool m_haveCallback = false;
    double m_handedOut = 0.0;  // seconds of track handed to the device at the last callback
    double m_callbackTime = 0.0;
    double m_last = 0.0;  // the last position returned
};
