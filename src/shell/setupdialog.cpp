#include "shell/setupdialog.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

#include "content/imageloader.h"
#include "platform/setupwindow.h"

std::string FormatModeEntry(const PlatformDisplayMode& mode) {
    char text[64];
    std::snprintf(text, sizeof text, "%dx%dx%dbpp %dHz", mode.width, mode.height, mode.bitsPerPixel,
                  mode.refreshRate);
    return text;
}

void InsertSorted(std::vector<std::string>* entries, const std::string& entry) {
    auto at = std::upper_bound(entries->begin(), entries->end(), entry,
                               [](const std::string& a, const std::string& b) {
                                   return strcasecmp(a.c_str(), b.c_str()) < 0;
                               });
    entries->insert(at, entry);
}

int FindEntryWithPrefix(const std::vector<std::string>& entries, const std::string& prefix) {
    const int count = static_cast<int>(entries.size());
    for (int step = 1; step <= count; ++step) {
        int i = step % count;  // 1, 2, ..., count - 1, then 0
        if (strncasecmp(entries[i].c_str(), prefix.c_str(), prefix.size()) == 0) return i;
    }
    return -1;
}

bool ParseModeEntry(const std::string& entry, int* width, int* height, int* bits,
                    int* refreshRate) {
    return std::sscanf(entry.c_str(), "%d%*c%d%*c%d%*s %d%*s", width, height, bits, refreshRate) ==
           4;
}

ModeList BuildModeList(const std::vector<PlatformDisplayMode>& modes,
                       const PlatformDisplayMode* current) {
    ModeList list;
    for (const PlatformDisplayMode& mode : modes)
        InsertSorted(&list.entries, FormatModeEntry(mode));
    if (current) list.selected = FindEntryWithPrefix(list.entries, FormatModeEntry(*current));
    return list;
}

bool ShowSetupDialog(int* width, int* height, int* bits, int* refreshRate) {
    SetupDialog dialog;
    PlatformDisplayMode current;
    bool haveCurrent = PlatformGetCurrentDisplayMode(&current);
    ModeList list = BuildModeList(PlatformListDisplayModes(), haveCurrent ? &current : nullptr);

    // A missing or unreadable picture leaves only the black band.
    ImageLoader::Pixels pixels;
    int pictureWidth = 0, pictureHeight = 0, bytesPerPixel = 0;
    PlatformPicture picture;
    bool havePicture =
        ImageLoader::Load("setup.jpg", pixels, pictureWidth, pictureHeight, bytesPerPixel) &&
        bytesPerPixel == 3;
    if (havePicture) {
        picture.rgb = pixels.get();
        picture.width = pictureWidth;
        picture.height = pictureHeight;
    }

    int chosen =
        PlatformRunSetupDialog(list.entries, list.selected, havePicture ? &picture : nullptr);
    if (chosen >= 0 && ParseModeEntry(list.entries[chosen], &dialog.m_width, &dialog.m_height,
                                      &dialog.m_bits, &dialog.m_refreshRate)) {
        dialog.m_result = 1;
    }
    if (dialog.m_result != 1) return false;
    *width = dialog.m_width;
    *height = dialog.m_height;
    *bits = dialog.m_bits;
    *refreshRate = dialog.m_refreshRate;
    return true;
}
