// Broken content, one file at a time: the built pindle-capture (which loads the show's content
// as the show does) must stop with the fatal exit code and name the file before its fatal
// report, and pindle-inspect validate must name the same file for the same folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "base/assert.h"
#include "content/unpackarchive.h"
#include "formats/zipwriter.h"
#include "inspect.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTop = "korvane_data_orbendale";

// Path below the data folder -> bytes.
using Files = std::map<std::string, std::string>;

// The built content, read once.
const Files& BuiltContent() {
    static const Files files = [] {
        TempDir dir;
        UnpackArchive(PINDLE_DEMODAT, dir.Path() + "/");
        Files read;
        const fs::path root = dir.File(kTop);
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                read[fs::relative(entry.path(), root).generic_string()] =
                    ReadFileBytes(entry.path().string());
        return read;
    }();
    return files;
}

void WriteFolder(const Files& files, const std::string& folder) {
    for (const auto& [path, bytes] : files) {
        fs::create_directories(fs::path(folder + "/" + path).parent_path());
        WriteFileBytes(folder + "/" + path, bytes);
    }
}

// The archive as pindle-content lays it out: each folder's entry before anything inside it.
void WriteArchive(const Files& files, const std::string& archive) {
    ZipWriter zip;
    ASSERT_TRUE(zip.Open(archive));
    std::set<std::string> folders;
    zip.AddFolder(std::string(kTop) + "/");
    for (const auto& [path, bytes] : files) {
        for (size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1))
            if (folders.insert(path.substr(0, slash)).second)
                zip.AddFolder(std::string(kTop) + "/" + path.substr(0, slash) + "/");
        zip.AddFile(std::string(kTop) + "/" + path, bytes, ZipWriter::Method::kStored);
    }
    ASSERT_TRUE(zip.Close());
}

using Damage = std::function<void(Files&)>;

Damage CutInHalf(const std::string& path) {
    return [path](Files& f) { f.at(path).resize(f.at(path).size() / 2); };
}
Damage Replace(const std::string& path, const std::string& bytes) {
    return [path, bytes](Files& f) { f.at(path) = bytes; };
}
Damage Remove(const std::string& path) {
    return [path](Files& f) { ASSERT_EQ(f.erase(path), 1u) << path; };
}
Damage Substitute(const std::string& path, const std::string& from, const std::string& to) {
    return [=](Files& f) {
        std::string& text = f.at(path);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << path << " has no " << from;
        text.replace(at, from.size(), to);
    };
}
Damage Append(const std::string& path, const std::string& tail) {
    return [=](Files& f) { f.at(path) += tail; };
}
// The first camera's id (after the 32-bit count) becomes one no animation node has.
Damage UnknownCameraId(const std::string& path) {
    return [path](Files& f) { f.at(path).replace(4, 4, std::string("\x0F\x27\x00\x00", 4)); };
}

struct Case {
    const char* what;
    const char* file;  // as every report should name it, below the data folder
    Damage damage;
    const char* fatal;     // in the show's fatal report, which follows the naming line
    const char* validate;  // how a line of validate's begins; null: validate can't tell
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"a PNG cut short", "textures/end.png", CutInHalf("textures/end.png"),
         "Assertion failed: m_endScreen != NULL", "textures/end.png: truncated"},
        {"a PNG that is text", "textures/maskovel.png",
         Replace("textures/maskovel.png", "no picture here\n"), "Assertion failed: m_mask != NULL",
         "textures/maskovel.png: not a PNG file"},
        {"a texture removed", "textures/loader.png", Remove("textures/loader.png"),
         "Assertion failed: m_startScreen != NULL",
         "loader: required, but textures/ has no loader.png"},
        {"a JPEG cut short", "loader.jpg", CutInHalf("loader.jpg"),
         "Assertion failed: loadingTex != NULL", "loader.jpg: truncated"},
        {"a mesh cut short", "models/Scene05.geo", CutInHalf("models/Scene05.geo"),
         "truncated at byte", "models/Scene05.geo: truncated at byte"},
        {"a skinned mesh cut short", "SkinnedMeshes/guy.skm", CutInHalf("SkinnedMeshes/guy.skm"),
         "truncated at byte", "SkinnedMeshes/guy.skm: truncated at byte"},
        {"an animation cut short", "animations/walk.ani", CutInHalf("animations/walk.ani"),
         "truncated at byte", "animations/walk.ani: truncated at byte"},
        {"a material with a value that is no number", "materials/amber_hull.mat",
         Substitute("materials/amber_hull.mat", "Type=\"Opacity\" Value=\"",
                    "Type=\"Opacity\" Value=\"lots"),
         "Assertion failed: false && \"wrong format\"",
         "materials/amber_hull.mat: Assertion failed: false && \"wrong format\""},
        {"a scene naming a mesh its model lacks", "Scenes/Scene02.scene",
         Substitute("Scenes/Scene02.scene", "mesh_name=\"sphere\"", "mesh_name=\"nothere\""),
         "Assertion failed: mesh != NULL",
         "Scenes/Scene02.scene: ribbon source \"nothere\" is not a mesh of Scene02.geo"},
        {"a scene file removed", "Scenes/Scene08.scene", Remove("Scenes/Scene08.scene"),
         "Assertion failed: false, file scenes.cpp",
         "Scenes/Scene08.scene: missing, or not a scene file"},
        {"a camera file cut short", "cameras/Scene03.cam", CutInHalf("cameras/Scene03.cam"),
         "truncated at byte", "cameras/Scene03.cam: truncated at byte"},
        {"a camera on a node the animation lacks", "cameras/Scene05.cam",
         UnknownCameraId("cameras/Scene05.cam"), "Assertion failed: childAnim != NULL",
         "cameras/Scene05.cam: Assertion failed: childAnim != NULL"},
        {"a camera file removed", "cameras/Scene06.cam", Remove("cameras/Scene06.cam"),
         "camera file missing or unreadable", "cameras/Scene06.cam: required, but missing"},
        {"a shader with a syntax error", "effects/Water.fpr",
         Append("effects/Water.fpr", "\nthis is no shader;\n"),
         "Assertion failed: false, file shader.cpp", nullptr},
    };
    return cases;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The content file a line of the program's output names at its start, after the log's time
