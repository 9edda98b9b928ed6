#include "platform/video.h"

#include <SDL.h>

#include <array>
#include <atomic>

#include "platform/eglsurface.h"

struct PlatformWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool fullscreen = false;
    EglSurface* offscreen = nullptr;  // set instead of window for an offscreen request
};

namespace {

int g_depthBits = 0;

// Key presses seen while events were pumped, per scancode, until the next query of that key.
std::array<std::atomic<bool>, SDL_NUM_SCANCODES> g_pressLatch{};

int SDLCALL WatchKeys(void*, SDL_Event* event) {
    if (event->type == SDL_KEYDOWN) {
        SDL_Scancode sc = event->key.keysym.scancode;
        if (sc > SDL_SCANCODE_UNKNOWN && sc < SDL_NUM_SCANCODES) g_pressLatch[sc] = true;
    }
    return 1;
}

// Virtual-key code of an SDL key, as the key-down message would carry it.
int VirtualKeyFromSdl(const SDL_Keysym& keysym) {
    SDL_Keycode key = keysym.sym;
    if (key >= SDLK_a && key <= SDLK_z) return 0x41 + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return 0x30 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_KP_0:
            return 0x60;
        case SDLK_LEFT:
            return 0x25;
        case SDLK_UP:
            return 0x26;
        case SDLK_RIGHT:
            return 0x27;
        case SDLK_DOWN:
            return 0x28;
        case SDLK_ESCAPE:
            return 0x1B;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 0x0D;
        case SDLK_SPACE:
            return 0x20;
        case SDLK_TAB:
            return 0x09;
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_LALT:
        case SDLK_RALT:
            return 0x12;
        case SDLK_PAGEUP:
            return 0x21;
        case SDLK_PAGEDOWN:
            return 0x22;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
            return 0x2E;
        default:
            return 0;
    }
}

// Scancodes that a virtual-key code names (two for the side-neutral modifiers).
int ScancodesForVirtualKey(int vk, SDL_Scancode out[2]) {
    auto fromKey = [](SDL_Keycode key) { return SDL_GetScancodeFromKey(key); };
    if (vk >= 0x41 && vk <= 0x5A) return out[0] = fromKey(SDLK_a + (vk - 0x41)), 1;
    if (vk >= 0x30 && vk <= 0x39) return out[0] = fromKey(SDLK_0 + (vk - 0x30)), 1;
    if (vk >= 0x70 && vk <= 0x7B) return out[0] = fromKey(SDLK_F1 + (vk - 0x70)), 1;
    switch (vk) {
        case 0x25:
            return out[0] = SDL_SCANCODE_LEFT, 1;
        case 0x26:
            return out[0] = SDL_SCANCODE_UP, 1;
        case 0x27:
            return out[0] = SDL_SCANCODE_RIGHT, 1;
        case 0x28:
            return out[0] = SDL_SCANCODE_DOWN, 1;
        case 0x1B:
            return out[0] = SDL_SCANCODE_ESCAPE, 1;
        case 0x0D:
            return out[0] = SDL_SCANCODE_RETURN, 1;
        case 0x20:
            return out[0] = SDL_SCANCODE_SPACE, 1;
        case 0xA0:
            return out[0] = SDL_SCANCODE_LSHIFT, 1;
        case 0xA1:
            return out[0] = SDL_SCANCODE_RSHIFT, 1;
        case 0xA2:
            return out[0] = SDL_SCANCODE_LCTRL, 1;
        case 0xA3:
            return out[0] = SDL_SCANCODE_RCTRL, 1;
        case 0x10:
            return out[0] = SDL_SCANCODE_LSHIFT, out[1] = SDL_SCANCODE_RSHIFT, 2;
        case 0x11:
            return out[0] = SDL_SCANCODE_LCTRL, out[1] = SDL_SCANCODE_RCTRL, 2;
        default:
            return 0;
    }
}

void SetPixelFormatAttributes(int colorBits, int depthBits) {
    int channel = colorBits >= 24 ? 8 : 5;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colorBits >= 24 ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// Bits per pixel as a desktop reports it: 32 for the 24-bit colour modes stored in four bytes.
int BitsPerPixel(const SDL_DisplayMode& m) {
    return static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8;
}

}  // namespace

bool PlatformInitVideo() {
    static const bool ok = [] {
        // Signals become the quit event (SDL's default); keep the screen saver away.
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
        SDL_DisableScreenSaver();
        SDL_AddEventWatch(WatchKeys, nullptr);
        return true;
    }();
    return ok;
}

std::vector<PlatformDisplayMode> PlatformListDisplayModes() {
    std::vector<PlatformDisplayMode> modes;
    if (!PlatformInitVideo()) return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) break;
        modes.push_back({m.w, m.h, BitsPerPixel(m), m.refresh_rate});
    }
    return modes;
}

