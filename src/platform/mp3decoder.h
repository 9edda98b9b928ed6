// MP3 decoding with exact, gapless frame positions (the whole file is scanned at open). Needs
// no audio device, so the tools that check or measure the music use it alone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class PlatformMp3Decoder {
public:
    PlatformMp3Decoder();
    ~PlatformMp3Decoder();
    PlatformMp3Decoder(const PlatformMp3Decoder&) = delete;
    PlatformMp3Decoder& operator=(const PlatformMp3Decoder&) = delete;

    // Opens and scans the file; on failure error says why.
    bool Open(const std::string& path, std::string* error);
    int Rate() const { return m_rate; }
    int Channels() const { return m_channels; }
    int64_t LengthFrames() const { return m_lengthFrames; }
    // Moves to a frame; returns false when the decoder refuses.
    bool Seek(int64_t frame);
    // Decodes up to frameCount frames of 16-bit interleaved samples; returns the frames
    // written, fewer (down to 0) at the end of the stream.
    int Read(int16_t* out, int frameCount);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_rate = 0;
    int m_channels = 0;
    int64_t m_lengthFrames = 0;
};
