#include "mp4writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

#include "platform/mp3decoder.h"

namespace {

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

struct Mp4Writer::Impl {
    Mp4Settings settings;
    std::string path;
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVStream* videoStream = nullptr;
    AVFrame* picture = nullptr;
    SwsContext* scaler = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* audioStream = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    PlatformMp3Decoder music;
    bool musicEnded = false;
    std::vector<int16_t> pending;  // decoded, interleaved, not yet encoded
    int64_t audioSamples = 0;      // samples handed to the encoder
    int64_t frames = 0;
    bool headerWritten = false;
    bool finished = false;

    ~Impl() {
        sws_freeContext(scaler);
        av_frame_free(&picture);
        av_frame_free(&sound);
        av_packet_free(&packet);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    bool Fail(std::string* error, const std::string& what, int code) {
        *error = path + ": " + what + (code ? ": " + AvError(code) : std::string());
        return false;
    }

    bool OpenVideo(std::string* error) {
        const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
        if (!codec) codec = avcodec_find_encoder(AV_CODEC_ID_H264);
        if (!codec) return Fail(error, "no H.264 encoder in this FFmpeg", 0);
        videoStream = avformat_new_stream(format, nullptr);
        video = avcodec_alloc_context3(codec);
        if (!videoStream || !video) return Fail(error, "out of memory", 0);
        video->width = settings.width;
        video->height = settings.height;
        video->pix_fmt = AV_PIX_FMT_YUV420P;
        video->time_base = AVRational{1, settings.fps};
        video->framerate = AVRational{settings.fps, 1};
        video->gop_size = settings.fps * 2;
        video->color_range = AVCOL_RANGE_MPEG;
        video->color_primaries = AVCOL_PRI_BT709;
        video->color_trc = AVCOL_TRC_BT709;
        video->colorspace = AVCOL_SPC_BT709;
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        av_opt_set(video->priv_data, "preset", settings.preset.c_str(), 0);
        av_opt_set_int(video->priv_data, "crf", settings.crf, 0);
        video->thread_count = settings.threads;
        int rc = avcodec_open2(video, codec, nullptr);
        if (rc < 0) return Fail(error, "the H.264 encoder refused", rc);
        rc = avcodec_parameters_from_context(videoStream->codecpar, video);
        if (rc < 0) return Fail(error, "stream parameters", rc);
        videoStream->time_base = video->time_base;
        videoStream->avg_frame_rate = video->framerate;

        picture = av_frame_alloc();
        if (!picture) return Fail(error, "out of memory", 0);
        picture->format = video->pix_fmt;
        picture->width = video->width;
        picture->height = video->height;
        rc = av_frame_get_buffer(picture, 0);
        if (rc < 0) return Fail(error, "frame buffer", rc);
        scaler = sws_getContext(settings.width, settings.height, AV_PIX_FMT_RGB0, settings.width,
                                settings.height, AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND,
                                nullptr, nullptr, nullptr);
        if (!scaler) return Fail(error, "no RGB to YUV converter", 0);
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
        return true;
    }

    bool OpenAudio(std::string* error) {
        std::string reason;
        if (!music.Open(settings.musicPath, &reason))
            return Fail(error, "can't read the music " + settings.musicPath + ": " + reason, 0);
        int64_t start = std::llround(settings.musicFrom * music.Rate());
        if (start >= music.LengthFrames())
            musicEnded = true;
        else if (!music.Seek(start))
            return Fail(error, "can't seek in the music", 0);

        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!codec) return Fail(error, "no AAC encoder in this FFmpeg", 0);
        audioStream = avformat_new_stream(format, nullptr);
        audio = avcodec_alloc_context3(codec);
        if (!audioStream || !audio) return Fail(error, "out of memory", 0);
        audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
        audio->sample_rate = music.Rate();
        av_channel_layout_default(&audio->ch_layout, music.Channels());
        audio->bit_rate = 192000;
        audio->time_base = AVRational{1, music.Rate()};
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int rc = avcodec_open2(audio, codec, nullptr);
        if (rc < 0) return Fail(error, "the AAC encoder refused", rc);
        rc = avcodec_parameters_from_context(audioStream->codecpar, audio);
        if (rc < 0) return Fail(error, "stream parameters", rc);
        audioStream->time_base = audio->time_base;
        sound = av_frame_alloc();
        if (!sound) return Fail(error, "out of memory", 0);
        return true;
    }

    // Sends one frame (or null to drain) and writes every packet the encoder gives back.
    bool Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame, std::string* error) {
        int rc = avcodec_send_frame(codec, frame);
        if (rc < 0) return Fail(error, "encoding failed", rc);
        while (true) {
            rc = avcodec_receive_packet(codec, packet);
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
            if (rc < 0) return Fail(error, "encoding failed", rc);
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            rc = av_interleaved_write_frame(format, packet);
            if (rc < 0) return Fail(error, "write failed", rc);
        }
    }

