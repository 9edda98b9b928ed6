// pindle-capture: renders the show offline with a fixed frame step and writes what the window
// would have shown, as a video, PNG frames, single frames or a contact sheet (see --help). The
// start-up is the show's without the setup dialog and the music output: unpack the archive
// into the temporary folder, then set the show up on an offscreen surface. Each kept frame is
// read from the back buffer when Draw presents it, so it is that frame and never the one before,
// and a thread of its own writes it to the outputs, in order, while the show draws the next.
//
// Exit codes: 0 done, 1 an error (missing archive, unwritable output, a show that draws
// nothing), 2 a bad command line, 3 a fatal report from the show, 130 stopped (the outputs are
// complete up to the last frame made).
#pragma once

#include <csignal>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "captureshow.h"

struct CaptureEnvironment {
    std::ostream* out = nullptr;  // --help
    std::ostream* err = nullptr;  // progress and messages
    bool errIsTerminal = false;
    // Set (by a signal handler) to stop after the current frame.
    const volatile std::sig_atomic_t* stop = nullptr;
    std::function<std::unique_ptr<CaptureShow>()> makeShow = MakeDemoShow;
};

// Runs one command line (without the program name); returns the exit code.
int RunCapture(const std::vector<std::string>& args, const CaptureEnvironment& env);

// File names of the PNG outputs: every frame by its number (zero-padded to at least six digits,
// or as many as the last number needs), single frames by their time in seconds with three
// decimals (padded to four digits before the point). Both sort in time order.
std::string EveryFrameName(int64_t index, int64_t frameCount);
std::string SingleFrameName(double seconds);
