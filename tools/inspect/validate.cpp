// validate: loads every file of every content folder with the engine's own loaders and checks
// that every name the show looks up exists, listing each problem instead of stopping at the
// first.
#include <sys/stat.h>

#include <functional>
#include <set>

#include "base/assert.h"
#include "camera/animcameramanager.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "content/fileutils.h"
#include "content/imageloader.h"
#include "content/materialloader.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "content/pathinfo.h"
#include "content/showdata.h"
#include "content/skinnedmeshdata.h"
#include "content/unpackarchive.h"
#include "inspect.h"
#include "platform/filesystem.h"
#include "platform/mp3decoder.h"
#include "scene/scenedata.h"
#include "scene/sceneloader.h"
#include "tempfolder.h"

namespace {

// The names the show looks up, by kind.
const char* const kScenes[] = {"Scene01", "Scene02", "Scene03", "Scene05", "SceneDupa",
                               "Scene06", "Scene07", "Scene08", "Scene09"};
const char* const kShaders[] = {"VectorGraphics",
                                "Sprite",
                                "Downsample",
                                "Blit",
                                "BlitOpacity",
                                "HoriBlur",
                                "VertBlur",
                                "Add",
                                "Black",
                                "Color",
                                "Diff",
                                "DiffNorm",
                                "DiffLightMap",
                                "DiffNormLightmap",
                                "ShadowMap",
                                "SM_Color",
                                "SpecularColored",
                                "SM_DiffNorm",
                                "SM_DiffNormLightmap",
                                "SpecularBlur",
                                "StaticSpecularBlur",
                                "Skinned",
                                "SkinnedRibbon",
                                "Water"};
const char* const kTextures[] = {"end", "loader", "maskovel"};
const char* const kModels[] = {"Train01", "Train02"};
const char* const kAnimations[] = {"Train01", "Train02", "walk", "jump"};
constexpr int kMaxBones = 41;
constexpr double kMinMusicSeconds = kEndFadeEnd;

class Validator {
public:
    explicit Validator(std::string folder) : m_folder(std::move(folder)) {
        if (!m_folder.empty() && m_folder.back() != '/') m_folder += '/';
    }

    std::vector<std::string> Run() {
        LoadKind("models/", {"*.geo"}, &m_models, [](const std::string& path) {
            LoadModel(path);
            return std::string();
        });
        LoadKind("textures/", {"*.png", "*.jpg"}, &m_textures, CheckImage);
        LoadKind("effects/", {"*.vpr"}, &m_shaders, [](const std::string& path) {
            std::string fragment = path.substr(0, path.size() - 4) + ".fpr";
            return CheckSource(path) + CheckSource(fragment);
        });
        LoadKind("animations/", {"*.ani"}, &m_animations, [](const std::string& path) {
            return LoadAnimation(path) ? std::string() : std::string("cannot be read");
        });
        LoadKind("materials/", {"*.mat"}, &m_materials, [](const std::string& path) {
            return LoadMaterial(path) ? std::string() : std::string("cannot be read as a material");
        });
        LoadKind("SkinnedMeshes/", {"*.skm"}, &m_skinnedMeshes, [](const std::string& path) {
            auto mesh = LoadSkinnedMesh(path);
            if (mesh->GetBonesCount() > kMaxBones)
                return std::to_string(mesh->GetBonesCount()) + " bones, more than " +
                       std::to_string(kMaxBones);
            return std::string();
        });

        for (const char* name : kShaders) Require(m_shaders, name, "effects/", ".vpr");
        for (const char* name : kTextures) Require(m_textures, name, "textures/", ".png or .jpg");
        for (const char* name : kModels) Require(m_models, name, "models/", ".geo");
        for (const char* name : kAnimations) Require(m_animations, name, "animations/", ".ani");
        Require(m_skinnedMeshes, "guy", "SkinnedMeshes/", ".skm");
        float previousStart = -1.0f;
        for (const char* scene : kScenes) {
            Require(m_models, scene, "models/", ".geo");
            Require(m_animations, scene, "animations/", ".ani");
            CheckCameras(scene, &previousStart);
            CheckSceneFile(scene);
        }
        CheckRootFile("loader.jpg", CheckImage);
        CheckRootFile(kMusicFile, [](const std::string& path) {
            PlatformMp3Decoder decoder;
            std::string error;
            if (!decoder.Open(path, &error)) return "cannot be decoded: " + error;
            double seconds = static_cast<double>(decoder.LengthFrames()) / decoder.Rate();
            if (seconds < kMinMusicSeconds)
                return "lasts " + std::to_string(seconds) + " s, less than the show's " +
                       std::to_string(kMinMusicSeconds) + " s";
            return std::string();
        });
        return m_problems;
    }

private:
    using Check = std::function<std::string(const std::string& path)>;