bool PlatformGetCurrentDisplayMode(PlatformDisplayMode* mode) {
    SDL_DisplayMode m;
    if (!PlatformInitVideo() || SDL_GetCurrentDisplayMode(0, &m) != 0) return false;
    *mode = {m.w, m.h, BitsPerPixel(m), m.refresh_rate};
    return true;
}

PlatformWindow* PlatformCreateWindow(const PlatformWindowRequest& request, std::string* error) {
    if (request.offscreen) {
        if (request.fullscreen) {
            *error = "an offscreen surface can't be fullscreen";
            return nullptr;
        }
        int depth = 0;
        EglSurface* surface =
            EglCreateSurface(request.width, request.height, request.colorBits, &depth, error);
        if (!surface) return nullptr;
        g_depthBits = depth;
        auto* result = new PlatformWindow;
        result->offscreen = surface;
        return result;
    }
    if (!PlatformInitVideo()) {
        *error = SDL_GetError();
        return nullptr;
    }
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    SDL_Window* window = nullptr;
    for (int depth : {32, 24, 16}) {
        SetPixelFormatAttributes(request.colorBits, depth);
        window = SDL_CreateWindow(request.title, 0, 0, request.width, request.height, flags);
        if (window) {
            g_depthBits = depth;
            break;
        }
    }
    if (!window) {
        *error = SDL_GetError();
        return nullptr;
    }
    auto* result = new PlatformWindow{window, nullptr, false};
    if (request.fullscreen) {
        SDL_DisplayMode wanted{};
        wanted.w = request.width;
        wanted.h = request.height;
        wanted.refresh_rate = request.refreshRate;
        SDL_DisplayMode closest;
        if (!SDL_GetClosestDisplayMode(0, &wanted, &closest) || closest.w != request.width ||
            closest.h != request.height || SDL_SetWindowDisplayMode(window, &closest) != 0 ||
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
            *error = std::string("display mode refused: ") + SDL_GetError();
            PlatformDestroyWindow(result);
            return nullptr;
        }
        result->fullscreen = true;
        SDL_ShowCursor(SDL_DISABLE);
    }
    return result;
}

bool PlatformCreateGLContext(PlatformWindow* window, std::string* error) {
    if (window->offscreen) return EglCreateContext(window->offscreen, error);
    window->context = SDL_GL_CreateContext(window->window);
    if (!window->context || SDL_GL_MakeCurrent(window->window, window->context) != 0) {
        *error = SDL_GetError();
        return false;
    }
    return true;
}

void PlatformShowWindow(PlatformWindow* window) {
    if (window->offscreen) return;
    SDL_ShowWindow(window->window);
    SDL_RaiseWindow(window->window);
    SDL_SetWindowInputFocus(window->window);
}

void PlatformSwapWindow(PlatformWindow* window) {
    if (window->offscreen)
        EglSwap(window->offscreen);
    else
        SDL_GL_SwapWindow(window->window);
}

bool PlatformSetSwapInterval(int interval) {
    if (SDL_GL_GetCurrentContext()) return SDL_GL_SetSwapInterval(interval) == 0;
    return EglSetSwapInterval(interval);
}

void PlatformDestroyWindow(PlatformWindow* window) {
    if (!window) return;
    EglDestroySurface(window->offscreen);
    if (window->fullscreen) {
        SDL_SetWindowFullscreen(window->window, 0);
        SDL_ShowCursor(SDL_ENABLE);
    }
    if (window->context) {
        SDL_GL_MakeCurrent(window->window, nullptr);
        SDL_GL_DeleteContext(window->context);
    }
    if (window->window) SDL_DestroyWindow(window->window);
    delete window;
}

int PlatformGetDepthBits() { return g_depthBits; }

bool PlatformPollEvent(PlatformEvent* event) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    *event = PlatformEvent{};
    switch (e.type) {
        case SDL_QUIT:
            event->type = PlatformEventType::Quit;
            break;
        case SDL_KEYDOWN:
            event->type = PlatformEventType::KeyDown;
            event->virtualKey = VirtualKeyFromSdl(e.key.keysym);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) event->type = PlatformEventType::LeftButtonDown;
            break;
        default:
            break;
    }
    return true;
}

bool PlatformIsKeyDown(int virtualKey) {
    SDL_Scancode codes[2];
    int n = ScancodesForVirtualKey(virtualKey, codes);
    int numKeys = 0;
    const Uint8* state = SDL_GetKeyboardState(&numKeys);
    bool down = false;
    for (int i = 0; i < n; ++i) {
        if (codes[i] <= SDL_SCANCODE_UNKNOWN || codes[i] >= numKeys) continue;
        bool latched = g_pressLatch[codes[i]].exchange(false);
        down = down || state[codes[i]] || latched;
    }
    return down;
}
