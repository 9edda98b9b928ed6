#include "showfiles.h"

#include <gtest/gtest.h>

#include "content/modelloader.h"
#include "scene/sceneloader.h"
#include "support/tempdir.h"

const show::Show& TheShow() {
    static const show::Show built = show::BuildShow();
    return built;
}

const FileTree& ShowFileTree() {
    static const FileTree files = show::ShowFiles(TheShow());
    return files;
}

const std::string& ShowFile(const std::string& path) {
    static const std::string none;
    auto it = ShowFileTree().find(path);
    if (it == ShowFileTree().end()) {
        ADD_FAILURE() << path << " is not part of the content";
        return none;
    }
    return it->second;
}

std::unique_ptr<Model> LoadShowModel(const std::string& name) {
    const std::string& bytes = ShowFile("models/" + name + ".geo");
    return LoadModelFromMemory(bytes.data(), bytes.size(), name + ".geo");
}

std::unique_ptr<AnimationData> LoadShowAnimation(const std::string& name) {
    const std::string& bytes = ShowFile("animations/" + name + ".ani");
    return LoadAnimationFromMemory(bytes.data(), bytes.size(), name + ".ani");
}

std::unique_ptr<SceneData> LoadShowScene(const std::string& name) {
    TempDir dir;
    WriteFileBytes(dir.File(name + ".scene"), ShowFile("Scenes/" + name + ".scene"));
    return ParseSceneFile(dir.File(name + ".scene"));
}
