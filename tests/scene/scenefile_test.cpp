#include "scene/sceneloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "content/xmlnode.h"
#include "formats/scenewriter.h"
#include "support/fatalcapture.h"
#include "support/fullscene.h"
#include "support/tempdir.h"

namespace {

class SceneFile : public testing::Test {
protected:
    std::unique_ptr<SceneData> Parse(const std::string& text) {
        WriteFileBytes(m_dir.File("s.scene"), text);
        return ParseSceneFile(m_dir.File("s.scene"));
    }
    // The fatal report of parsing text, or "" when it parsed.
    std::string ParseFatal(const std::string& text) {
        return CaptureFatal([&] { Parse(text); });
    }
    TempDir m_dir;
};

void ExpectMaterial(const MaterialData& m, const sm::Vec3& diffuse, float opacity, bool solid,
                    bool wire, float solidPower, float solidMultiplier, float wirePower,
                    float wireMultiplier) {
    EXPECT_EQ(m.Diffuse, diffuse);
    EXPECT_EQ(m.Opacity, opacity);
    EXPECT_EQ(m.UseSolid, solid);
    EXPECT_EQ(m.UseWire, wire);
    EXPECT_EQ(m.SolidGlowPower, solidPower);
    EXPECT_EQ(m.SolidGlowMultiplier, solidMultiplier);
    EXPECT_EQ(m.WireGlowPower, wirePower);
    EXPECT_EQ(m.WireGlowMultiplier, wireMultiplier);
}

void ExpectDefaultMaterial(const MaterialData* m) {
    ASSERT_NE(m, nullptr);
    ExpectMaterial(*m, sm::Vec3(0.5f, 0.5f, 0.5f), 1.0f, true, true, 1.0f, 1.0f, 1.0f, 1.0f);
}

void ExpectDefaultPath(const PathData* path) {
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->Spread, 1.0f);
    EXPECT_EQ(path->TriangleScale, 0.5f);
    EXPECT_EQ(path->Delay, 4.0f);
    EXPECT_FALSE(path->DontRender);
}

