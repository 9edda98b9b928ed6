// pindle-capture: renders the show without a display. See capture.h or --help.
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "capture.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

// The first Ctrl-C (or SIGTERM) asks for a clean stop; a second one ends the process at once.
void OnSignal(int signal) {
    g_stop = 1;
    std::signal(signal, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    CaptureEnvironment env;
    env.out = &std::cout;
    env.err = &std::cerr;
    env.errIsTerminal = isatty(STDERR_FILENO) != 0;
    env.stop = &g_stop;
    return RunCapture(std::vector<std::string>(argv + 1, argv + argc), env);
}
