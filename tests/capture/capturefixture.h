// Fixtures for the capture tests: a tiny archive that holds only the music, a show that paints
// each frame a colour of its own choosing, and runners for the tool and for ffprobe / ffmpeg.
#pragma once

#include <csignal>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "captureshow.h"
#include "support/tempdir.h"

class OpenglWindow;

// What the test show was asked to do, in order.
struct ShowCall {
    float time;
    float dt;
    bool passTimer = false;  // PassTimer was on
};

struct ShowScript {
    // The frame's flat colour from the number of frames drawn before it, the time and the sum
    // of every dt so far (the state a show builds up).
    std::function<uint32_t(int drawn, float time, float dtSum)> colour;
    bool present = true;      // false: Draw never calls SwapBuffers
    int stopAfterDraws = -1;  // raises *stop after this many draws
    // Called after each draw with the number of draws so far.
    std::function<void(int drawn)> afterDraw;
    // The scene the show is in at a time (SceneName); none when empty.
    std::function<std::string(float time)> scene;
    // Seconds that a draw at a time spends in a pass timed as the scene pass; 0: none timed.
    std::function<double(float time)> scenePass;
    double drawSeconds = 0.0;  // each draw also spends this long outside any pass
    volatile std::sig_atomic_t* stop = nullptr;
    std::vector<ShowCall> updates;
    std::vector<ShowCall> draws;
};

// Draws with GL clears only; after presenting it paints the back buffer magenta, so a frame
// read after the swap would show it.
std::unique_ptr<CaptureShow> MakeTestShow(ShowScript* script);

constexpr uint32_t kMagenta = 0xFF00FF;

// A grey level per frame: 4 × the frames drawn before it, so each of the first 64 differs.
uint32_t GreyByFrame(int drawn, float, float);

// A temporary folder holding "demodat" with the music (3 s of a 440 Hz tone) and a "tmp"
// folder; TMPDIR points there while it lives.
class CaptureSandbox {
public:
    explicit CaptureSandbox(double musicSeconds = 3.0);
    ~CaptureSandbox();
    std::string Archive() const { return m_dir.File("demodat"); }
    std::string File(const std::string& name) const { return m_dir.File(name); }

private:
    TempDir m_dir;
    std::string m_oldTmp;
    bool m_hadTmp = false;
};

struct CaptureRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the tool in-process on a show (the test show of the script, when given).
CaptureRun RunCaptureTool(const std::vector<std::string>& args, ShowScript* script,
                          volatile std::sig_atomic_t* stop = nullptr);

// Output of a command line, "" when it fails.
std::string CommandOutput(const std::string& command);

struct ProbedStream {
    std::string codec;
    std::string pixelFormat;
    int64_t frames = 0;
    double duration = 0.0;
};
// The first stream of a kind ("v" or "a") of a media file, frames counted by decoding.
ProbedStream Probe(const std::string& file, const char* kind);

// Every video frame decoded to RGB, width × height × 3 bytes each.
std::vector<std::vector<uint8_t>> DecodeVideo(const std::string& file, int width, int height);

// A PNG decoded to RGB rows top first; empty when it can't be read.
std::vector<uint8_t> ReadRgbPng(const std::string& path, int* width, int* height);
