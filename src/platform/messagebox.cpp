#include "platform/messagebox.h"

#include <SDL.h>
#include <cstdlib>

bool PlatformHasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void PlatformShowFatalMessage(const char* title, const char* text) {
    const char* off = std::getenv("PINDLE_NO_MESSAGE_BOX");
    if ((off && *off && *off != '0') || !PlatformHasDisplay()) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, nullptr);
}
