// The capture tool's command line: what to render (size, frame rate, time range) and where the
// frames go (a video, PNG files, single frames, a contact sheet). Parsing checks every value and
// every combination, so a bad command line stops before any content is loaded.
#pragma once

#include <string>
#include <vector>

#include "content/showdata.h"

struct CaptureOptions {
    std::string archive = kArchiveName;  // relative to the working folder unless absolute
    int width = 1280;
    int height = 720;
    int fps = 60;
    double from = 0.0;
    double to = -1.0;          // negative: the end of the music
    std::string out;           // MP4 file
    std::string framesDir;     // one PNG per frame
    std::vector<double> at;    // with framesDir: only these times, ascending, no duplicates
    std::string contactSheet;  // PNG file
    int sheetColumns = 4;
    int sheetRows = 4;
    bool stats = false;  // a table of frame times per scene at the end
    bool help = false;
};

extern const char* const kCaptureUsage;

// Fills options from the arguments (without the program name). False with a one-line reason in
// error when an option is unknown, lacks its value, has a value out of range, or the options
// don't go together (nothing to write nor --stats, --at without --frames or with --out, an odd size
// for
// --out, --to not after --from). --help sets help and accepts anything else.
bool ParseCaptureOptions(const std::vector<std::string>& args, CaptureOptions* options,
                         std::string* error);
