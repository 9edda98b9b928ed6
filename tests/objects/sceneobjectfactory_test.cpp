// The show's object factory through LoadScene: every record of a scene file becomes its game
// object, in the scene's order, on both lists, each built before the next entry is read.
#include "objects/sceneobjectfactory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "objectfixtures.h"
#include "objects/guy.h"
#include "objects/ribbon.h"
#include "objects/static.h"
#include "render/renderable.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"

namespace {

class SceneObjectFactoryTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(content.dir.File("Scenes"));
        SetSceneContentPath(content.dir.Path() + "/");
    }
    void TearDown() override { SetSceneContentPath(""); }
    void Write(const std::string& text) {
        WriteFileBytes(content.dir.File("Scenes/Test.scene"), text);
    }

    GlTestContext gl;
    ObjectContent content;
    std::vector<GameObject*> objects;
    std::vector<std::unique_ptr<GameObject>> owner;
};

TEST_F(SceneObjectFactoryTest, LoadSceneMakesRibbonsStaticsAndGuysInOrder) {
    Write(R"(<Scene name="Scene">
  <Guys>
    <Guy id="1" ribbon_name="1">
      <Material/>
      <Path><Key time="0" position="0;0;0"/><Key time="4" position="1;0;0"/></Path>
    </Guy>
  </Guys>
  <StaticMeshes>
    <Static mesh_name="stat" order="3"><Material/></Static>
    <Static mesh_name="pair"><Material><UseWire value="false"/></Material></Static>
  </StaticMeshes>
  <Ribbons>
    <Ribbon>
      <Source mesh_name="src"><Material/></Source>
      <Destination mesh_name="scene.morph.dst.1"><Material/></Destination>
      <Path><Key time="1" position="0;1;0"/><Key time="2" position="0;2;0"/>
            <Key time="4" position="1;2;0"/><Key time="5" position="2;1;0"/></Path>
    </Ribbon>
    <Ribbon>
      <Source mesh_name="pair" destroy="true"><Material/></Source>
      <Path><Key time="1" position="0;1;0"/><Key time="2" position="0;2;0"/></Path>
    </Ribbon>
  </Ribbons>
</Scene>
)");

    SceneObjectFactory factory(objects, owner);
    std::unique_ptr<SceneData> records = LoadScene("Test", factory);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->name, "Scene");

    ASSERT_EQ(objects.size(), 5u);
    ASSERT_EQ(owner.size(), 5u);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(objects[i], owner[i].get()) << i;
    auto* morph = dynamic_cast<Ribbon*>(objects[0]);
    auto* shatter = dynamic_cast<Ribbon*>(objects[1]);
    auto* stat = dynamic_cast<Static*>(objects[2]);
    auto* pair = dynamic_cast<Static*>(objects[3]);
    auto* guy = dynamic_cast<Guy*>(objects[4]);
    ASSERT_TRUE(morph && shatter && stat && pair && guy);
    EXPECT_EQ(morph->GetName(), "scene.morph.dst.1");
    EXPECT_EQ(morph->GetRibbonTrianglesCount(), kDstTriangles);
    EXPECT_FLOAT_EQ(shatter->GetEndTime(), 60.0f);
    EXPECT_EQ(stat->GetName(), "stat");
    EXPECT_EQ(stat->GetRenderables()[0]->GetOrder(), 3);
    EXPECT_EQ(pair->GetRenderables().size(), 1u);
    EXPECT_EQ(guy->GetName(), "scene.guy.1");
    EXPECT_TRUE(guy->IsRibbonGuy());

    // The scene's own wiring, as the ribbon guy's scene does it.
    guy->SetRibbon(morph);
    guy->Update(2.0f, 0.016f);
    EXPECT_EQ(guy->GetRibbon(), morph);
}

// A ribbon whose mesh the model lacks, then a guy the parser would reject: the ribbon is built,
// and fails, before the guy is read.
TEST_F(SceneObjectFactoryTest, ARibbonThatFailsIsReportedBeforeALaterMalformedGuy) {
    Write(R"(<Scene name="Scene">
  <Ribbons>
    <Ribbon>
      <Destination mesh_name="scene.morph.dst.9"><Material/></Destination>
      <Path><Key time="1" position="0;1;0"/><Key time="2" position="0;2;0"/></Path>
    </Ribbon>
  </Ribbons>
  <Guys><Guy id="1"><Material><UseWire value="no"/></Material></Guy></Guys>
</Scene>
)");
    SceneObjectFactory factory(objects, owner);
    const std::string report = CaptureFatal([&] { LoadScene("Test", factory); });
    EXPECT_NE(report.find("Assertion failed: mesh != NULL, file "), std::string::npos) << report;
    EXPECT_NE(report.find("ribbon.cpp"), std::string::npos) << report;
    EXPECT_TRUE(objects.empty());
}

}  // namespace
