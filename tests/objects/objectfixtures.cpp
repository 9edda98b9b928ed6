#include "objectfixtures.h"

#include <cmath>
#include <filesystem>

#include "content/animationdata.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "formats/aniwriter.h"
#include "formats/geowriter.h"
#include "formats/skmwriter.h"
#include "gpu/shader.h"
#include "math/quat.h"

namespace {

using sm::Vec3;

void Put(const TempDir& dir, const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(dir.File(relative)).parent_path());
    WriteFileBytes(dir.File(relative), bytes);
}

void AddTriangle(std::vector<float>* v, const Vec3& a, const Vec3& b, const Vec3& c) {
    for (const Vec3& p : {a, b, c}) v->insert(v->end(), {p.x, p.y, p.z});
}

// Counter-clockwise seen from outside.
void AddBox(std::vector<Vec3>* p, const Vec3& lo, const Vec3& hi) {
    const Vec3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                       {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                       {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    const int faces[6][4] = {{4, 5, 6, 7}, {1, 0, 3, 2}, {5, 1, 2, 6},
                             {0, 4, 7, 3}, {7, 6, 2, 3}, {0, 1, 5, 4}};
    for (const auto& f : faces) {
        p->insert(p->end(), {c[f[0]], c[f[1]], c[f[2]], c[f[0]], c[f[2]], c[f[3]]});
    }
}

std::vector<float> Flatten(const std::vector<Vec3>& points) {
    std::vector<float> v;
    for (const Vec3& p : points) v.insert(v.end(), {p.x, p.y, p.z});
    return v;
}

std::vector<float> Grid() {
    std::vector<float> v;
    const int n = 4;
    const auto at = [](int i, int j) { return Vec3(-3.0f + 0.5f * i, 0.5f + 0.5f * j, 0.0f); };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            AddTriangle(&v, at(i, j), at(i + 1, j), at(i + 1, j + 1));
            AddTriangle(&v, at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    return v;
}

// An octahedron whose faces are split into 3 × 3, pushed out onto the sphere.
std::vector<float> Ball() {
    const Vec3 centre(2.0f, 1.5f, 0.0f);
    const float radius = 0.8f;
    const Vec3 px(1, 0, 0), nx(-1, 0, 0), py(0, 1, 0), ny(0, -1, 0), pz(0, 0, 1), nz(0, 0, -1);
    const Vec3 faces[8][3] = {{px, py, pz}, {py, nx, pz}, {nx, ny, pz}, {ny, px, pz},
                              {py, px, nz}, {nx, py, nz}, {ny, nx, nz}, {px, ny, nz}};
    const int n = 3;
    std::vector<float> v;
    for (const auto& f : faces) {
        const auto at = [&](int i, int j) {
            const Vec3 p = f[0] * (1.0f - static_cast<float>(i + j) / n) +
                           f[1] * (static_cast<float>(i) / n) + f[2] * (static_cast<float>(j) / n);
            return centre + p.GetNormalized() * radius;
        };
        for (int i = 0; i < n; ++i)
            for (int j = 0; j + i < n; ++j) {
                AddTriangle(&v, at(i, j), at(i + 1, j), at(i, j + 1));
                if (i + j + 2 <= n) AddTriangle(&v, at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
            }
    }
    return v;
}

std::vector<float> Pair(float up) {
    std::vector<float> v;
    AddTriangle(&v, Vec3(-0.3f, 0.8f + up, 0), Vec3(0.3f, 0.8f + up, 0), Vec3(0, 1.4f + up, 0));
    AddTriangle(&v, Vec3(0.7f, 0.8f + up, 0), Vec3(1.3f, 0.8f + up, 0), Vec3(1, 1.4f + up, 0));
    return v;
}

std::string SceneModel() {
    GeoModelDesc model;
    const auto add = [&](const std::string& name, std::vector<float> vertices) {
        GeoMeshDesc mesh;
        mesh.id = static_cast<int32_t>(model.meshes.size() + 1);
        mesh.name = name;
        GeoPartDesc part;
        part.vertices = std::move(vertices);
        mesh.parts.push_back(part);
        model.meshes.push_back(mesh);
    };
    add("src", Grid());
    add("scene.morph.dst.1", Ball());
    std::vector<Vec3> box;
    AddBox(&box, Vec3(-1, 0, -1), Vec3(1, 0.2f, 1));
    add("stat", Flatten(box));
    add("pair", Pair(0.0f));
    add("pair2", Pair(2.0f));
    return WriteGeo(model);
}

std::string Figure() {
    SkmDesc desc;
    desc.name = "guy";
    desc.boneIds = {1, 2, 3};
    const auto add = [&](const Vec3& lo, const Vec3& hi, uint8_t bone) {
        std::vector<Vec3> box;
        AddBox(&box, lo, hi);
        for (const Vec3& p : box) {
            SkinnedVertex vertex;
            vertex.position = p;
            vertex.bones[0] = bone;
            vertex.bones[1] = vertex.bones[2] = vertex.bones[3] = 0;
            vertex.weights[0] = 1.0f;
            vertex.weights[1] = vertex.weights[2] = vertex.weights[3] = 0.0f;
            desc.vertices.push_back(vertex);
        }
    };
    add(Vec3(-12, 45, -6), Vec3(12, 80, 6), 0);  // torso
    add(Vec3(-7, 82, -7), Vec3(7, 96, 7), 0);    // head
    add(Vec3(-11, 0, -4), Vec3(-3, 45, 4), 1);   // left leg
    add(Vec3(3, 0, -4), Vec3(11, 45, 4), 2);     // right leg
    return WriteSkm(desc);
}

// Each leg turns about its hip, the two in opposite phase; without length, each leg has one
// key at 0 s.
std::string Walk(bool withoutLength) {
    AniDesc desc;
    AniNodeDesc body;
    body.id = 1;
    body.name = "body";
    desc.nodes.push_back(body);
    for (int leg = 0; leg < 2; ++leg) {
        AniNodeDesc node;
        node.id = 2 + leg;
        node.name = leg ? "right" : "left";
        const Vec3 hip(leg ? 7.0f : -7.0f, 45.0f, 0.0f);
        node.position.constant = hip;
        node.baseMatrix = sm::Mat4::Translation(-hip);
        const float swing = leg ? -0.5f : 0.5f;
        const float times[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
        const float angles[] = {swing, 0.0f, -swing, 0.0f, swing};
        for (int k = 0; k < (withoutLength ? 1 : 5); ++k) {
            AniRotationKey key;
            key.time = times[k];
            key.rotation = sm::Quat::FromAxisAngle(angles[k], 1, 0, 0);
            node.rotation.keys.push_back(key);
        }
        desc.nodes.push_back(node);
    }
    return WriteAni(desc);
}

std::string Jump() {
    AniDesc desc;
    for (int id = 1; id <= 3; ++id) {
        AniNodeDesc node;
        node.id = id;
        AniVectorKey up{0.0f, Vec3()}, top{0.5f, Vec3(0, 30, 0)};
        node.position.keys = {up, top};
        desc.nodes.push_back(node);
    }
    return WriteAni(desc);
}

}  // namespace

std::vector<std::string> GlowPrograms() {
    return {"SpecularBlur", "StaticSpecularBlur", "Skinned", "SkinnedRibbon"};
}

std::vector<std::string> FramePrograms() {
    std::vector<std::string> names = GlowPrograms();
    for (const char* name : {"Downsample", "Blit", "BlitOpacity", "HoriBlur", "VertBlur", "Add"})
        names.push_back(name);
    return names;
}

ObjectContent::ObjectContent(const ContentOptions& options) {
    const std::string effects = PINDLE_CONTENT_SOURCE_DIR "/effects/";
    for (const std::string& name : options.programs)
        for (const char* extension : {".vpr", ".fpr"})
            Put(dir, "effects/" + name + extension, ReadFileBytes(effects + name + extension));
    if (options.model) Put(dir, "models/Scene.geo", SceneModel());
    if (options.figure) Put(dir, "SkinnedMeshes/guy.skm", Figure());
    if (options.walk) Put(dir, "animations/walk.ani", Walk(options.walkWithoutLength));
    if (options.jump) Put(dir, "animations/jump.ani", Jump());
    for (const char* folder : {"effects", "models", "SkinnedMeshes", "animations"})
        std::filesystem::create_directories(dir.File(folder));

    manager = std::make_unique<ContentManager>(this);
    manager->LoadModels(dir.File("models/"));
    manager->LoadShaders(dir.File("effects/"));
    manager->LoadAnimations(dir.File("animations/"));
    manager->LoadSkinnedMeshes(dir.File("SkinnedMeshes/"));
}

ObjectContent::~ObjectContent() {
    manager.reset();
    g_contentManager = nullptr;
}

Shader* ObjectContent::LoadShader(const std::string& vertexPath, const std::string& fragmentPath) {
    return Shader::LoadShader(vertexPath, fragmentPath);
}

Model* ObjectContent::LoadModel(const std::string& path) { return ::LoadModel(path).release(); }

AnimationData* ObjectContent::LoadAnimation(const std::string& path) {
    return ::LoadAnimation(path).release();
}

std::unique_ptr<MaterialData> Look(bool solid, bool wire) {
    auto look = std::make_unique<MaterialData>();
    look->UseSolid = solid;
    look->UseWire = wire;
    return look;
}

std::unique_ptr<PathData> Path(const std::vector<std::pair<float, sm::Vec3>>& keys, float delay) {
    auto path = std::make_unique<PathData>();
    for (const auto& k : keys) {
        SceneElement::Key key;
        key.time = k.first;
        key.position = k.second;
        path->Keys.push_back(key);
    }
    path->Delay = delay;
    return path;
}

std::unique_ptr<PathData> Flight() {
    return Path({{1.0f, Vec3(-2, 1.5f, 0)},
                 {2.0f, Vec3(-1, 3, 0)},
                 {4.0f, Vec3(1, 3, 0)},
                 {5.0f, Vec3(2, 1.5f, 0)}});
}

sm::Mat4 FrameCamera(int width, int height) {
    return sm::Mat4::Perspective(1.1f, static_cast<float>(width) / height, 0.1f, 100.0f) *
           sm::Mat4::Translation(0.0f, -1.5f, -8.0f);
}
