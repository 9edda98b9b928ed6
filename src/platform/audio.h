// The audio output device. It pulls 16-bit interleaved frames from a callback that runs on the
// audio thread; lock the device around anything the callback shares. The music it plays comes
// from the decoder in mp3decoder.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
