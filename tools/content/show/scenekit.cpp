#include "show/scenekit.h"

#include <algorithm>
#include <cmath>

#include "base/assert.h"

namespace show {

std::string SceneBuild::Add(const std::string& meshName, const std::string& material, Mesh mesh) {
    if (Find(meshName)) ReportFatal(name + ": mesh \"" + meshName + "\" made twice");
    NamedMesh m;
    m.id = static_cast<int>(meshes.size()) + 1;
    m.name = meshName;
    m.material = material;
    m.mesh = std::move(mesh);
    meshes.push_back(std::move(m));
    return meshes.back().name;
}

const NamedMesh* SceneBuild::Find(const std::string& meshName) const {
    for (const NamedMesh& m : meshes)
        if (m.name == meshName) return &m;
    return nullptr;
}

Look Look::Dim(float factor) const {
    Look l = *this;
    l.diffuse = diffuse * factor;
    l.opacity = opacity * factor;
    l.glow = glow * factor;
    return l;
}

Look Look::WireOnly() const {
    Look l = *this;
    l.solid = false;
    l.wire = true;
    return l;
}

Look Look::SolidOnly() const {
    Look l = *this;
    l.solid = true;
    l.wire = false;
    return l;
}

Look Cyan() { return {{0.25f, 0.85f, 1.0f}, 0.35f, 1.0f, 0.8f, 1.6f, true, true}; }
Look Violet() { return {{0.62f, 0.32f, 1.0f}, 0.4f, 1.1f, 0.9f, 1.5f, true, true}; }
Look Amber() { return {{1.0f, 0.62f, 0.18f}, 0.55f, 1.2f, 1.0f, 1.4f, true, true}; }
Look Ice() { return {{0.7f, 0.9f, 1.0f}, 0.3f, 1.3f, 1.1f, 1.3f, true, true}; }
Look Water() { return {{0.1f, 0.45f, 0.9f}, 0.45f, 0.7f, 0.6f, 1.2f, true, true}; }

std::unique_ptr<MaterialData> MaterialOf(const Look& look) {
    auto m = std::make_unique<MaterialData>();
    m->Diffuse = look.diffuse;
    m->Opacity = look.opacity;
    m->UseSolid = look.solid;
    m->UseWire = look.wire;
    m->SolidGlowPower = look.glow;
    m->SolidGlowMultiplier = look.solidMultiplier;
    m->WireGlowPower = look.glow;
    m->WireGlowMultiplier = look.wireMultiplier;
    return m;
}

std::unique_ptr<PathData> MakePath(const std::vector<PathKey>& keys, const PathSettings& settings) {
    auto path = std::make_unique<PathData>();
    for (const PathKey& k : keys) {
        SceneElement::Key key;
        key.time = k.time;
        key.position = k.position;
        path->Keys.push_back(key);
    }
    path->Spread = settings.spread;
    path->TriangleScale = settings.triangleScale;
    path->Delay = settings.delay;
    path->DontRender = settings.dontRender;
    return path;
}

RibbonData SourceRibbon(const std::string& mesh, const Look& look, bool stay,
                        std::unique_ptr<PathData> path) {
    RibbonData r;
    r.Source = std::make_unique<SourceData>();
    r.Source->MeshName = mesh;
    r.Source->Material = MaterialOf(look);
    r.Source->Stay = stay;
    r.Path = std::move(path);
    return r;
}

RibbonData DestinationRibbon(const std::string& mesh, const Look& look, bool stay,
                             std::unique_ptr<PathData> path) {
    RibbonData r;
    r.Destination = std::make_unique<DestinationData>();
    r.Destination->MeshName = mesh;
    r.Destination->Material = MaterialOf(look);
    r.Destination->Stay = stay;
    r.Path = std::move(path);
    return r;
}

RibbonData MorphRibbon(const std::string& from, const Look& fromLook, bool stayFrom,
                       const std::string& to, const Look& toLook, bool stayTo,
                       std::unique_ptr<PathData> path) {
    RibbonData r = SourceRibbon(from, fromLook, stayFrom, std::move(path));
    RibbonData d = DestinationRibbon(to, toLook, stayTo, nullptr);
    r.Destination = std::move(d.Destination);
    return r;
}

RibbonData DestroyRibbon(const std::string& mesh, const Look& look, bool stay, float start,
                         float spreadOver) {
    PathSettings settings;
    settings.delay = 2.0f;
    RibbonData r =
        SourceRibbon(mesh, look, stay,
                     MakePath({{start, sm::Vec3()}, {start + spreadOver, sm::Vec3()}}, settings));
    r.Source->Destroy = true;
    return r;
}

StaticData StaticOf(const std::string& mesh, const Look& look, int order) {
    StaticData s;
    s.MeshName = mesh;
    s.Material = MaterialOf(look);
    s.Order = order;
    return s;
}

GuyData GuyOf(int id, const Look& look, const std::vector<PathKey>& path,
              const std::string& ribbonName) {
    GuyData g;
    g.Id = std::to_string(id);
    g.Material = MaterialOf(look);
    g.Path = MakePath(path, PathSettings{});
    // Every frame plays the walk; the index keys only name it.
    g.AnimationIndex.push_back({path.front().time, 0});
    g.RibbonName = ribbonName;
    return g;
}

std::vector<PathKey> WalkPath(const std::vector<sm::Vec3>& points, float start, float speed,
                              float step) {
    std::vector<float> along = {0.0f};
    for (size_t i = 1; i < points.size(); ++i)
        along.push_back(along.back() + (points[i] - points[i - 1]).Length());
    const float duration = along.back() / speed;
    const int n = std::max(1, static_cast<int>(std::lround(duration / step)));
    std::vector<PathKey> keys;
    size_t leg = 0;
    for (int k = 0; k <= n; ++k) {
        const float s = along.back() * k / n;
        while (leg + 2 < points.size() && s > along[leg + 1]) ++leg;
        const float f = (s - along[leg]) / (along[leg + 1] - along[leg]);
        keys.push_back({start + duration * k / n, Lerp(points[leg], points[leg + 1], f)});
    }
    return keys;
}

sm::Vec3 PathAt(const std::vector<PathKey>& keys, float time) {
    if (time <= keys.front().time) return keys.front().position;
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        if (time <= keys[i + 1].time) {
            const float f = (time - keys[i].time) / (keys[i + 1].time - keys[i].time);
            return Lerp(keys[i].position, keys[i + 1].position, f);
        }
    }
    return keys.back().position;
}

}  // namespace show
