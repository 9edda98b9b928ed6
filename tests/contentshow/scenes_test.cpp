// The scenes' models and scene files against what the engine's objects rely on: mesh parts in one
// index buffer, materials that exist, meshes of the scene's own model, ribbon flights the curve
// builders can make, the ribbon guy's ribbon, the trains' rigs and the water.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "content/animation.h"
#include "content/imageloader.h"
#include "content/materialloader.h"
#include "content/skinnedmeshdata.h"
#include "content/vertexinformation.h"
#include "scene/ribboncurvebuilder.h"
#include "show/figure.h"
#include "show/scenes.h"
#include "showfiles.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

const char* const kScenes[] = {"Scene01", "Scene02", "Scene03", "Scene05", "SceneDupa",
                               "Scene06", "Scene07", "Scene08", "Scene09"};

int GuyTriangles() {
    const std::string& bytes = ShowFile("SkinnedMeshes/guy.skm");
    return LoadSkinnedMeshFromMemory(bytes.data(), bytes.size(), "guy.skm")->GetVerticesCount() / 3;
}

sm::Vec3 Vertex(const MeshPart& part, int index) {
    return VertexInformation::GetPositionAt(part.GetVertexData(), index, part.GetVertexType());
}

TEST(SceneModels, PartsFitOneIndexBufferAndNameMaterialsThatShipWithTheirTextures) {
    TempDir dir;
    for (const auto& [path, bytes] : ShowFileTree()) {
        if (path.rfind("models/", 0) != 0) continue;
        auto model = LoadShowModel(path.substr(7, path.size() - 11));
        ASSERT_GT(model->GetMeshesCount(), 0) << path;
        for (int m = 0; m < model->GetMeshesCount(); ++m) {
            const Mesh* mesh = model->GetMesh(m);
            ASSERT_GT(mesh->GetPartsCount(), 0) << path << " " << mesh->GetName();
            for (int p = 0; p < mesh->GetPartsCount(); ++p) {
                const MeshPart* part = mesh->GetPart(p);
                EXPECT_EQ(part->GetVerticesCount() % 3, 0);
                EXPECT_GT(part->GetTrianglesCount(), 0) << path << " " << mesh->GetName();
                EXPECT_LE(part->GetTrianglesCount(), 21845) << path << " " << mesh->GetName();
                const std::string material = "materials/" + part->GetMaterialName() + ".mat";
                ASSERT_TRUE(ShowFileTree().count(material)) << path << " names " << material;
            }
        }
    }
    for (const auto& [path, bytes] : ShowFileTree()) {
        if (path.rfind("materials/", 0) != 0) continue;
        WriteFileBytes(dir.File("m.mat"), bytes);
        auto material = LoadMaterial(dir.File("m.mat"));
        ASSERT_NE(material, nullptr) << path;
        const std::string texture = "textures/" + material->GetDiffuseTextureName() + ".png";
        ASSERT_TRUE(ShowFileTree().count(texture)) << path << " names " << texture;
        WriteFileBytes(dir.File("t.png"), ShowFile(texture));
        ImageLoader::Pixels pixels;
        int w = 0, h = 0, bpp = 0;
        EXPECT_TRUE(ImageLoader::Load(dir.File("t.png"), pixels, w, h, bpp)) << texture;
    }
}

TEST(SceneFiles, NameOnlyMeshesOfTheirOwnModelWithCopiesThatCanShow) {
    for (const char* name : kScenes) {
        auto scene = LoadShowScene(name);
        ASSERT_NE(scene, nullptr) << name;
        EXPECT_EQ(scene->name, name);
        auto model = LoadShowModel(name);
        auto has = [&](const std::string& mesh) {
            EXPECT_NE(model->FindMesh(mesh), nullptr) << name << " names \"" << mesh << "\"";
        };
        auto drawable = [&](const MaterialData* m, const std::string& what) {
            ASSERT_NE(m, nullptr) << name << " " << what;
            EXPECT_TRUE(m->UseSolid || m->UseWire) << name << " " << what;
        };
        for (const RibbonData& r : scene->ribbons) {
            ASSERT_NE(r.Path, nullptr) << name;
            if (r.Source) {
                has(r.Source->MeshName);
                drawable(r.Source->Material.get(), r.Source->MeshName);
                // A still copy shows only through its solid pass.
                if (r.Source->Stay) {
                    EXPECT_TRUE(r.Source->Material->UseSolid) << name;
                }
            }
            if (r.Destination) {
                has(r.Destination->MeshName);
                drawable(r.Destination->Material.get(), r.Destination->MeshName);
                if (r.Destination->Stay) {
                    EXPECT_TRUE(r.Destination->Material->UseSolid) << name;
                }
            }
            if (r.StaticSource) {
                has(r.StaticSource->MeshName);
                EXPECT_TRUE(r.StaticSource->Material && r.StaticSource->Material->UseSolid);
            }
            if (r.StaticDestination) {
                has(r.StaticDestination->MeshName);
                EXPECT_TRUE(r.StaticDestination->Material &&
                            r.StaticDestination->Material->UseSolid);
            }
        }
        for (const StaticData& s : scene->statics) {
            has(s.MeshName);
            drawable(s.Material.get(), s.MeshName);
        }
        for (const GuyData& g : scene->guys) {
            drawable(g.Material.get(), "guy " + g.Id);
            ASSERT_NE(g.Path, nullptr);
            ASSERT_GE(g.Path->Keys.size(), 2u);
            for (size_t k = 1; k < g.Path->Keys.size(); ++k)
                EXPECT_LT(g.Path->Keys[k - 1].time, g.Path->Keys[k].time) << name;
        }
    }
}

