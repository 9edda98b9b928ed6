// Writes the captured frames as an MP4 file: H.264 in yuv420p (BT.709, limited range) through
// FFmpeg's libraries, with the music as AAC, cut to the frames' time range. Audio follows the
// video frame by frame, so a file finished after any number of frames (a capture stopped with
// Ctrl-C) holds exactly that much music and plays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct Mp4Settings {
    int width = 0;   // even
    int height = 0;  // even
    int fps = 60;
    std::string musicPath;   // an MP3 file; empty: no audio stream
    double musicFrom = 0.0;  // the music time of the first frame, in seconds
    int crf = 18;            // x264's constant rate factor
    // The encoder shares the machine with the software renderer, which keeps every core busy:
    // one thread and the "ultrafast" preset make the whole capture fastest on two cores, for
    // files about three times the size of "veryfast" ones at this crf, and no less faithful
    // (bench/capture_bench.cpp has the figures).
    std::string preset = "ultrafast";
    int threads = 1;  // 0: x264's own choice from the number of cores
};

class Mp4Writer {
public:
    Mp4Writer();
    ~Mp4Writer();  // finishes an open file, ignoring errors
    Mp4Writer(const Mp4Writer&) = delete;
    Mp4Writer& operator=(const Mp4Writer&) = delete;

    // Creates the file and its streams and writes the header. False with error set (the file
    // can't be created, no H.264 encoder, a music file that can't be read).
    bool Open(const std::string& path, const Mp4Settings& settings, std::string* error);
    // rgba: width × height × 4 bytes (R, G, B, A; alpha unused), rows bottom first, as GL reads
    // a frame. Also writes the music up to the end of this frame.
    bool WriteFrame(const uint8_t* rgba, std::string* error);
    // Drains the encoders and writes the index. The file plays after this.
    bool Finish(std::string* error);
    int64_t FramesWritten() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