TEST_F(SceneFile, ElementsWithoutAttributesTakeTheRecordDefaults) {
    auto scene = Parse(R"(<Anything>
      <Ribbons>
        <Ribbon>
          <Source><Material/></Source>
          <Destination/>
          <StaticSource><Material/></StaticSource>
          <StaticDestination/>
          <Path><Key/><RibbonWeights><Key/></RibbonWeights></Path>
        </Ribbon>
        <Ribbon/>
      </Ribbons>
      <StaticMeshes><Static/></StaticMeshes>
      <Guys>
        <Guy><Material/><Path/><AnimationIndex><Key/></AnimationIndex></Guy>
        <Guy/>
      </Guys>
    </Anything>)");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->name, "");
    ASSERT_EQ(scene->ribbons.size(), 2u);

    const RibbonData& full = scene->ribbons[0];
    ASSERT_NE(full.Source, nullptr);
    EXPECT_EQ(full.Source->MeshName, "");
    EXPECT_FALSE(full.Source->Stay);
    EXPECT_FALSE(full.Source->Destroy);
    ExpectDefaultMaterial(full.Source->Material.get());
    ASSERT_NE(full.Destination, nullptr);
    EXPECT_FALSE(full.Destination->Stay);
    EXPECT_EQ(full.Destination->Material, nullptr);
    ASSERT_NE(full.StaticSource, nullptr);
    ExpectDefaultMaterial(full.StaticSource->Material.get());
    ASSERT_NE(full.StaticDestination, nullptr);
    EXPECT_EQ(full.StaticDestination->Material, nullptr);
    ExpectDefaultPath(full.Path.get());
    ASSERT_EQ(full.Path->Keys.size(), 1u);
    const SceneElement::Key& key = full.Path->Keys[0];
    EXPECT_EQ(key.time, 0.0f);
    EXPECT_EQ(key.position, sm::Vec3(0, 0, 0));
    EXPECT_EQ(key.rotation.x, 0.0f);
    EXPECT_EQ(key.rotation.y, 1.0f);
    EXPECT_EQ(key.rotation.z, 0.0f);
    EXPECT_EQ(key.rotation.w, 0.0f);
    EXPECT_EQ(key.scale, sm::Vec3(1, 1, 1));
    ASSERT_EQ(full.Path->RibbonWeights.size(), 1u);
    EXPECT_EQ(full.Path->RibbonWeights[0].time, 0.0f);
    EXPECT_EQ(full.Path->RibbonWeights[0].value, 0.0f);

    const RibbonData& bare = scene->ribbons[1];
    EXPECT_EQ(bare.Source, nullptr);
    EXPECT_EQ(bare.Destination, nullptr);
    EXPECT_EQ(bare.StaticSource, nullptr);
    EXPECT_EQ(bare.StaticDestination, nullptr);
    EXPECT_EQ(bare.Path, nullptr);

    ASSERT_EQ(scene->statics.size(), 1u);
    EXPECT_EQ(scene->statics[0].MeshName, "");
    EXPECT_EQ(scene->statics[0].Order, 0);
    EXPECT_EQ(scene->statics[0].Material, nullptr);

    ASSERT_EQ(scene->guys.size(), 2u);
    const GuyData& guy = scene->guys[0];
    EXPECT_EQ(guy.Id, "");
    EXPECT_EQ(guy.RibbonName, "");
    ExpectDefaultMaterial(guy.Material.get());
    ExpectDefaultPath(guy.Path.get());
    EXPECT_TRUE(guy.Path->Keys.empty());
    ASSERT_EQ(guy.AnimationIndex.size(), 1u);
    EXPECT_EQ(guy.AnimationIndex[0].time, 0.0f);
    EXPECT_EQ(guy.AnimationIndex[0].value, 0);
    EXPECT_EQ(scene->guys[1].Material, nullptr);
    EXPECT_EQ(scene->guys[1].Path, nullptr);
    EXPECT_TRUE(scene->guys[1].AnimationIndex.empty());
}

TEST_F(SceneFile, APropertyElementWithoutValueGivesZeroNotTheDefault) {
    auto scene = Parse(R"(<S><Ribbons/><StaticMeshes>
      <Static><Material><Diffuse/><Opacity/><UseSolid/><UseWire/><SolidGlowPower/>
        <SolidGlowMultiplier/><WireGlowPower/><WireGlowMultiplier/></Material></Static>
      <Static><Material><Diffuse value="1;0.5"/><UseWire value="0"/><WireGlowPower value="3"/>
        </Material></Static>
    </StaticMeshes></S>)");
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(scene->statics.size(), 2u);
    ExpectMaterial(*scene->statics[0].Material, sm::Vec3(0, 0, 0), 0.0f, false, false, 0.0f, 0.0f,
                   0.0f, 0.0f);
    // Components not given are 0; absent elements keep the defaults.
    ExpectMaterial(*scene->statics[1].Material, sm::Vec3(1.0f, 0.5f, 0.0f), 1.0f, true, false, 1.0f,
                   1.0f, 3.0f, 1.0f);
}

