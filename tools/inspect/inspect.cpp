#include "inspect.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "base/assert.h"
#include "content/pathinfo.h"
#include "dump.h"
#include "jsonwriter.h"

namespace {

const char* kUsage =
    "usage: pindle-inspect COMMAND ...\n"
    "  dump FILE [--times T,...]    print a content file as JSON (.geo .skm .ani .cam .mat\n"
    "                               .png .jpg .scene); --times samples keyed Int and Float\n"
    "                               properties\n"
    "  eval FILE.ani --times T,...  node matrices of an animation instance at each time\n"
    "  cameras FILE.cam --animation FILE.ani --times T,... [--aspect A]\n"
    "                               the camera chosen at each time, with view and projection\n"
    "                               (aspect defaults to 16/9)\n"
    "  validate PATH                check a data folder or a demodat archive: every file loads\n"
    "                               and every required name exists; prints \"ok\" or one line\n"
    "                               per problem, and exits 0 only when there is none\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

float ParseNumber(const std::string& text, const std::string& option) {
    char* end = nullptr;
    errno = 0;
    float value = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        throw UsageError(option + ": \"" + text + "\" is not a number");
    return value;
}

std::vector<float> ParseTimes(const std::string& list) {
    std::vector<float> times;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) times.push_back(ParseNumber(item, "--times"));
    if (times.empty()) throw UsageError("--times needs at least one time");
    return times;
}

struct Options {
    std::vector<std::string> positional;
    std::vector<float> times;
    bool haveTimes = false;
    std::string animation;
    float aspect = 16.0f / 9.0f;
};

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--times") {
            o.times = ParseTimes(value());
            o.haveTimes = true;
        } else if (a == "--animation") {
            o.animation = value();
        } else if (a == "--aspect") {
            o.aspect = ParseNumber(value(), "--aspect");
        } else if (a.rfind("--", 0) == 0) {
            throw UsageError("unknown option " + a);
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

std::string LowerExtension(const std::string& path) {
    std::string e = PathInfo(path).GetExtension();
    for (char& c : e)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return e;
}

int Dump(const Options& o, JsonWriter& json) {
    if (o.positional.size() != 1) throw UsageError("dump takes one file");
    const std::string& path = o.positional[0];
    const std::string ext = LowerExtension(path);
    if (ext == "geo")
        DumpModel(path, o.times, json);
    else if (ext == "skm")
        DumpSkinnedMesh(path, o.times, json);
    else if (ext == "ani")
        DumpAnimation(path, json);
    else if (ext == "cam")
        DumpCameras(path, json);
    else if (ext == "mat")
        DumpMaterial(path, json);
    else if (ext == "png" || ext == "jpg")
        DumpImage(path, json);
    else if (ext == "scene")
        DumpScene(path, json);
    else
        throw UsageError("dump: no content kind has the extension \"" + ext + "\"");
    return 0;
}

}  // namespace

int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    try {
        const std::string& command = args[0];
        Options o = ParseOptions(args);
        FatalThrowScope fatal;
        if (command == "validate") {
            if (o.positional.size() != 1) throw UsageError("validate takes one path");
            std::vector<std::string> problems = ValidateDataFolder(o.positional[0]);
            for (const std::string& p : problems) out << p << "\n";
            if (problems.empty()) out << "ok\n";
            return problems.empty() ? 0 : 1;
        }
        std::ostringstream text;  // nothing reaches the output unless the whole command works
        JsonWriter json(text);
        if (command == "dump") {
            Dump(o, json);
        } else if (command == "eval") {
            if (o.positional.size() != 1 || !o.haveTimes)
                throw UsageError("eval takes one .ani file and --times");
            EvalAnimation(o.positional[0], o.times, json);
        } else if (command == "cameras") {
            if (o.positional.size() != 1 || o.animation.empty() || !o.haveTimes)
                throw UsageError("cameras takes one .cam file, --animation and --times");
            EvalCameras(o.positional[0], o.animation, o.times, o.aspect, json);
        } else {
            throw UsageError("unknown command " + command);
        }
        json.Finish();
        out << text.str();
        return 0;
    } catch (const UsageError& e) {
        err << "pindle-inspect: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const FatalError& e) {
        err << e.what() << "\n";
        return 1;
    }
}
