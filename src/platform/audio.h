// MP3 decoding and the audio output device. The decoder gives exact, gapless frame positions
// (the whole file is scanned at open). The device pulls 16-bit interleaved frames from a
// callback that runs on the audio thread; lock the device around anything the callback shares.
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

using PlatformAudioCallback = void (*)(void* user, int16_t* out, int frameCount);

struct PlatformAudioDeviceInfo {
    int bufferFrames = 0;  // frames per callback, as the device granted
    std::string driver;
};

class PlatformAudioDevice {
public:
    ~PlatformAudioDevice();

    // Opens the default output device, paused. Returns null when there is no usable device
    // (none at all, or a driver that does not play in real time); reason says which.
    static std::unique_ptr<PlatformAudioDevice> Open(int rate, int channels, int bufferFrames,
                                                     PlatformAudioCallback callback, void* user,
                                                     std::string* reason);
    const PlatformAudioDeviceInfo& Info() const { return m_info; }
    void Start();
    void Lock();
    void Unlock();

    // What the device's callback is handed; the implementation's own.
    struct CallbackTarget;

private:
    PlatformAudioDevice();
    uint32_t m_device = 0;
    std::unique_ptr<CallbackTarget> m_target;  // the callback's user data, kept while open
    PlatformAudioDeviceInfo m_info;
};