    // Encodes the music up to sample `until` (relative to the first frame). A last piece
    // shorter than the encoder's frame goes only when flushing.
    bool WriteAudioUntil(int64_t until, bool flush, std::string* error) {
        const int channels = music.Channels();
        const int frameSize = audio->frame_size > 0 ? audio->frame_size : 1024;
        int64_t have = audioSamples + static_cast<int64_t>(pending.size()) / channels;
        while (have < until && !musicEnded) {
            int want = static_cast<int>(std::min<int64_t>(until - have, 4096));
            size_t old = pending.size();
            pending.resize(old + static_cast<size_t>(want) * channels);
            int got = music.Read(pending.data() + old, want);
            pending.resize(old + static_cast<size_t>(got) * channels);
            if (got <= 0) musicEnded = true;
            have += got;
        }
        while (true) {
            int64_t available = static_cast<int64_t>(pending.size()) / channels;
            int64_t allowed = std::min(available, until - audioSamples);
            int n = static_cast<int>(std::min<int64_t>(allowed, frameSize));
            if (n <= 0 || (n < frameSize && !flush)) return true;
            av_frame_unref(sound);
            sound->format = audio->sample_fmt;
            sound->sample_rate = audio->sample_rate;
            sound->nb_samples = n;
            int rc = av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
            if (rc >= 0) rc = av_frame_get_buffer(sound, 0);
            if (rc < 0) return Fail(error, "audio buffer", rc);
            for (int c = 0; c < channels; ++c) {
                float* plane = reinterpret_cast<float*>(sound->data[c]);
                for (int i = 0; i < n; ++i) plane[i] = pending[i * channels + c] / 32768.0f;
            }
            pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(n) * channels);
            sound->pts = audioSamples;
            audioSamples += n;
            if (!Encode(audio, audioStream, sound, error)) return false;
        }
    }

    int64_t AudioTarget() const {
        return static_cast<int64_t>(
            std::llround(static_cast<double>(frames) * music.Rate() / settings.fps));
    }
};

Mp4Writer::Mp4Writer() = default;

Mp4Writer::~Mp4Writer() {
    if (m_impl && m_impl->headerWritten && !m_impl->finished) {
        std::string ignored;
        Finish(&ignored);
    }
}

bool Mp4Writer::Open(const std::string& path, const Mp4Settings& settings, std::string* error) {
    av_log_set_level(AV_LOG_ERROR);  // the encoders' chatter would break up the progress line
    m_impl = std::make_unique<Impl>();
    Impl& m = *m_impl;
    m.settings = settings;
    m.path = path;
    int rc = avformat_alloc_output_context2(&m.format, nullptr, "mp4", path.c_str());
    if (rc < 0 || !m.format) return m.Fail(error, "no MP4 muxer", rc);
    m.packet = av_packet_alloc();
    if (!m.packet) return m.Fail(error, "out of memory", 0);
    if (!m.OpenVideo(error)) return false;
    if (!settings.musicPath.empty() && !m.OpenAudio(error)) return false;
    rc = avio_open(&m.format->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0) return m.Fail(error, "can't create the file", rc);
    rc = avformat_write_header(m.format, nullptr);
    if (rc < 0) return m.Fail(error, "can't write the header", rc);
    m.headerWritten = true;
    return true;
}

bool Mp4Writer::WriteFrame(const uint8_t* rgba, std::string* error) {
    Impl& m = *m_impl;
    int rc = av_frame_make_writable(m.picture);
    if (rc < 0) return m.Fail(error, "frame buffer", rc);
    // The converter walks the rows from the last one up: a negative stride flips the picture.
    const int row = m.settings.width * 4;
    const uint8_t* source[1] = {rgba + static_cast<ptrdiff_t>(row) * (m.settings.height - 1)};
    const int stride[1] = {-row};
    sws_scale(m.scaler, source, stride, 0, m.settings.height, m.picture->data, m.picture->linesize);
    m.picture->pts = m.frames;
    if (!m.Encode(m.video, m.videoStream, m.picture, error)) return false;
    ++m.frames;
    if (m.audio && !m.WriteAudioUntil(m.AudioTarget(), false, error)) return false;
    return true;
}

bool Mp4Writer::Finish(std::string* error) {
    Impl& m = *m_impl;
    m.finished = true;
    if (!m.Encode(m.video, m.videoStream, nullptr, error)) return false;
    if (m.audio) {
        if (!m.WriteAudioUntil(m.AudioTarget(), true, error)) return false;
        if (!m.Encode(m.audio, m.audioStream, nullptr, error)) return false;
    }
    int rc = av_write_trailer(m.format);
    if (rc < 0) return m.Fail(error, "can't write the index", rc);
    rc = avio_closep(&m.format->pb);
    if (rc < 0) return m.Fail(error, "can't close the file", rc);
    return true;
}

int64_t Mp4Writer::FramesWritten() const { return m_impl ? m_impl->frames : 0; }
