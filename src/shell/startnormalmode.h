// The show as a person starts it: the setup dialog, the shared start-up (startup.h) on a
// fullscreen window, the music, then frames at the music's time until Escape or a quit message.
// A failed set-up step tears the controller down before the fatal report, so the display mode is
// already restored.
#pragma once

#include <string>

// The data folder: the temporary folder followed by the archive's top folder and '/'.
extern std::string g_dataDir;

void StartNormalMode();
