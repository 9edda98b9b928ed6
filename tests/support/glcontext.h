// A GL context for GL tests: a fullscreen window in the virtual display's current mode with
// the entry points loaded. Construct one per test (each test runs in its own process).
#pragma once

#include <memory>

class OpenglWindow;

class GlTestContext {
public:
    GlTestContext();
    ~GlTestContext();
    int Width() const;
    int Height() const;
    OpenglWindow* Window() const { return m_window.get(); }

private:
    std::unique_ptr<OpenglWindow> m_window;
};

// Fails the current test when GL reports an error, naming where.
void ExpectNoGlError(const char* where);
