// Test helpers for fatal paths. ScopedFatalCapture installs a handler that throws FatalError
// with the report's text, so a test can run a fatal path in-process and check the message;
// the previous handler comes back when the scope ends. Use EXPECT_DEATH where the exit itself
// matters.
#pragma once

#include <stdexcept>
#include <string>

#include "base/assert.h"

struct FatalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ScopedFatalCapture {
public:
    ScopedFatalCapture();
    ~ScopedFatalCapture();
    ScopedFatalCapture(const ScopedFatalCapture&) = delete;
    ScopedFatalCapture& operator=(const ScopedFatalCapture&) = delete;

private:
    FatalHandler m_previous;
};

// Runs fn under a ScopedFatalCapture and returns the fatal message, or "" when fn returned.
template <typename Fn>
std::string CaptureFatal(Fn&& fn) {
    ScopedFatalCapture capture;
    try {
        fn();
    } catch (const FatalError& e) {
        return e.what();
    }
    return std::string();
}
