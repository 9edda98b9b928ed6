// The show's music and its clock. Load opens the track and the audio output, SetPosition seeks,
// Play starts, GetPosition reads the playback position in seconds once per frame. The position
// follows what the speaker plays, moves smoothly between audio callbacks and never goes back.
// Without an audio device the track is still opened (so a bad file is still found) and the
// clock runs silently on the monotonic clock from Play. A track that could not be opened makes
// the seek to 0 fatal.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class MusicClock;
class PlatformAudioDevice;
class PlatformMp3Decoder;

class Music {
public:
    Music();
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void Load(const std::string& path);
    void Play();
    void SetPosition(float seconds);
    float GetPosition();

    // True when the clock runs without an audio device.
    bool IsSilent() const { return m_silent; }

private:
    static void Feed(void* user, int16_t* out, int frameCount);

    std::unique_ptr<PlatformMp3Decoder> m_stream;  // null as long as no track could be opened
    std::unique_ptr<MusicClock> m_clock;
    std::unique_ptr<PlatformAudioDevice> m_device;
    bool m_silent = true;
    long long m_decodedFrame = 0;  // the next track frame the callback hands out
};
