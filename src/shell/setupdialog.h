// The setup dialog: a picture ("setup.jpg" from the working folder), a list of the primary
// display's modes and "Start" and "Quit". The list holds every reported mode as
// "%dx%dx%dbpp %dHz", duplicates kept, sorted as text; the current mode is preselected by
// prefix. ShowSetupDialog returns true with the chosen mode after "Start"; "Quit" or closing the
// dialog returns false. The list logic is separate from the toolkit so that it can be tested.
#pragma once

#include <string>
#include <vector>

#include "platform/video.h"

std::string FormatModeEntry(const PlatformDisplayMode& mode);

// Inserts as a sorted combo box does: by case-insensitive text order, equal entries kept.
void InsertSorted(std::vector<std::string>* entries, const std::string& entry);

// Index of the entry that begins with prefix (case-insensitively), searching from the second
// entry to the end and then the first; -1 when none does.
int FindEntryWithPrefix(const std::vector<std::string>& entries, const std::string& prefix);

// Parses an entry back ("%d%*c%d%*c%d%*s %d%*s"); false when it does not hold four numbers.
bool ParseModeEntry(const std::string& entry, int* width, int* height, int* bits, int* refreshRate);

// The sorted list and the preselected index for the given modes and current mode.
struct ModeList {
    std::vector<std::string> entries;
    int selected = -1;
};
ModeList BuildModeList(const std::vector<PlatformDisplayMode>& modes,
                       const PlatformDisplayMode* current);

class SetupDialog {
public:
    int m_result = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    int m_refreshRate = 0;
};

bool ShowSetupDialog(int* width, int* height, int* bits, int* refreshRate);
