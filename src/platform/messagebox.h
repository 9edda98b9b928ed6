// Presents a fatal report to a person. Shows a modal message box when a display exists and
// PINDLE_NO_MESSAGE_BOX is not set (tests and tools set it); otherwise does nothing.
#pragma once

void PlatformShowFatalMessage(const char* title, const char* text);

// True when an X11 or Wayland display can be reached.
bool PlatformHasDisplay();