TEST_F(SceneFile, ListsKeepDocumentOrderAndTakeOnlyTheirOwnTags) {
    auto scene = Parse(R"(<S name="Level">
      <Ribbons>
        <Ribbon>
          <Source mesh_name="first" destroy="1" stay="TRUE"/>
          <Source mesh_name="second"/>
          <Path spread="0.25" triangle_scale="2" delay="0" dont_render="true">
            <Key time="5" position="1;2;3"/>
            <Note time="7"/>
            <Key time="2" position="4;5"/>
            <RibbonWeights><Key time="1" value="0"/><Other value="9"/><Key time="3" value="1"/>
            </RibbonWeights>
          </Path>
        </Ribbon>
      </Ribbons>
      <StaticMeshes><Tower mesh_name="tower" order="-3"/><Floor mesh_name="floor"/></StaticMeshes>
      <Guys><Guy id="scene.guy.1" ribbon_name="figure">
        <AnimationIndex><K time="0.5" value="1"/><Key time="0.25" value="0"/></AnimationIndex>
      </Guy></Guys>
    </S>)");
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->name, "Level");
    const RibbonData& ribbon = scene->ribbons.at(0);
    EXPECT_EQ(ribbon.Source->MeshName, "first");
    EXPECT_TRUE(ribbon.Source->Destroy);
    EXPECT_TRUE(ribbon.Source->Stay);
    const PathData& path = *ribbon.Path;
    EXPECT_EQ(path.Spread, 0.25f);
    EXPECT_EQ(path.TriangleScale, 2.0f);
    EXPECT_EQ(path.Delay, 0.0f);
    EXPECT_TRUE(path.DontRender);
    ASSERT_EQ(path.Keys.size(), 2u);
    EXPECT_EQ(path.Keys[0].time, 5.0f);
    EXPECT_EQ(path.Keys[0].position, sm::Vec3(1, 2, 3));
    EXPECT_EQ(path.Keys[1].time, 2.0f);
    EXPECT_EQ(path.Keys[1].position, sm::Vec3(4, 5, 0));
    ASSERT_EQ(path.RibbonWeights.size(), 2u);
    EXPECT_EQ(path.RibbonWeights[1].time, 3.0f);
    EXPECT_EQ(path.RibbonWeights[1].value, 1.0f);

    ASSERT_EQ(scene->statics.size(), 2u);
    EXPECT_EQ(scene->statics[0].MeshName, "tower");
    EXPECT_EQ(scene->statics[0].Order, -3);
    EXPECT_EQ(scene->statics[1].MeshName, "floor");

    const GuyData& guy = scene->guys.at(0);
    EXPECT_EQ(guy.Id, "scene.guy.1");
    EXPECT_EQ(guy.RibbonName, "figure");
    ASSERT_EQ(guy.AnimationIndex.size(), 2u);
    EXPECT_EQ(guy.AnimationIndex[0].time, 0.5f);
    EXPECT_EQ(guy.AnimationIndex[0].value, 1);
    EXPECT_EQ(guy.AnimationIndex[1].time, 0.25f);
}

TEST_F(SceneFile, WrongTagsAndBooleansAreFatalAndSayWhere) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"<S><Ribbons><Ribbon/><Guy/></Ribbons></S>",
         "Assertion failed: node->GetName() == \"Ribbon\""},
        {"<S><Ribbons/><Guys><Guy/><Ribbon/></Guys></S>",
         "Assertion failed: node->GetName() == \"Guy\""},
        {"<S><Ribbons><Ribbon><Source><Material><UseSolid value=\"yes\"/></Material></Source>"
         "</Ribbon></Ribbons></S>",
         "its not a bool"},
        {"<S><Ribbons><Ribbon><Path dont_render=\"no\"/></Ribbon></Ribbons></S>", "its not a bool"},
        {"<S><Ribbons><Ribbon><Destination stay=\"\"/></Ribbon></Ribbons></S>", "its not a bool"},
        {"<S><Ribbons/><StaticMeshes><Static order=\"first\"/></StaticMeshes></S>", "wrong format"},
    };
    for (const Case& c : cases) {
        std::string message = ParseFatal(c.text);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.text << "\n" << message;
        EXPECT_NE(message.find("s.scene, line 1"), std::string::npos) << message;
    }

    XMLNode notMaterial("Materials");
    EXPECT_NE(CaptureFatal([&] {
                  ParseMaterialData(&notMaterial);
              }).find("Assertion failed: materialNode->GetName() == \"Material\""),
              std::string::npos);
}

