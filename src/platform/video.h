// Display modes, the show's window with its OpenGL context, events and key state. The rest of
// the program sees windows through these calls only; keys are named by Windows virtual-key
// codes, which is how the keyboard table and the authoring keys are written.
//
// Events: PlatformPollEvent takes at most one event per call. A window-manager close, SIGINT and
// SIGTERM all arrive as PlatformEventType::Quit, so the main loop always sees a way out.
#pragma once

#include <string>
#include <vector>

struct PlatformDisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshRate = 0;
};

// Starts the video and event subsystems once; later calls return the first result.
bool PlatformInitVideo();

// The modes the primary display reports, in its order, duplicates included.
std::vector<PlatformDisplayMode> PlatformListDisplayModes();
bool PlatformGetCurrentDisplayMode(PlatformDisplayMode* mode);

struct PlatformWindow;

struct PlatformWindowRequest {
    const char* title = "";
    int width = 0;
    int height = 0;
    int colorBits = 32;  // colour depth of the GL pixel format
    int refreshRate = 0;
    bool fullscreen = false;
    // No window at all: an EGL pbuffer of the requested size on Mesa's surfaceless platform
    // (else the first EGL device that takes it) stands in for the window, so no display server
    // is needed. Its default framebuffer keeps what was drawn across a swap. Not with fullscreen.
    bool offscreen = false;
};

// Creates a hidden window able to hold a GL context, trying depth buffers of 32, 24 and 16
// bits. With fullscreen set, switches the display to the requested mode and hides the cursor.
// Returns null and fills error on failure; nothing is left behind then.
PlatformWindow* PlatformCreateWindow(const PlatformWindowRequest& request, std::string* error);
// Creates a compatibility-profile, double-buffered context on the window and makes it current
// (offscreen: a compatibility-profile context on the pbuffer).
bool PlatformCreateGLContext(PlatformWindow* window, std::string* error);
// Does nothing for an offscreen window.
void PlatformShowWindow(PlatformWindow* window);
void PlatformSwapWindow(PlatformWindow* window);
// Applies to the current context, windowed or offscreen.
bool PlatformSetSwapInterval(int interval);
// Destroys the context (if any) and the window, restoring the display mode and the cursor.
void PlatformDestroyWindow(PlatformWindow* window);
int PlatformGetDepthBits();

enum class PlatformEventType { Quit, KeyDown, LeftButtonDown, Other };

struct PlatformEvent {
    PlatformEventType type = PlatformEventType::Other;
    int virtualKey = 0;  // KeyDown: the key's virtual-key code, also for auto-repeats
};

// Takes one event from the queue. Returns false when the queue is empty.
bool PlatformPollEvent(PlatformEvent* event);

// True while the key is held, and also once after a press that was released before anyone
// asked (a quick tap between two polls still counts as down at the next poll).
bool PlatformIsKeyDown(int virtualKey);
