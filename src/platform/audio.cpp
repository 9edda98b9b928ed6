#include "platform/audio.h"

#include <SDL.h>

#include <cstring>

struct PlatformAudioDevice::CallbackTarget {
    PlatformAudioCallback callback;
    void* user;
    int channels;
};

namespace {

void SDLCALL FeedDevice(void* user, Uint8* stream, int len) {
    auto* target = static_cast<PlatformAudioDevice::CallbackTarget*>(user);
    int frames = len / static_cast<int>(target->channels * sizeof(int16_t));
    target->callback(target->user, reinterpret_cast<int16_t*>(stream), frames);
}

}  // namespace

PlatformAudioDevice::PlatformAudioDevice() = default;

PlatformAudioDevice::~PlatformAudioDevice() {
    // Closing waits for a running callback, so the target goes after it.
    if (m_device) SDL_CloseAudioDevice(m_device);
}

std::unique_ptr<PlatformAudioDevice> PlatformAudioDevice::Open(int rate, int channels,
                                                               int bufferFrames,
                                                               PlatformAudioCallback callback,
                                                               void* user, std::string* reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *reason = SDL_GetError();
        return nullptr;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || std::strcmp(driver, "dummy") == 0) {
        // The dummy driver eats samples as fast as it is fed: no clock to follow.
        *reason = "the dummy audio driver does not play in real time";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    auto target = std::make_unique<CallbackTarget>(CallbackTarget{callback, user, channels});
    SDL_AudioSpec want{}, have{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    want.samples = static_cast<Uint16>(bufferFrames);
    want.callback = FeedDevice;
    want.userdata = target.get();
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        *reason = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<PlatformAudioDevice> device(new PlatformAudioDevice);
    device->m_device = id;
    device->m_target = std::move(target);
    device->m_info.bufferFrames = have.samples;
    device->m_info.driver = driver;
    return device;
}

void PlatformAudioDevice::Start() { SDL_PauseAudioDevice(m_device, 0); }
void PlatformAudioDevice::Lock() { SDL_LockAudioDevice(m_device); }
void PlatformAudioDevice::Unlock() { SDL_UnlockAudioDevice(m_device); }