TEST_F(SceneFile, UnreadableFilesAndFilesWithoutRibbonsGiveNothing) {
    EXPECT_EQ(ParseSceneFile(m_dir.File("missing.scene")), nullptr);
    EXPECT_EQ(Parse("<S><Ribbons></S>"), nullptr);
    EXPECT_EQ(Parse(""), nullptr);
    EXPECT_EQ(Parse("<S name=\"a\"><StaticMeshes><Static/></StaticMeshes></S>"), nullptr);
    EXPECT_EQ(Parse("<S><Guys><Ribbons/></Guys></S>"), nullptr);  // only the root's child counts

    auto empty = Parse("<S name=\"Empty\"><Ribbons/></S>");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->name, "Empty");
    EXPECT_TRUE(empty->ribbons.empty());
    EXPECT_TRUE(empty->statics.empty());
    EXPECT_TRUE(empty->guys.empty());
}

// Records what LoadScene asks for, in order. A ribbon whose destination is "missing" is
// rejected, as the ribbon's constructor rejects a mesh its model lacks.
struct RecordingFactory : ISceneObjectFactory {
    void CreateRibbon(const std::string& model, const RibbonData& data) override {
        if (data.Destination->MeshName == "missing") ReportFatal("no mesh \"missing\"");
        calls.push_back("ribbon " + model + " " + data.Destination->MeshName);
        records.push_back(&data);
    }
    void CreateStatic(const std::string& model, const StaticData& data) override {
        calls.push_back("static " + model + " " + data.MeshName);
        records.push_back(&data);
    }
    void CreateGuy(const std::string& model, const GuyData& data) override {
        calls.push_back("guy " + model + " " + data.Id);
        records.push_back(&data);
    }
    std::vector<std::string> calls;
    std::vector<const void*> records;
};

class LoadSceneFile : public SceneFile {
protected:
    void SetUp() override {
        SetSceneContentPath(m_dir.Path() + "/");
        std::filesystem::create_directories(m_dir.File("Scenes"));
    }
    void TearDown() override { SetSceneContentPath(""); }
    void Write(const std::string& name, const std::string& text) {
        WriteFileBytes(m_dir.File("Scenes/" + name + ".scene"), text);
    }
};

TEST_F(LoadSceneFile, FindsTheFileUnderScenesAndCreatesRibbonsThenStaticsThenGuys) {
    EXPECT_EQ(GetSceneFilePath("Level"), m_dir.Path() + "/Scenes\\Level.scene");
    Write("Level", R"(<S name="Model">
      <Guys><Guy id="g1"/><Guy id="g2"/></Guys>
      <StaticMeshes><Static mesh_name="s1"/><Static mesh_name="s2"/></StaticMeshes>
      <Ribbons>
        <Ribbon><Destination mesh_name="r1"/></Ribbon>
        <Ribbon><Destination mesh_name="r2"/></Ribbon>
      </Ribbons>
    </S>)");

    RecordingFactory factory;
    std::unique_ptr<SceneData> scene = LoadScene("Level", factory);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->name, "Model");
    const std::vector<std::string> expected = {"ribbon Model r1", "ribbon Model r2",
                                               "static Model s1", "static Model s2",
                                               "guy Model g1",    "guy Model g2"};
    EXPECT_EQ(factory.calls, expected);
    // The records the objects were built from are the ones given back, where they were.
    const std::vector<const void*> kept = {&scene->ribbons[0], &scene->ribbons[1],
                                           &scene->statics[0], &scene->statics[1],
                                           &scene->guys[0],    &scene->guys[1]};
    EXPECT_EQ(factory.records, kept);

    RecordingFactory none;
    EXPECT_EQ(LoadScene("Missing", none), nullptr);
    Write("NoRibbons", "<S name=\"Model\"><StaticMeshes><Static/></StaticMeshes></S>");
    EXPECT_EQ(LoadScene("NoRibbons", none), nullptr);
    EXPECT_TRUE(none.calls.empty());
}