// Every time of a curve's keys comes after the one before.
template <typename T>
bool Increasing(const AnimationCurve<T>& curve) {
    for (int k = 1; k < curve.GetKeysCount(); ++k)
        if (!(curve.GetKey(k).time > curve.GetKey(k - 1).time)) return false;
    return true;
}

// Flies every triangle of the mesh's first part with the builder, as a ribbon does when it is
// built, and returns how many flights came out with keys out of time order.
int BadFlights(IRibbonCurveBuilder& builder, const Mesh& mesh, const PathData& path, float delay,
               bool destroy, std::string* fatal) {
    const MeshPart& part = *mesh.GetPart(0);
    const int halfKeys = static_cast<int>(path.Keys.size()) / 2;
    int bad = 0;
    for (int t = 0; t < part.GetTrianglesCount(); ++t) {
        const sm::Mat4 frame =
            sm::Mat4::TriangleFrame(Vertex(part, 3 * t), Vertex(part, 3 * t + 1), Vertex(part, 3 * t + 2));
        const sm::Vec3 centre(frame[12], frame[13], frame[14]);
        const sm::Vec3 normal = sm::Vec3(frame[8], frame[9], frame[10]).GetNormalized();
        if (destroy && !(centre.y > 0)) {
            ++bad;
            continue;
        }
        *fatal = CaptureFatal([&] {
            auto flight = builder.BuildPath(centre, normal, path, halfKeys, path.Spread, delay);
            auto scale = builder.BuildScale(*flight, path.TriangleScale);
            if (!Increasing(*flight) || !Increasing(*scale) || flight->GetKeysCount() < 2) ++bad;
        });
        if (!fatal->empty()) return bad + 1;
    }
    return bad;
}

TEST(SceneFiles, EveryRibbonFliesItsTrianglesWithTheEnginesBuilders) {
    RibbonCurveSource source;
    RibbonCurveDestination destination;
    RibbonCurveFullSource morphSource;
    RibbonCurveFullDestination morphDestination;
    RibbonCurveDestroy destroy;
    for (const char* name : kScenes) {
        auto scene = LoadShowScene(name);
        auto model = LoadShowModel(name);
        for (size_t i = 0; i < scene->ribbons.size(); ++i) {
            const RibbonData& r = scene->ribbons[i];
            const PathData& path = *r.Path;
            const std::string where = std::string(name) + " ribbon " + std::to_string(i);
            const Mesh* from = r.Source ? model->FindMesh(r.Source->MeshName) : nullptr;
            const Mesh* to = r.Destination ? model->FindMesh(r.Destination->MeshName) : nullptr;
            ASSERT_TRUE(from || to) << where;
            std::string fatal;
            if (r.Source && r.Source->Destroy) {
                ASSERT_EQ(to, nullptr) << where << ": a shattering ribbon has no destination";
                EXPECT_EQ(BadFlights(destroy, *from, path, path.Delay / 2, true, &fatal), 0)
                    << where << " " << fatal;
            } else if (from && to) {
                ASSERT_GE(path.Keys.size(), 4u) << where;
                EXPECT_EQ(BadFlights(morphSource, *from, path, path.Delay / 2, false, &fatal), 0)
                    << where << " " << fatal;
                EXPECT_EQ(BadFlights(morphDestination, *to, path, path.Delay, false, &fatal), 0)
                    << where << " " << fatal;
            } else if (from) {
                EXPECT_EQ(BadFlights(source, *from, path, path.Delay / 2, false, &fatal), 0)
                    << where << " " << fatal;
            } else {
                EXPECT_EQ(BadFlights(destination, *to, path, path.Delay, false, &fatal), 0)
                    << where << " " << fatal;
            }
        }
    }
}