// stamp and the capture's own prefixes: "textures/end.png" for
// "[12:00:00-T    ] textures/end.png: truncated"; "" when it names none there.
std::string NamedFile(std::string line) {
    if (!line.empty() && line[0] == '[' && line.find("] ") != std::string::npos)
        line = line.substr(line.find("] ") + 2);
    for (const char* prefix : {"pindle-capture: ", "the show did not start: "})
        if (line.rfind(prefix, 0) == 0) line = line.substr(std::string(prefix).size());
    static const std::regex named(
        R"(^((?:[A-Za-z0-9_]+/)*[A-Za-z0-9_]+\.(?:png|jpg|geo|skm|ani|mat|scene|cam|vpr|fpr|mp3)): )");
    std::smatch match;
    return std::regex_search(line, match, named) ? match[1].str() : std::string();
}

std::string Validate(const std::string& folder, int* code) {
    std::ostringstream out, err;
    *code = RunInspect({"validate", folder}, out, err);
    return out.str() + err.str();
}

bool HasLineStartingWith(const std::string& text, const std::string& start) {
    for (const std::string& line : Lines(text))
        if (line.rfind(start, 0) == 0) return true;
    return false;
}

// One case: the show's loading through the capture, then validate on the same files.
void CheckCase(const Case& c) {
    Files files = BuiltContent();
    c.damage(files);
    ProgramSandbox box;
    WriteArchive(files, box.File("work/demodat"));

    // Were the content to load, one frame would be timed.
    std::string out;
    EXPECT_EQ(box.Run({"--size", "64x36", "--fps", "1", "--to", "1", "--stats"}, &out),
              kFatalExitCode)
        << out;
    const std::vector<std::string> lines = Lines(out);
    size_t naming = 0;
    while (naming < lines.size() && NamedFile(lines[naming]).empty()) ++naming;
    ASSERT_LT(naming, lines.size()) << "no line names a file:\n" << out;
    EXPECT_EQ(NamedFile(lines[naming]), c.file) << out;
    bool fatalFollows = false;
    for (size_t i = naming; i < lines.size(); ++i)
        fatalFollows = fatalFollows || lines[i].find(c.fatal) != std::string::npos;
    EXPECT_TRUE(fatalFollows) << "no \"" << c.fatal << "\" after the naming line:\n" << out;

    if (!c.validate) return;
    WriteFolder(files, box.File("broken"));
    int code = 0;
    const std::string report = Validate(box.File("broken"), &code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(HasLineStartingWith(report, c.validate)) << report;
}

TEST(BrokenContent, TheShowAndValidateNameTheFileAtFault) {
    {
        TempDir good;
        WriteFolder(BuiltContent(), good.Path());
        int code = 0;
        ASSERT_EQ(Validate(good.Path(), &code), "ok\n") << "the built content must validate";
    }
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        CheckCase(c);
    }
}

// One run lists every broken file of a folder, whatever kind each is.
TEST(BrokenContent, ValidateListsEveryBrokenFileOfAFolderAtOnce) {
    Files files = BuiltContent();
    for (const Case& c : Cases())
        if (c.validate) c.damage(files);
    TempDir dir;
    WriteFolder(files, dir.Path());
    int code = 0;
    const std::string report = Validate(dir.Path(), &code);
    EXPECT_EQ(code, 1);
    for (const Case& c : Cases()) {
        if (c.validate) {
            EXPECT_TRUE(HasLineStartingWith(report, c.validate)) << c.what << "\n" << report;
        }
    }
}

}  // namespace