// Each object is built before the next entry is parsed, so of two faults the earlier entry's is
// reported, be it the object's or the parser's. Parsing alone, as the inspector does, reaches
// the later fault.
TEST_F(LoadSceneFile, TheFirstFaultyEntryIsTheOneReported) {
    struct Case {
        const char* text;
        const char* loadReport;
        std::vector<std::string> built;
    };
    const Case cases[] = {
        // An object that fails, then a malformed guy.
        {R"(<S name="M"><Ribbons><Ribbon><Destination mesh_name="missing"/></Ribbon></Ribbons>
            <Guys><Guy><Material><UseSolid value="yes"/></Material></Guy></Guys></S>)",
         "no mesh \"missing\"",
         {}},
        // A malformed ribbon after one that built: the parser's report, after the first object.
        {R"(<S name="M"><Ribbons><Ribbon><Destination mesh_name="r1"/></Ribbon><Guy/>
            <Ribbon><Destination mesh_name="missing"/></Ribbon></Ribbons></S>)",
         "Assertion failed: node->GetName() == \"Ribbon\"",
         {"ribbon M r1"}},
        // A malformed static written first: no static is read before every ribbon is built.
        {R"(<S name="M"><StaticMeshes><Static order="x"/></StaticMeshes>
            <Ribbons><Ribbon><Destination mesh_name="missing"/></Ribbon></Ribbons></S>)",
         "no mesh \"missing\"",
         {}},
    };
    for (const Case& c : cases) {
        Write("Faults", c.text);
        RecordingFactory factory;
        std::string report = CaptureFatal([&] { LoadScene("Faults", factory); });
        EXPECT_NE(report.find(c.loadReport), std::string::npos) << c.text << "\n" << report;
        EXPECT_EQ(factory.calls, c.built) << c.text;
    }

    Write("Faults", cases[0].text);
    EXPECT_NE(CaptureFatal([&] {
                  ParseSceneFile(m_dir.File("Scenes/Faults.scene"));
              }).find("its not a bool"),
              std::string::npos);
}

TEST_F(SceneFile, WrittenFilesReadBackIntoTheRecordsTheyCameFrom) {
    const SceneData original = FullScene();
    const std::string text = WriteScene(original);
    auto parsed = Parse(text);
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(WriteScene(*parsed), text);

    EXPECT_EQ(parsed->name, original.name);
    const RibbonData& ribbon = parsed->ribbons.at(0);
    ExpectMaterial(*ribbon.Source->Material, sm::Vec3(0.2f, 0.1f, 1e-7f), 0.2f + 0.25f, false, true,
                   0.2f + 1.5f, 0.2f + 2.5f, 0.2f + 3.5f, 0.2f + 4.5f);
    EXPECT_EQ(ribbon.StaticSource->Material, nullptr);
    EXPECT_EQ(ribbon.Path->Keys.at(1).time, 10.0f + 1.0f / 3.0f);
    EXPECT_EQ(ribbon.Path->Keys.at(2).position, sm::Vec3(-2.5f, 1e10f, 0.3f));
    EXPECT_EQ(parsed->ribbons.at(1).Path, nullptr);
    EXPECT_EQ(parsed->guys.at(0).AnimationIndex.at(1).value, -2);
    EXPECT_EQ(parsed->guys.at(1).Path, nullptr);

    // Only the required "Ribbons" is written for an empty scene.
    EXPECT_EQ(WriteScene(SceneData()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scene name=\"\">\n\t<Ribbons />\n"
              "</Scene>\n");
}

TEST_F(SceneFile, EveryTruncatedCopyOfAFileIsRejectedOrReadWithoutHarm) {
    const std::string text = WriteScene(FullScene());
    int parsed = 0;
    for (size_t length = 0; length < text.size(); ++length) {
        std::unique_ptr<SceneData> scene;
        std::string fatal = CaptureFatal([&] { scene = Parse(text.substr(0, length)); });
        if (scene) ++parsed;
        EXPECT_TRUE(fatal.empty() || fatal.find("Assertion failed") != std::string::npos)
            << length << ": " << fatal;
    }
    // Only the copy that lacks just the final line break is still a whole document.
    EXPECT_EQ(parsed, 1);
}

}  // namespace
