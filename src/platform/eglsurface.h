// The offscreen stand-in for a window, for the platform layer's own use: an EGL display on
// Mesa's surfaceless platform (or, where that is missing or refuses, the first EGL device that
// works), a pbuffer of a fixed size and a compatibility-profile GL context on it. A pbuffer is
// never presented, so its back buffer still holds the frame after a swap. No X server is used,
// also where one is running.
#pragma once

#include <string>

struct EglSurface;

// Picks a config with the colour depth asked for (16: 5-6-5, else 8 bits a channel), trying
// depth buffers of 32, 24 and 16 bits, and makes the pbuffer. Returns null with error filled
// when nothing fits; nothing is left behind then. depthBits gets the depth buffer's bits.
EglSurface* EglCreateSurface(int width, int height, int colorBits, int* depthBits,
                             std::string* error);
// Creates the context and makes it current on the pbuffer.
bool EglCreateContext(EglSurface* surface, std::string* error);
void EglSwap(EglSurface* surface);
// Releases the context, the pbuffer and the display. Safe with null.
void EglDestroySurface(EglSurface* surface);
// For the current EGL context, if any; false when there is none.
bool EglSetSwapInterval(int interval);
