// The show's start-up sequence and main loop: log checkpoints, the setup dialog, unpacking
// "demodat" into the data folder, the controller's three set-up steps, the music, then frames
// at the music's time until Escape or a quit message. A failed set-up step tears the controller
// down before the fatal report, so the display mode is already restored.
#pragma once

#include <string>

// The data folder: the temporary folder followed by "korvane_data_orbendale/".
extern std::string g_dataDir;

void StartNormalMode();
