// Feeds arbitrary bytes to the scene file loader as "Scenes/input.scene" in the scratch folder,
// both ways a scene file is read: parsed alone (ParseSceneFile, as the inspector does) and
// loaded entry by entry through a factory (LoadScene, as a scene does, here with a factory that
// only records what it is handed). Both must come to the same end: no scene, a fatal report,
// or the same records; and every record the factory saw must still be where it was, in the
// order the loader promises. No GL is involved.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "scene/sceneloader.h"

namespace {

struct Recorder : ISceneObjectFactory {
    void CreateRibbon(const std::string& modelName, const RibbonData& data) override {
        if (!statics.empty() || !guys.empty()) std::abort();
        Name(modelName);
        ribbons.push_back(&data);
    }
    void CreateStatic(const std::string& modelName, const StaticData& data) override {
        if (!guys.empty()) std::abort();
        Name(modelName);
        statics.push_back(&data);
    }
    void CreateGuy(const std::string& modelName, const GuyData& data) override {
        Name(modelName);
        guys.push_back(&data);
    }
    void Name(const std::string& modelName) {
        if (!name) name = std::make_unique<std::string>(modelName);
        if (*name != modelName) std::abort();
    }

    std::unique_ptr<std::string> name;
    std::vector<const RibbonData*> ribbons;
    std::vector<const StaticData*> statics;
    std::vector<const GuyData*> guys;
};

template <typename Record>
void CheckSame(const std::vector<Record>& records, const std::vector<const Record*>& seen) {
    if (records.size() != seen.size()) std::abort();
    for (size_t i = 0; i < records.size(); ++i)
        if (seen[i] != &records[i]) std::abort();
}

float Sum(const MaterialData* m) {
    if (!m) return 0.0f;
    return m->Diffuse.x + m->Opacity + (m->UseSolid ? 1.0f : 0.0f) + (m->UseWire ? 1.0f : 0.0f) +
           m->SolidGlowPower + m->SolidGlowMultiplier + m->WireGlowPower + m->WireGlowMultiplier;
}

float Sum(const PathData* p) {
    if (!p) return 0.0f;
    float sum = p->Spread + p->TriangleScale + p->Delay + (p->DontRender ? 1.0f : 0.0f);
    for (const auto& key : p->Keys) sum += key.time + key.position.x + key.position.z;
    for (const auto& weight : p->RibbonWeights) sum += weight.time + weight.value;
    return sum;
}

// Reads every member of every record.
float Walk(const SceneData& scene) {
    float sum = static_cast<float>(scene.name.size());
    for (const RibbonData& r : scene.ribbons) {
        if (r.Source)
            sum += Sum(r.Source->Material.get()) + static_cast<float>(r.Source->MeshName.size()) +
                   (r.Source->Stay ? 1.0f : 0.0f) + (r.Source->Destroy ? 1.0f : 0.0f);
        if (r.Destination)
            sum += Sum(r.Destination->Material.get()) +
                   static_cast<float>(r.Destination->MeshName.size()) +
                   (r.Destination->Stay ? 1.0f : 0.0f);
        if (r.StaticSource)
            sum += Sum(r.StaticSource->Material.get()) +
                   static_cast<float>(r.StaticSource->MeshName.size());
        if (r.StaticDestination)
            sum += Sum(r.StaticDestination->Material.get()) +
                   static_cast<float>(r.StaticDestination->MeshName.size());
        sum += Sum(r.Path.get());
    }
    for (const StaticData& s : scene.statics)
        sum += Sum(s.Material.get()) + static_cast<float>(s.MeshName.size()) +
               static_cast<float>(s.Order);
    for (const GuyData& g : scene.guys) {
        sum += Sum(g.Material.get()) + Sum(g.Path.get()) +
               static_cast<float>(g.Id.size() + g.RibbonName.size());
        for (const auto& key : g.AnimationIndex) sum += key.time + static_cast<float>(key.value);
    }
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    static const bool ready = [] {
        mkdir((FuzzScratchFolder() + "/Scenes").c_str(), 0700);
        SetSceneContentPath(FuzzScratchFolder() + "/");
        return true;
    }();
    (void)ready;
    const std::string path = WriteFuzzFile("Scenes/input.scene", data, size);

    std::unique_ptr<SceneData> parsed;
    bool parseFatal = false;
    try {
        parsed = ParseSceneFile(path);
    } catch (const FatalError&) {
        parseFatal = true;
    }

    Recorder factory;
    std::unique_ptr<SceneData> loaded;
    bool loadFatal = false;
    try {
        loaded = LoadScene("input", factory);
    } catch (const FatalError&) {
        loadFatal = true;
    }

    if (parseFatal != loadFatal || !parsed != !loaded) std::abort();
    if (!loaded) return 0;
    if (loaded->name != parsed->name || loaded->ribbons.size() != parsed->ribbons.size() ||
        loaded->statics.size() != parsed->statics.size() ||
        loaded->guys.size() != parsed->guys.size())
        std::abort();
    if (factory.name && *factory.name != loaded->name) std::abort();
    CheckSame(loaded->ribbons, factory.ribbons);
    CheckSame(loaded->statics, factory.statics);
    CheckSame(loaded->guys, factory.guys);
    volatile float sink = Walk(*parsed) + Walk(*loaded);
    (void)sink;
    return 0;
}