TEST(SceneFiles, TheRibbonGuyDissolvesIntoARibbonWithATriangleForEachOfHis) {
    auto scene = LoadShowScene("SceneDupa");
    auto model = LoadShowModel("SceneDupa");
    const GuyData* guy = nullptr;
    for (const GuyData& g : scene->guys)
        if (g.Id == "1") guy = &g;
    ASSERT_NE(guy, nullptr) << "no scene.guy.1";
    ASSERT_FALSE(guy->RibbonName.empty());
    const std::string ribbonName = "scene.morph.dst." + guy->RibbonName;
    const RibbonData* ribbon = nullptr;
    for (const RibbonData& r : scene->ribbons)
        if (r.Destination && r.Destination->MeshName == ribbonName) ribbon = &r;
    ASSERT_NE(ribbon, nullptr) << "no ribbon " << ribbonName;
    EXPECT_GE(model->FindMesh(ribbonName)->GetPart(0)->GetTrianglesCount(), GuyTriangles());

    const std::vector<SceneElement::FloatKey>& w = guy->Path->RibbonWeights;
    ASSERT_GE(w.size(), 2u);
    EXPECT_EQ(w.front().value, 0.0f);
    size_t whole = 0;
    while (whole < w.size() && w[whole].value < 1.0f) ++whole;
    ASSERT_LT(whole, w.size()) << "the weight never reaches 1";
    for (size_t k = 1; k < w.size(); ++k) {
        EXPECT_LT(w[k - 1].time, w[k].time);
        EXPECT_GE(w[k].value, w[k - 1].value);
    }
    // The figure comes apart while its ribbon flies, and is still there when it has.
    const float flightStart = ribbon->Path->Keys.front().time;
    const float flightEnd = ribbon->Path->Keys.back().time + ribbon->Path->Delay;
    EXPECT_GE(w[whole - 1].time, flightStart);
    EXPECT_LE(w[whole].time, flightEnd);
    EXPECT_GE(guy->Path->Keys.back().time, w[whole].time);
    EXPECT_LE(guy->Path->Keys.front().time, w[whole - 1].time);
}

TEST(SceneFiles, TrainsRunTheirWagonsAlongTheTrackAsTheirScenesRigThem) {
    const struct {
        const char* scene;
        const char* train;
    } rigs[] = {{"Scene05", "Train02"}, {"Scene07", "Train01"}};
    for (const auto& rig : rigs) {
        auto scene = LoadShowScene(rig.scene);
        auto sceneModel = LoadShowModel(rig.scene);
        auto trainModel = LoadShowModel(rig.train);
        auto data = LoadShowAnimation(rig.train);
        Animation animation(data.get());
        ASSERT_GE(trainModel->GetMeshesCount(), 2) << rig.train;
        std::vector<Animation*> wagons;
        for (int m = 0; m < trainModel->GetMeshesCount(); ++m) {
            const Mesh* mesh = trainModel->GetMesh(m);
            Animation* node = animation.FindNode(mesh->GetId());
            ASSERT_NE(node, nullptr) << rig.train << " has no node " << mesh->GetId();
            wagons.push_back(node);
            EXPECT_NE(sceneModel->FindMesh(mesh->GetName()), nullptr) << rig.scene;
            int statics = 0;
            for (const StaticData& s : scene->statics) {
                if (s.MeshName != mesh->GetName()) continue;
                ++statics;
                EXPECT_TRUE(s.Material->UseSolid && s.Material->UseWire) << s.MeshName;
            }
            EXPECT_EQ(statics, 1) << rig.scene << " statics of " << mesh->GetName();
        }
        // Through the scene the train comes past: each wagon moves forward along its own axis,
        // and the wagons keep their places one behind the other.
        const show::SceneWindow& window = show::WindowOf(rig.scene);
        for (float t = window.start + 4; t < window.end - 4; t += 4) {
            animation.Update(t, sm::Mat4(), 0);
            std::vector<sm::Mat4> now;
            for (Animation* w : wagons) now.push_back(w->GetMatrix());
            animation.Update(t + 0.5f, sm::Mat4(), 0);
            for (size_t i = 0; i < wagons.size(); ++i) {
                const sm::Vec3 p(now[i][12], now[i][13], now[i][14]);
                const sm::Mat4& later = wagons[i]->GetMatrix();
                const sm::Vec3 moved = sm::Vec3(later[12], later[13], later[14]) - p;
                ASSERT_GT(moved.Length(), 1.0f) << rig.train << " at " << t;
                EXPECT_GT(Dot(moved.GetNormalized(), sm::Vec3(now[i][0], now[i][1], now[i][2])),
                          0.99f)
                    << rig.train << " wagon " << i << " at " << t;
                if (i == 0) continue;
                const sm::Vec3 ahead(now[i - 1][12], now[i - 1][13], now[i - 1][14]);
                const float gap = (ahead - p).Length();
                EXPECT_GT(gap, 6.0f) << rig.train << " wagon " << i << " at " << t;
                EXPECT_LT(gap, 9.0f) << rig.train << " wagon " << i << " at " << t;
            }
        }
    }
}