    // The image loader's reason: "not a PNG file", "truncated", ...
    static std::string CheckImage(const std::string& path) {
        ImageLoader::Pixels pixels;
        int w, h, bpp;
        std::string reason;
        return ImageLoader::Load(path, pixels, w, h, bpp, &reason) ? std::string() : reason;
    }

    static std::string CheckSource(const std::string& path) {
        std::unique_ptr<unsigned char[]> data;
        size_t size = 0;
        if (!ReadWholeFile(path, data, size)) return PathInfo(path).GetFileName() + " is missing; ";
        if (size == 0) return PathInfo(path).GetFileName() + " is empty; ";
        return std::string();
    }

    // Runs check and records its complaint, or the fatal report it raised, under label.
    void Try(const std::string& label, const std::function<std::string()>& check) {
        std::string problem;
        try {
            problem = check();
        } catch (const FatalError& e) {
            problem = e.what();
        }
        // Reports of the binary readers already start with the file's name.
        if (problem.rfind(label + ": ", 0) == 0) problem = problem.substr(label.size() + 2);
        // Checks that find several problems join them with "; ": one line each.
        size_t from = 0;
        while (from < problem.size()) {
            size_t end = problem.find("; ", from);
            if (end == std::string::npos) end = problem.size();
            if (end > from) m_problems.push_back(label + ": " + problem.substr(from, end - from));
            from = end + 2;
        }
    }

    void LoadKind(const std::string& sub, std::initializer_list<const char*> masks,
                  std::set<std::string>* names, const Check& check) {
        std::vector<std::string> files;
        for (const char* mask : masks) ListFiles(files, m_folder + sub, mask);
        for (const std::string& file : files) {
            PathInfo info(m_folder + sub + file);
            names->insert(info.GetName());
            Try(sub + file, [&] { return check(PlatformResolvePath(info.GetFullPath())); });
        }
    }

    void Require(const std::set<std::string>& names, const std::string& name,
                 const std::string& sub, const std::string& extensions) {
        if (names.count(name) == 0)
            m_problems.push_back(name + ": required, but " + sub + " has no " + name + extensions);
    }

