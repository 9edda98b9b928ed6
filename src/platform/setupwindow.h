// The setup dialog's window: the picture with a black band across its bottom, a drop-down list
// of display modes, "Start" and "Quit". It runs modally and returns the chosen entry after
// "Start", or -1 after "Quit", closing the window, or a quit signal. "Start" stays disabled
// while no entry is selected. Tab goes "Start", "Quit", the list, and "Start" has the focus as
// the dialog opens. Return and Escape do nothing.
#pragma once

#include <string>
#include <vector>

struct PlatformPicture {
    const unsigned char* rgb = nullptr;  // 3 bytes a pixel, rows top first
    int width = 0;
    int height = 0;
};

// False when the toolkit cannot reach a display.
bool PlatformInitDialogs();

// picture may be null (no picture: only the black band is drawn).
int PlatformRunSetupDialog(const std::vector<std::string>& entries, int selected,
                           const PlatformPicture* picture);
