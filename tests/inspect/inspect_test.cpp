#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "formats/aniwriter.h"
#include "formats/camerawriter.h"
#include "formats/geowriter.h"
#include "formats/scenewriter.h"
#include "formats/scenewriter.h"
#include "formats/zipwriter.h"
#include "inspect.h"
#include "jsonwriter.h"
#include "support/tempdir.h"

namespace {

struct Result {
    int code;
    std::string out, err;
};

Result Inspect(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = RunInspect(args, out, err);
    return {code, out.str(), err.str()};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(JsonWriter, NumbersHaveNineDigitsAndNonFiniteOnesAreStrings) {
    EXPECT_EQ(JsonWriter::FormatNumber(0.1f), "0.100000001");
    EXPECT_EQ(JsonWriter::FormatNumber(2.0), "2");
    EXPECT_EQ(JsonWriter::FormatNumber(std::nan("")), "\"nan\"");
    EXPECT_EQ(JsonWriter::FormatNumber(INFINITY), "\"inf\"");
    EXPECT_EQ(JsonWriter::FormatNumber(-INFINITY), "\"-inf\"");
    EXPECT_EQ(JsonWriter::Quote("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");

    std::ostringstream text;
    JsonWriter json(text);
    json.BeginObject();
    json.Member("kind", "x");
    json.Key("list");
    json.BeginArray();
    json.BeginObject();
    json.Member("n", 1);
    json.EndObject();
    json.EndArray();
    const float v[2] = {1.5f, -2.0f};
    json.MemberNumbers("v", v, 2);
    json.Key("empty");
    json.BeginArray();
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(text.str(),
              "{\n  \"kind\": \"x\",\n  \"list\": [\n    {\n      \"n\": 1\n    }\n  ],\n"
              "  \"v\": [1.5, -2],\n  \"empty\": []\n}");
}

// One node (id 4) moving along x from 0 at t = 0 to 10 at t = 2, and a camera on it.
struct Fixture {
    TempDir dir;
    std::string ani = dir.File("Scene.ani");
    std::string cam = dir.File("Scene.cam");
    std::string geo = dir.File("Scene.geo");
    Fixture() {
        AniDesc animation;
        AniNodeDesc node;
        node.id = 4;
        node.name = "Camera01";
        node.position.keys = {{0.0f, sm::Vec3(0, 0, 0)}, {2.0f, sm::Vec3(10, 0, 0)}};
        node.rotation.keys = {{0.0f, sm::Quat(1, 0, 0, 0)}, {2.0f, sm::Quat(1, 0, 0, 0)}};
        node.scale.keys = {{0.0f, sm::Vec3(1, -1, 1)}, {2.0f, sm::Vec3(1, -1, 1)}};
        animation.nodes.push_back(node);
        WriteFileBytes(ani, WriteAni(animation));

        CameraRecord camera;
        camera.id = 4;
        camera.name = "Camera01";
        camera.fov = 1.2f;
        camera.nearPlane = 1.0f;
        camera.farPlane = 300.0f;
        WriteFileBytes(cam, WriteCameraFile({camera}));

        GeoModelDesc model;
        model.header = true;
        model.version = 1;
        GeoMeshDesc mesh;
        mesh.id = 7;
        mesh.name = "floor";
        GeoPartDesc part;
        part.materialName = "grid";
        part.vertices = {0, 0, 0, 2, 0, 0, 0, 0, 4};
        mesh.parts.push_back(part);
        PropertyDesc keyed;
        keyed.name = "order";
        keyed.propertyType = PropertyType_Int;
        keyed.animationType = AnimationType_State;
        keyed.keys = {{0.0f, 3, 0.0f}, {5.0f, 8, 0.0f}};
        mesh.properties = {PropertyDesc::ConstantInt("castShadows", 1), keyed};
        model.meshes.push_back(mesh);
        WriteFileBytes(geo, WriteGeo(model));
    }
};

TEST(Inspect, DumpsAModelWithItsPartsAndSampledProperties) {
    Fixture f;
    Result r = Inspect({"dump", f.geo, "--times", "1,6"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "\"kind\": \"model\"")) << r.out;
    EXPECT_TRUE(Contains(r.out, "\"version\": 1"));
    EXPECT_TRUE(Contains(r.out, "\"name\": \"floor\""));
    EXPECT_TRUE(Contains(r.out, "\"materialName\": \"grid\""));
    EXPECT_TRUE(Contains(r.out, "\"maxX\": 2"));
    EXPECT_TRUE(Contains(r.out, "\"keysCount\": 2"));
    // the state property holds 3 until its second key at 5 s
    EXPECT_TRUE(Contains(r.out, "\"time\": 1,\n")) << r.out;
    EXPECT_TRUE(Contains(r.out, "\"value\": 8,\n"));
}

TEST(Inspect, EvaluatesAnimationsAndCameras) {
    Fixture f;
    Result dump = Inspect({"dump", f.ani});
    ASSERT_EQ(dump.code, 0) << dump.err;
    EXPECT_TRUE(Contains(dump.out, "\"duration\": 2"));
    EXPECT_TRUE(Contains(dump.out, "\"inTangent\""));

    Result eval = Inspect({"eval", f.ani, "--times", "1"});
    ASSERT_EQ(eval.code, 0) << eval.err;
    // the root first, then the node, half way: translation x = 5
    EXPECT_LT(eval.out.find("\"id\": 0"), eval.out.find("\"id\": 4"));
    EXPECT_TRUE(Contains(eval.out, "5, 0, 0, 1]")) << eval.out;

    Result cameras =
        Inspect({"cameras", f.cam, "--animation", f.ani, "--times", "0.5,3", "--aspect", "2"});
    ASSERT_EQ(cameras.code, 0) << cameras.err;
    EXPECT_TRUE(Contains(cameras.out, "\"endTime\": 2"));
    EXPECT_TRUE(Contains(cameras.out, "\"camera\": 0"));
    EXPECT_TRUE(Contains(cameras.out, "\"fov\": 1.20000005"));
    EXPECT_TRUE(Contains(cameras.out, "\"projection\""));

    Result camFile = Inspect({"dump", f.cam});
    ASSERT_EQ(camFile.code, 0) << camFile.err;
    EXPECT_TRUE(Contains(camFile.out, "\"kind\": \"cameras\""));
}

TEST(Inspect, BadInputGivesTheReportAndANonZeroExit) {
    Fixture f;
    std::string cut = ReadFileBytes(f.geo);
    WriteFileBytes(f.dir.File("cut.geo"), cut.substr(0, cut.size() - 5));
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* err;
    };
    const Case cases[] = {
        {{"dump", f.dir.File("cut.geo")}, 1, "cut.geo: truncated at byte"},
        {{"dump", f.dir.File("none.ani")}, 1, "none.ani"},
        {{"dump", f.dir.File("x.txt")}, 2, "no content kind"},
        {{"eval", f.ani, "--times", "1,x"}, 2, "is not a number"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"dump", f.geo, "--bogus"}, 2, "unknown option --bogus"},
    };
    for (const Case& c : cases) {
        Result r = Inspect(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[0] << " " << r.err;
        EXPECT_TRUE(Contains(r.err, c.err)) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Inspect({"--help"}).code, 0);
}

TEST(Inspect, DumpsASceneFileAsItsDescriptionRecords) {
    TempDir dir;
    SceneData scene;
    scene.name = "Scene01";
    RibbonData ribbon;
    ribbon.Source = std::make_unique<SourceData>();
    ribbon.Source->MeshName = "title";
    ribbon.Source->Destroy = true;
    ribbon.Source->Material = std::make_unique<MaterialData>();
    ribbon.Source->Material->Opacity = 0.25f;
    ribbon.StaticDestination = std::make_unique<StaticDestinationData>();
    ribbon.StaticDestination->MeshName = "floor";
    ribbon.Path = std::make_unique<PathData>();
    SceneElement::Key key;
    key.time = 2.0f;
    key.position = sm::Vec3(1, 2, 3);
    ribbon.Path->Keys = {key};
    ribbon.Path->RibbonWeights = {{1.0f, 0.5f}};
    scene.ribbons.push_back(std::move(ribbon));
    StaticData grid;
    grid.MeshName = "grid";
    grid.Order = 4;
    scene.statics.push_back(std::move(grid));
    GuyData guy;
    guy.Id = "scene.guy.1";
    guy.AnimationIndex = {{0.5f, 1}};
    scene.guys.push_back(std::move(guy));
    const std::string file = dir.File("Scene01.scene");
    WriteFileBytes(file, WriteScene(scene));

    Result r = Inspect({"dump", file});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* part :
         {"\"kind\": \"scene\"",
          "\"name\": \"Scene01\"",
          "\"ribbons\": [",
          "\"MeshName\": \"title\",\n        \"Stay\": false,\n        \"Destroy\": true",
          "\"Opacity\": 0.25",
          "\"Diffuse\": [0.5, 0.5, 0.5]",
          "\"UseSolid\": true",
          "\"SolidGlowPower\": 1",
          "\"SolidGlowMultiplier\": 1",
          "\"WireGlowPower\": 1",
          "\"WireGlowMultiplier\": 1",
          "\"UseWire\": true",
          "\"Destination\": null",
          "\"StaticSource\": null",
          "\"StaticDestination\": {\n        \"MeshName\": \"floor\",\n        "
          "\"Material\": null",
          "\"time\": 2,\n            \"position\": [1, 2, 3]",
          "\"RibbonWeights\": [",
          "\"value\": 0.5",
          "\"Spread\": 1",
          "\"TriangleScale\": 0.5",
          "\"Delay\": 4",
          "\"DontRender\": false",
          "\"statics\": [",
          "\"Order\": 4",
          "\"guys\": [",
          "\"Id\": \"scene.guy.1\"",
          "\"RibbonName\": \"\"",
          "\"Path\": null",
          "\"AnimationIndex\": [\n        {\n          \"time\": 0.5,\n          \"value\": 1"}) {
        EXPECT_TRUE(Contains(r.out, part)) << part << "\n" << r.out;
    }

    WriteFileBytes(dir.File("bare.scene"), "<S><Guys/></S>");
    WriteFileBytes(dir.File("tag.scene"), "<S><Ribbons><Path/></Ribbons></S>");
    const std::pair<const char*, const char*> failures[] = {
        {"bare.scene", "bare.scene: the root has no \"Ribbons\" element"},
        {"tag.scene", "node->GetName() == \"Ribbon\""},
        {"none.scene", "none.scene: cannot be read as XML"},
    };
    for (const auto& failure : failures) {
        Result bad = Inspect({"dump", dir.File(failure.first)});
        EXPECT_EQ(bad.code, 1);
        EXPECT_TRUE(Contains(bad.err, failure.second)) << bad.err;
        EXPECT_EQ(bad.out, "");
    }
}

TEST(Inspect, ValidateListsEveryProblemOfAFolderOrArchive) {
    Fixture f;
    TempDir data;
    std::filesystem::create_directories(data.File("models"));
    std::filesystem::create_directories(data.File("animations"));
    std::filesystem::create_directories(data.File("cameras"));
    std::string cut = ReadFileBytes(f.geo);
    WriteFileBytes(data.File("models/Scene01.geo"), cut.substr(0, 20));
    WriteFileBytes(data.File("animations/Scene01.ani"), ReadFileBytes(f.ani));
    CameraRecord orphan;
    orphan.id = 99;  // no node of the scene's animation has it
    WriteFileBytes(data.File("cameras/Scene01.cam"), WriteCameraFile({orphan}));

    // A scene file that names a mesh its model lacks, and a ribbon path too short to fly.
    std::filesystem::create_directories(data.File("Scenes"));
    WriteFileBytes(data.File("models/Scene02.geo"), ReadFileBytes(f.geo));  // mesh "floor"
    SceneData scene;
    scene.name = "Scene02";
    StaticData ghost;
    ghost.MeshName = "nothere";
    ghost.Material = std::make_unique<MaterialData>();
    scene.statics.push_back(std::move(ghost));
    RibbonData ribbon;
    ribbon.Source = std::make_unique<SourceData>();
    ribbon.Source->MeshName = "floor";
    ribbon.Source->Material = std::make_unique<MaterialData>();
    ribbon.Path = std::make_unique<PathData>();
    SceneElement::Key key;
    key.time = 1.0f;
    ribbon.Path->Keys.push_back(key);
    scene.ribbons.push_back(std::move(ribbon));
    WriteFileBytes(data.File("Scenes/Scene02.scene"), WriteScene(scene));

    Result r = Inspect({"validate", data.Path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        Contains(r.out, "Scenes/Scene02.scene: static \"nothere\" is not a mesh of Scene02.geo"))
        << r.out;
    EXPECT_TRUE(Contains(r.out, "a ribbon path of 1 keys (needs 2)"));
    EXPECT_TRUE(Contains(r.out, "Scenes/Scene03.scene: missing, or not a scene file"));
    EXPECT_TRUE(Contains(r.out, "models/Scene01.geo: truncated at byte")) << r.out;
    EXPECT_TRUE(Contains(r.out, "Sprite: required, but effects/ has no Sprite.vpr"));
    EXPECT_TRUE(Contains(r.out, "guy: required"));
    EXPECT_TRUE(Contains(r.out, "cameras/Scene01.cam: Assertion failed: childAnim != NULL"))
        << r.out;
    EXPECT_TRUE(Contains(r.out, "cameras/Scene02.cam: required, but missing"));
    EXPECT_TRUE(Contains(r.out, "music/velmora.mp3: required, but missing"));
    EXPECT_FALSE(Contains(r.out, "ok\n"));

    // The same folder inside an archive.
    ZipWriter zip;
    const std::string archive = data.File("demodat");
    ASSERT_TRUE(zip.Open(archive));
    zip.AddFolder("korvane_data_orbendale/");
    zip.AddFolder("korvane_data_orbendale/models/");
    zip.AddFile("korvane_data_orbendale/models/Scene01.geo", cut.substr(0, 20));
    ASSERT_TRUE(zip.Close());
    Result packed = Inspect({"validate", archive});
    EXPECT_EQ(packed.code, 1);
    EXPECT_TRUE(Contains(packed.out, "models/Scene01.geo: truncated at byte")) << packed.out;

    Result missing = Inspect({"validate", data.File("nothing-here")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(Contains(missing.out, "no such file or folder"));
}

}  // namespace
