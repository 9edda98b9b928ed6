// Start-up GL work of the controller: loading the entry points, the swap interval, the
// default render state and the debug-output hook. Needs the window's context current.
#pragma once

#include <string>

// Loads the GL entry points. Accepts GLEW's success and its "no GLX display" result on an EGL
// context (the entry points are loaded then too), then checks the ones the program uses.
bool LoadGlEntryPoints(std::string* error);

const char* GlVendor();
const char* GlVersion();

// Viewport, smooth shading, black clear colour, clear depth 1, depth test less-or-equal,
// nicest hints.
void SetDefaultGlState(int width, int height);

// Turns on synchronous debug output with a callback that ignores every message.
void InstallGlDebugOutput();

// Viewport, depth and colour writes on, clears colour and depth.
void ClearFrame(int width, int height);

// Viewport, depth writes and all four colour channels on: the start of every frame.
void PrepareFrame(int width, int height);
