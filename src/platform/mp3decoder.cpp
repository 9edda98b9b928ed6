#include "platform/mp3decoder.h"

#include <mpg123.h>

struct PlatformMp3Decoder::Impl {
    mpg123_handle* handle = nullptr;
};

PlatformMp3Decoder::PlatformMp3Decoder() : m_impl(new Impl) {}

PlatformMp3Decoder::~PlatformMp3Decoder() {
    if (m_impl->handle) {
        mpg123_close(m_impl->handle);
        mpg123_delete(m_impl->handle);
    }
}

bool PlatformMp3Decoder::Open(const std::string& path, std::string* error) {
#if MPG123_API_VERSION < 46
    static const bool initialised = mpg123_init() == MPG123_OK;
    (void)initialised;
#endif
    int err = MPG123_OK;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    if (!h) {
        *error = mpg123_plain_strerror(err);
        return false;
    }
    mpg123_param(h, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_open(h, path.c_str()) != MPG123_OK ||
        mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK) {
        *error = mpg123_strerror(h);
        mpg123_delete(h);
        return false;
    }
    // Fix the output to signed 16 bits at the file's own rate and channel count.
    mpg123_format_none(h);
    if (mpg123_format(h, rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_scan(h) != MPG123_OK) {
        *error = mpg123_strerror(h);
        mpg123_close(h);
        mpg123_delete(h);
        return false;
    }
    off_t length = mpg123_length(h);
    if (length <= 0) {
        *error = "no audio frames";
        mpg123_close(h);
        mpg123_delete(h);
        return false;
    }
    m_impl->handle = h;
    m_rate = static_cast<int>(rate);
    m_channels = channels;
    m_lengthFrames = length;
    return true;
}

bool PlatformMp3Decoder::Seek(int64_t frame) {
    return m_impl->handle && mpg123_seek(m_impl->handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

int PlatformMp3Decoder::Read(int16_t* out, int frameCount) {
    if (!m_impl->handle) return 0;
    size_t wanted = static_cast<size_t>(frameCount) * m_channels * sizeof(int16_t);
    size_t total = 0;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    while (total < wanted) {
        size_t done = 0;
        int res = mpg123_read(m_impl->handle, bytes + total, wanted - total, &done);
        total += done;
        if (res == MPG123_NEW_FORMAT) continue;
        if (res != MPG123_OK || done == 0) break;
    }
    return static_cast<int>(total / (m_channels * sizeof(int16_t)));
}
