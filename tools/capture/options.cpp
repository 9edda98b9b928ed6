#include "options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

const char* const kCaptureUsage =
    "usage: pindle-capture [OPTIONS]\n"
    "Renders the show without a display, with a fixed frame step, and writes what the window\n"
    "would have shown. Needs the demodat archive (from the working folder by default).\n"
    "\n"
    "  --out FILE.mp4          H.264 video (yuv420p) with the music, cut to the same range\n"
    "  --frames DIR            one PNG per frame, names sorting in time order\n"
    "  --at T,...              with --frames: only the frames at these times (the show is still\n"
    "                          stepped from --from at the frame rate up to each of them)\n"
    "  --contact-sheet FILE    a PNG grid of frames at even intervals, each labelled with its\n"
    "                          time\n"
    "  --grid CxR              columns and rows of the contact sheet (default 4x4)\n"
    "  --size WxH              frame size (default 1280x720)\n"
    "  --fps N                 frames per second (default 60)\n"
    "  --from S                first frame's time in seconds (default 0)\n"
    "  --to S                  end time in seconds, not included (default: the end of the music)\n"
    "  --archive PATH          the archive to unpack (default: demodat in the working folder)\n"
    "  --stats                 at the end, a table per scene on standard output: frames, median\n"
    "                          and 95th percentile frame time, and the share of the scene pass,\n"
    "                          the glow chain and the overlays (timed between GL finishes, which\n"
    "                          costs some speed); without an output it only renders the range\n"
    "  --help                  this text\n"
    "\n"
    "Progress goes to standard error. Ctrl-C stops after the current frame and closes every\n"
    "output properly, so the video plays with the frames made so far.\n";

namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

double ParseSeconds(const std::string& text, const std::string& option) {
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
        throw UsageError(option + ": \"" + text + "\" is not a number of seconds");
    if (value < 0.0) throw UsageError(option + ": " + text + " is before the start of the show");
    return value;
}

int ParseCount(const std::string& text, const std::string& option, int low, int high) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < low || value > high)
        throw UsageError(option + ": \"" + text + "\" is not a whole number from " +
                         std::to_string(low) + " to " + std::to_string(high));
    return static_cast<int>(value);
}

// "WxH", the x in either case.
void ParsePair(const std::string& text, const std::string& option, int low, int high, int* a,
               int* b) {
    size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        throw UsageError(option + ": \"" + text + "\" is not of the form WxH");
    *a = ParseCount(text.substr(0, x), option, low, high);
    *b = ParseCount(text.substr(x + 1), option, low, high);
}

std::vector<double> ParseTimes(const std::string& list) {
    std::vector<double> times;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) times.push_back(ParseSeconds(item, "--at"));
    if (times.empty()) throw UsageError("--at needs at least one time");
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return times;
}

void Parse(const std::vector<std::string>& args, CaptureOptions* o) {
    bool haveAt = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o->help = true;
        } else if (a == "--out") {
            o->out = value();
        } else if (a == "--frames") {
            o->framesDir = value();
        } else if (a == "--at") {
            o->at = ParseTimes(value());
            haveAt = true;
        } else if (a == "--contact-sheet") {
            o->contactSheet = value();
        } else if (a == "--grid") {
            ParsePair(value(), a, 1, 64, &o->sheetColumns, &o->sheetRows);
        } else if (a == "--size") {
            ParsePair(value(), a, 1, 8192, &o->width, &o->height);
        } else if (a == "--fps") {
            o->fps = ParseCount(value(), a, 1, 1000);
        } else if (a == "--from") {
            o->from = ParseSeconds(value(), a);
        } else if (a == "--to") {
            o->to = ParseSeconds(value(), a);
        } else if (a == "--stats") {
            o->stats = true;
        } else if (a == "--archive") {
            o->archive = value();
            if (o->archive.empty()) throw UsageError("--archive needs a path");
        } else {
            throw UsageError("unknown option " + a);
        }
    }
    if (o->help) return;
    if (haveAt && o->framesDir.empty()) throw UsageError("--at needs --frames DIR");
    if (o->out.empty() && o->framesDir.empty() && o->contactSheet.empty() && !o->stats)
        throw UsageError("nothing to write: give --out, --frames or --contact-sheet (or --stats)");
    if (haveAt && !o->out.empty())
        throw UsageError("--at picks single frames for --frames; it can't go with --out");
    if (!o->out.empty() && (o->width % 2 != 0 || o->height % 2 != 0))
        throw UsageError("--out needs an even width and height (H.264 in yuv420p)");
    if (o->to >= 0.0 && o->to <= o->from) throw UsageError("--to must come after --from");
    for (double t : o->at) {
        if (t < o->from) throw UsageError("--at: a time before --from");
        if (o->to >= 0.0 && t >= o->to) throw UsageError("--at: a time at or after --to");
    }
}

}  // namespace

bool ParseCaptureOptions(const std::vector<std::string>& args, CaptureOptions* options,
                         std::string* error) {
    *options = CaptureOptions{};
    try {
        Parse(args, options);
    } catch (const UsageError& e) {
        *error = e.what();
        return false;
    }
    return true;
}
