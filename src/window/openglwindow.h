// The show's only window: borderless, fullscreen in the chosen display mode, with a
// double-buffered OpenGL context that stays current on the main thread. DispatchEvent is the
// window's event handler: key-downs and left clicks go to the IKeyboardCallback given at Create.
// Destroy undoes Create, restoring the display mode; it is safe after a partial Create and
// safe to repeat.
//
// Offscreen (for rendering without a display): after UseOffscreenSurfaces(true), Create makes
// no window but an offscreen surface of the size asked for, whose frame survives SwapBuffers. A
// present hook sees every frame in the back buffer just before SwapBuffers presents it.
#pragma once

#include <functional>
#include <string>

#include "platform/video.h"

class IKeyboardCallback;

class OpenglWindow {
public:
    OpenglWindow() = default;
    ~OpenglWindow();
    OpenglWindow(const OpenglWindow&) = delete;
    OpenglWindow& operator=(const OpenglWindow&) = delete;

    // parent is accepted for the interface's sake; this platform has no child windows, so
    // the window is always the program's own. Returns false, with everything undone, when a
    // step fails; LastError() then says which.
    bool Create(void* parent, const char* title, int width, int height, int bits, int refreshRate,
                bool fullscreen, bool ownWindow, IKeyboardCallback* callback);
    void Destroy();
    // Runs the present hook, if any, then presents the back buffer.
    void SwapBuffers();
    // The hook runs inside SwapBuffers with this window's context current; an empty function
    // removes it.
    void SetPresentHook(std::function<void()> hook) { m_presentHook = std::move(hook); }

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    PlatformWindow* GetDC() const { return m_hwnd; }
    int ScaleX(float factor) const { return static_cast<int>(m_width * factor); }
    int ScaleY(float factor) const { return static_cast<int>(m_height * factor); }
    bool IsFullscreen() const { return m_fullscreen; }
    bool IsOffscreen() const { return m_offscreen; }
    const std::string& LastError() const { return m_error; }

    // Routes one event to the callback stored by the last Create.
    static void DispatchEvent(const PlatformEvent& event);
    // The colour depth that the first Create fixed for the process's pixel format (0 before).
    static int PixelFormatColorBits();
    // Makes every later Create offscreen (true) or windowed (false, the default). An offscreen
    // Create refuses fullscreen.
    static void UseOffscreenSurfaces(bool offscreen);

private:
    PlatformWindow* m_hwnd = nullptr;
    void* m_parent = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_fullscreen = false;
    bool m_ownWindow = false;
    bool m_offscreen = false;
    std::function<void()> m_presentHook;
    std::string m_error;
};
