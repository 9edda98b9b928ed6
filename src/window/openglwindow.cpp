#include "window/openglwindow.h"

#include "window/ikeyboardcallback.h"

namespace {

IKeyboardCallback* g_callback = nullptr;
int g_pixelFormatColorBits = 0;  // fixed by the first Create of the process
bool g_offscreen = false;

}  // namespace

OpenglWindow::~OpenglWindow() { Destroy(); }

bool OpenglWindow::Create(void* parent, const char* title, int width, int height, int bits,
                          int refreshRate, bool fullscreen, bool ownWindow,
                          IKeyboardCallback* callback) {
    if (fullscreen) ownWindow = true;
    m_width = width;
    m_height = height;
    m_fullscreen = fullscreen;
    m_ownWindow = ownWindow;
    m_offscreen = g_offscreen;
    m_parent = parent;
    m_error.clear();
    if (!ownWindow) {
        m_error = "no window to draw into: this platform has no parent windows";
        Destroy();
        return false;
    }
    if (g_pixelFormatColorBits == 0) g_pixelFormatColorBits = bits;

    PlatformWindowRequest request;
    request.title = title;
    request.width = width;
    request.height = height;
    request.colorBits = g_pixelFormatColorBits;
    request.refreshRate = refreshRate;
    request.fullscreen = fullscreen;
    request.offscreen = m_offscreen;
    m_hwnd = PlatformCreateWindow(request, &m_error);
    if (!m_hwnd) {
        Destroy();
        return false;
    }
    g_callback = callback;  // the window exists: from now on it routes input
    if (!PlatformCreateGLContext(m_hwnd, &m_error)) {
        Destroy();
        return false;
    }
    PlatformShowWindow(m_hwnd);
    return true;
}

void OpenglWindow::Destroy() {
    if (m_hwnd) {
        PlatformDestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
}

void OpenglWindow::SwapBuffers() {
    if (!m_hwnd) return;
    if (m_presentHook) m_presentHook();
    PlatformSwapWindow(m_hwnd);
}

void OpenglWindow::DispatchEvent(const PlatformEvent& event) {
    if (!g_callback) return;
    if (event.type == PlatformEventType::KeyDown) g_callback->OnKeyDown(event.virtualKey);
    if (event.type == PlatformEventType::LeftButtonDown) g_callback->OnClick();
}

int OpenglWindow::PixelFormatColorBits() { return g_pixelFormatColorBits; }

void OpenglWindow::UseOffscreenSurfaces(bool offscreen) { g_offscreen = offscreen; }
