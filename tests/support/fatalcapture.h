// Test helpers for fatal paths. A ScopedFatalCapture installs the throwing fatal handler, so a
// test can run a fatal path in-process and check the message (FatalError's what()); the
// previous handler comes back when the scope ends. Use EXPECT_DEATH where the exit itself
// matters.
#pragma once

#include <string>

#include "base/assert.h"

using ScopedFatalCapture = FatalThrowScope;

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