TEST(SceneFiles, Scene07HasAFineWaterPlaneForTheWaterProgram) {
    auto scene = LoadShowScene("Scene07");
    auto model = LoadShowModel("Scene07");
    int statics = 0;
    for (const StaticData& s : scene->statics) statics += s.MeshName == "woda";
    ASSERT_EQ(statics, 1);
    const MeshPart& part = *model->FindMesh("woda")->GetPart(0);
    // The program lifts vertices with swells a few units long: the plane is flat and finely
    // divided.
    float longest = 0;
    for (int v = 0; v < part.GetVerticesCount(); ++v) {
        EXPECT_EQ(Vertex(part, v).y, 0.0f);
        const sm::Vec3 next = Vertex(part, v - v % 3 + (v % 3 + 1) % 3);
        longest = std::fmax(longest, (next - Vertex(part, v)).Length());
    }
    EXPECT_LT(longest, 2.0f);
}

// What a scene's file makes use of.
struct Uses {
    int sources = 0, destinations = 0, morphs = 0, destroys = 0;
    int stays = 0, hidden = 0, plainGuys = 0, ribbonGuys = 0;
    std::set<int> orders;
    std::set<float> spreads, triangleScales;
    std::set<std::string> meshes;
};

Uses UsesOf(const SceneData& scene) {
    Uses u;
    for (const RibbonData& r : scene.ribbons) {
        if (r.Source && r.Source->Destroy) {
            ++u.destroys;
        } else if (r.Source && r.Destination) {
            ++u.morphs;
        } else if (r.Source) {
            ++u.sources;
        } else if (r.Destination) {
            ++u.destinations;
        }
        u.stays += (r.Source && r.Source->Stay) + (r.Destination && r.Destination->Stay) +
                   (r.StaticSource != nullptr) + (r.StaticDestination != nullptr);
        u.hidden += r.Path->DontRender;
        u.spreads.insert(r.Path->Spread);
        u.triangleScales.insert(r.Path->TriangleScale);
        if (r.Destination) u.meshes.insert(r.Destination->MeshName);
    }
    for (const StaticData& s : scene.statics) {
        u.orders.insert(s.Order);
        u.meshes.insert(s.MeshName);
    }
    for (const GuyData& g : scene.guys) (g.RibbonName.empty() ? u.plainGuys : u.ribbonGuys)++;
    return u;
}

TEST(SceneFiles, EachSceneUsesWhatItIsOnTheTimelineFor) {
    const Uses u01 = UsesOf(*LoadShowScene("Scene01"));
    EXPECT_GE(u01.destinations, 1);
    EXPECT_GE(u01.sources, 1);
    EXPECT_GE(u01.stays, 1);
    EXPECT_GE(u01.orders.size(), 2u);

    const Uses u02 = UsesOf(*LoadShowScene("Scene02"));
    EXPECT_GE(u02.morphs, 2);
    EXPECT_GE(u02.spreads.size(), 2u);
    EXPECT_GE(u02.triangleScales.size(), 2u);

    const Uses u03 = UsesOf(*LoadShowScene("Scene03"));
    EXPECT_GE(u03.destroys, 1);
    EXPECT_GE(u03.orders.size(), 1u);

    const Uses dupa = UsesOf(*LoadShowScene("SceneDupa"));
    EXPECT_EQ(dupa.ribbonGuys, 1);

    const Uses u06 = UsesOf(*LoadShowScene("Scene06"));
    EXPECT_GE(u06.hidden, 1);
    EXPECT_GE(u06.stays, 2);
    EXPECT_GE(u06.orders.size(), 2u);

    const Uses u07 = UsesOf(*LoadShowScene("Scene07"));
    EXPECT_TRUE(u07.meshes.count("woda"));

    const Uses u08 = UsesOf(*LoadShowScene("Scene08"));
    EXPECT_GE(u08.plainGuys, 4);
    EXPECT_EQ(u08.ribbonGuys, 0);
    EXPECT_TRUE(u08.meshes.count("korvane"));

    const Uses u09 = UsesOf(*LoadShowScene("Scene09"));
    EXPECT_GE(u09.sources, 1);
    EXPECT_GE(u09.destinations, 1);
    EXPECT_GE(u09.morphs, 1);
    EXPECT_GE(u09.destroys, 1);
}

}  // namespace
