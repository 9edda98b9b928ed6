// The programs' shared start-up: unpacking the archive into the data folder, then the
// controller's three set-up steps (the surface, the content, the drawing routines). The show and
// the capture both start through here, so a step added for one is there for the other. What
// differs stays with each program: the show's setup dialog and audio output, the capture's
// offscreen surface and outputs.
#pragma once

#include <string>

class DemoController;

// Where the show draws: a fullscreen window in that display mode, or a window (or, with
// offscreen surfaces switched on, a surface) of that size.
struct ShowSurface {
    int width = 0;
    int height = 0;
    int bits = 32;
    int refreshRate = 0;
    bool fullscreen = false;
};

// Unpacks the archive into the temporary folder and returns the data folder, ending in '/'.
// A bad archive is fatal, with the entry named.
std::string UnpackShowData(const std::string& archivePath);

// Sets the controller up on the surface with the content of the data folder. Returns it, or
// null with *error naming the step that failed; the controller is gone again then.
DemoController* StartShow(const ShowSurface& surface, const std::string& dataDir,
                          std::string* error);

// Releases and destroys the controller StartShow made. Safe to repeat.
void StopShow();
