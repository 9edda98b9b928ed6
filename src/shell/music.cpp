#include "shell/music.h"

#include <chrono>
#include <cstring>

#include "base/assert.h"
#include "base/log.h"
#include "platform/audio.h"
#include "platform/filesystem.h"
#include "platform/mp3decoder.h"
#include "shell/musicclock.h"

namespace {

constexpr int kCallbackFrames = 1024;

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Music::Music() = default;
Music::~Music() {
    m_device.reset();  // stops the callback before the stream goes
}

void Music::Load(const std::string& path) {
    std::string resolved = PlatformResolvePath(path);
    auto stream = std::make_unique<PlatformMp3Decoder>();
    std::string error;
    if (!stream->Open(resolved, &error)) {
        LogMessage("music: couldn't open %s: %s", path.c_str(), error.c_str());
        return;
    }
    m_stream = std::move(stream);
    std::string reason;
    m_device = PlatformAudioDevice::Open(m_stream->Rate(), m_stream->Channels(), kCallbackFrames,
                                         &Music::Feed, this, &reason);
    m_silent = !m_device;
    int latency = m_device ? m_device->Info().bufferFrames : 0;
    m_clock = std::make_unique<MusicClock>(m_stream->Rate(), latency, m_stream->LengthFrames());
    if (m_silent)
        LogMessage("music: no audio device (%s); the clock runs silently", reason.c_str());
}

void Music::Feed(void* user, int16_t* out, int frameCount) {
    auto* self = static_cast<Music*>(user);
    int channels = self->m_stream->Channels();
    int got = self->m_stream->Read(out, frameCount);
    std::memset(out + static_cast<size_t>(got) * channels, 0,
                static_cast<size_t>(frameCount - got) * channels * sizeof(int16_t));
    self->m_decodedFrame += got;
    self->m_clock->OnCallback(self->m_decodedFrame, Now());
}

void Music::SetPosition(float seconds) {
    if (!m_stream) {
        ASSERT(false);
    }
    long long frame = static_cast<long long>(static_cast<double>(seconds) * m_stream->Rate());
    if (m_device) m_device->Lock();
    bool ok = m_stream->Seek(frame);
    if (ok) {
        m_decodedFrame = frame;
        m_clock->SetFrame(frame);
    }
    if (m_device) m_device->Unlock();
    if (!ok) {
        ASSERT(false);
    }
}

void Music::Play() {
    if (!m_stream) return;
    if (m_device) {
        m_device->Lock();
        m_clock->Start(Now());
        m_device->Unlock();
        m_device->Start();
    } else {
        m_clock->Start(Now());
    }
}

float Music::GetPosition() {
    if (!m_stream) return 0.0f;
    if (m_device) m_device->Lock();
    double position = m_clock->Position(Now(), m_silent);
    if (m_device) m_device->Unlock();
    return static_cast<float>(position);
}
