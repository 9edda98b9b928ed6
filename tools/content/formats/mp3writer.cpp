#include "formats/mp3writer.h"

#include <lame/lame.h>

#include <memory>

bool EncodeMp3(const std::vector<int16_t>& samples, const Mp3Settings& settings, std::string* mp3,
               std::string* error, void (*progress)(double, void*), void* user) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
    if (!lame) {
        *error = "lame_init failed";
        return false;
    }
    lame_set_num_channels(lame.get(), 2);
    lame_set_in_samplerate(lame.get(), settings.sampleRate);
    lame_set_out_samplerate(lame.get(), settings.sampleRate);
    lame_set_brate(lame.get(), settings.bitrateKbps);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_quality(lame.get(), settings.quality);
    lame_set_bWriteVbrTag(lame.get(), 1);  // the Xing/LAME frame carries the exact length
    if (lame_init_params(lame.get()) < 0) {
        *error = "LAME refused the settings";
        return false;
    }

    mp3->clear();
    const size_t frames = samples.size() / 2;
    const size_t chunk = 8192;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    for (size_t done = 0; done < frames; done += chunk) {
        int n = static_cast<int>(std::min(chunk, frames - done));
        int bytes = lame_encode_buffer_interleaved(lame.get(),
                                                   const_cast<short*>(samples.data() + done * 2), n,
                                                   buffer.data(), static_cast<int>(buffer.size()));
        if (bytes < 0) {
            *error = "LAME encoding failed (" + std::to_string(bytes) + ")";
            return false;
        }
        mp3->append(reinterpret_cast<char*>(buffer.data()), bytes);
        if (progress) progress(static_cast<double>(done + n) / frames, user);
    }
    int bytes = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0) {
        *error = "LAME flush failed";
        return false;
    }
    mp3->append(reinterpret_cast<char*>(buffer.data()), bytes);

    // Rewrite the first frame with the final length and gapless information.
    std::vector<unsigned char> tag(8192);
    size_t tagBytes = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
    if (tagBytes > 0 && tagBytes <= mp3->size())
        mp3->replace(0, tagBytes, reinterpret_cast<char*>(tag.data()), tagBytes);
    return true;
}