    // The scene file loads, names meshes of the scene's own model only, and keeps the rules
    // the scene code relies on.
    void CheckSceneFile(const std::string& scene) {
        const std::string relative = "Scenes/" + scene + ".scene";
        Try(relative, [&]() -> std::string {
            std::unique_ptr<SceneData> data =
                ParseSceneFile(PlatformResolvePath(m_folder + relative));
            if (!data) return "missing, or not a scene file";
            std::unique_ptr<Model> model;
            if (m_models.count(scene))
                model = LoadModel(PlatformResolvePath(m_folder + "models/" + scene + ".geo"));
            std::string problems;
            auto needMesh = [&](const std::string& mesh, const char* what) {
                if (model && !model->FindMesh(mesh))
                    problems += std::string(what) + " \"" + mesh + "\" is not a mesh of " + scene +
                                ".geo; ";
            };
            for (const RibbonData& r : data->ribbons) {
                if (r.Source) needMesh(r.Source->MeshName, "ribbon source");
                if (r.Destination) needMesh(r.Destination->MeshName, "ribbon destination");
                if (r.StaticSource) needMesh(r.StaticSource->MeshName, "static source");
                if (r.StaticDestination)
                    needMesh(r.StaticDestination->MeshName, "static destination");
                if (!r.Path) {
                    problems += "a ribbon without a path; ";
                    continue;
                }
                const size_t keys = r.Path->Keys.size();
                const bool morph = r.Source && r.Destination;
                if (keys < (morph ? 4u : 2u))
                    problems += "a ribbon path of " + std::to_string(keys) + " keys (needs " +
                                (morph ? "4" : "2") + "); ";
                else if (r.Path->Keys[morph ? keys / 2 - 1 : keys - 1].time == 0.0f)
                    problems += "a ribbon path whose last key is at time 0; ";
            }
            for (const StaticData& st : data->statics) needMesh(st.MeshName, "static");
            if (scene == std::string("Scene07")) {
                bool water = false;
                for (const StaticData& st : data->statics) water = water || st.MeshName == "woda";
                if (!water) problems += "no static \"woda\" for the water; ";
            }
            if (scene == std::string("SceneDupa")) {
                const GuyData* guy = nullptr;
                for (const GuyData& g : data->guys)
                    if (g.Id == "1") guy = &g;
                if (!guy) {
                    problems += "no guy with id 1 (\"scene.guy.1\"); ";
                } else if (!guy->RibbonName.empty()) {
                    bool found = false;
                    for (const RibbonData& r : data->ribbons)
                        found = found ||
                                (r.Destination &&
                                 r.Destination->MeshName == "scene.morph.dst." + guy->RibbonName);
                    if (!found)
                        problems += "no ribbon with destination \"scene.morph.dst." +
                                    guy->RibbonName + "\" for the guy; ";
                }
            }
            return problems;
        });
    }

    void CheckCameras(const std::string& scene, float* previousStart) {
        const std::string relative = "cameras/" + scene + ".cam";
        const std::string path = PlatformResolvePath(m_folder + relative);
        struct stat st;
        if (stat(path.c_str(), &st) != 0) {
            m_problems.push_back(relative + ": required, but missing");
            return;
        }
        if (m_animations.count(scene) == 0) return;  // already reported
        Try(relative, [&] {
            auto data =
                LoadAnimation(PlatformResolvePath(m_folder + "animations/" + scene + ".ani"));
            if (!data) return std::string();  // reported with the animations
            Animation instance(data.get());
            AnimCameraManager manager;
            manager.Load(path, &instance);
            if (manager.GetCamerasCount() == 0) return std::string("holds no camera");
            std::string problems;
            for (int i = 0; i < manager.GetCamerasCount(); ++i) {
                const AnimationData* node = data->FindNode(manager.GetCamera(i)->GetId());
                if (node && (!node->GetPositionCurve() || !node->GetRotationCurve() ||
                             !node->GetScaleCurve()))
                    problems += "camera \"" + manager.GetCamera(i)->GetName() +
                                "\" does not key all three tracks of its node; ";
            }
            // The first scene starts at 0 whatever its cameras say.
            const float start = scene == kScenes[0] ? 0.0f : manager.GetCamera(0)->GetStartTime();
            if (start <= *previousStart)
                problems +=
                    "starts at " + std::to_string(start) + " s, not after the scene before it; ";
            *previousStart = start;
            return problems;
        });
    }

    void CheckRootFile(const std::string& relative, const Check& check) {
        const std::string path = PlatformResolvePath(m_folder + relative);
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            m_problems.push_back(relative + ": required, but missing");
            return;
        }
        Try(relative, [&] { return check(path); });
    }

    std::string m_folder;
    std::vector<std::string> m_problems;
    std::set<std::string> m_models, m_textures, m_shaders, m_animations, m_materials,
        m_skinnedMeshes;
};

}  // namespace

std::vector<std::string> ValidateDataFolder(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return {path + ": no such file or folder"};
    if (S_ISDIR(st.st_mode)) return Validator(path).Run();

    // An archive: unpack it into a temporary folder and check its data folder.
    TempFolder temp;
    if (temp.Path().empty()) return {path + ": no temporary folder to unpack into"};
    try {
        UnpackArchive(path, temp.Path() + "/");
    } catch (const FatalError& e) {
        return {path + ": " + e.what()};
    }
    const std::string data = temp.Path() + "/" + kDataFolderName;
    if (stat(data.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {path + ": the archive has no " + std::string(kDataFolderName) + "/ folder"};
    return Validator(data).Run();
}
