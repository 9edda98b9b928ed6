#include "content/materialloader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/materialwriter.h"
#include "support/fatalcapture.h"
#include "support/germanlocale.h"
#include "support/tempdir.h"

namespace {

class MaterialFile : public testing::Test {
protected:
    std::unique_ptr<Material> LoadText(const std::string& text) {
        WriteFileBytes(m_dir.File("m.mat"), text);
        return LoadMaterial(m_dir.File("m.mat"));
    }
    std::unique_ptr<Material> Load(const MaterialDesc& desc) {
        return LoadText(WriteMaterial(desc));
    }
    TempDir m_dir;
};

MaterialParamDesc Param(const std::string& type, const std::string& value) {
    return MaterialParamDesc{type, value};
}

MaterialTextureDesc Tex(const std::string& type, const std::string& file) {
    MaterialTextureDesc t;
    t.type = type;
    t.file = file;
    return t;
}

void ExpectVec4(const sm::Vec4& v, float x, float y, float z, float w) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, w);
}

void ExpectDefaults(const Material& m) {
    ExpectVec4(m.GetDiffuseColor(), 0.6f, 0.6f, 0.6f, 1.0f);
    EXPECT_EQ(m.GetSpecularColor(), sm::Vec3(1, 1, 1));
    EXPECT_FLOAT_EQ(m.GetGlossiness(), 0.3f);
    EXPECT_FLOAT_EQ(m.GetSpecularLevel(), 1.0f);
    EXPECT_FLOAT_EQ(m.GetReflection(), 0.0f);
    for (const std::string* name :
         {&m.GetDiffuseTextureName(), &m.GetOpacityTextureName(), &m.GetBumpTextureName(),
          &m.GetEnvironmentTextureName(), &m.GetLightmapTextureName()}) {
        EXPECT_EQ(*name, "");
    }
    EXPECT_EQ(m.GetDiffuseTexture(), nullptr);
    EXPECT_EQ(m.GetOpacityTexture(), nullptr);
    EXPECT_EQ(m.GetBumpTexture(), nullptr);
    EXPECT_EQ(m.GetLightmapTexture(), nullptr);
    EXPECT_FALSE(m.IsTransparent());
}

TEST_F(MaterialFile, RootAloneGivesTheDefaults) {
    ExpectDefaults(Material());
    auto m = LoadText("<Whatever/>");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetName(), "");
    ExpectDefaults(*m);
}

TEST_F(MaterialFile, ParamsApplyInDocumentOrder) {
    MaterialDesc desc;
    desc.name = "Glass";
    desc.children = {
        Param("Opacity", "0.5"),          Param("Diffuse", "1;0;0"),  // keeps the opacity
        Param("Specular", "0.1;0.2;0.3"), Param("Glossiness", "0.7"),
        Param("SpecularLevel", "2"),      Param("Glossiness", "0.9"),  // a later one wins
        Param("Ambient", "1;1;1"),                                     // unknown types are ignored
        Param("opacity", "0.1"),                                       // types are case-sensitive
    };
    auto m = Load(desc);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetName(), "Glass");
    ExpectVec4(m->GetDiffuseColor(), 1, 0, 0, 0.5f);
    EXPECT_TRUE(m->IsTransparent());
    EXPECT_EQ(m->GetSpecularColor(), sm::Vec3(0.1f, 0.2f, 0.3f));
    EXPECT_FLOAT_EQ(m->GetGlossiness(), 0.9f);
    EXPECT_FLOAT_EQ(m->GetSpecularLevel(), 2.0f);
}

TEST_F(MaterialFile, MissingAndShortValues) {
    struct Case {
        const char* type;
        std::optional<std::string> value;
        sm::Vec4 diffuse;
        sm::Vec3 specular;
        float glossiness;
        float level;
    };
    const sm::Vec4 d(0.6f, 0.6f, 0.6f, 1);
    const sm::Vec3 s(1, 1, 1);
    const Case cases[] = {
        {"Opacity", std::nullopt, {0.6f, 0.6f, 0.6f, 0}, s, 0.3f, 1},
        {"Glossiness", std::nullopt, d, s, 0, 1},
        {"SpecularLevel", std::nullopt, d, s, 0.3f, 0},
        {"Diffuse", std::nullopt, {0, 0, 0, 1}, s, 0.3f, 1},
        {"Diffuse", std::string("0.5"), {0.5f, 0, 0, 1}, s, 0.3f, 1},
        {"Specular", std::string("junk"), d, {0, 0, 0}, 0.3f, 1},
        {"Specular", std::string("1;2"), d, {1, 2, 0}, 0.3f, 1},
        {"Opacity", std::string("1.0 opaque"), d, s, 0.3f, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + "=" + c.value.value_or("(absent)"));
        MaterialDesc desc;
        desc.children = {MaterialParamDesc{c.type, c.value}};
        auto m = Load(desc);
        ASSERT_NE(m, nullptr);
        ExpectVec4(m->GetDiffuseColor(), c.diffuse.x, c.diffuse.y, c.diffuse.z, c.diffuse.w);
        EXPECT_EQ(m->GetSpecularColor(), c.specular);
        EXPECT_FLOAT_EQ(m->GetGlossiness(), c.glossiness);
        EXPECT_FLOAT_EQ(m->GetSpecularLevel(), c.level);
    }
    MaterialDesc transparent;
    transparent.children = {MaterialParamDesc{"Opacity", std::nullopt}};
    EXPECT_TRUE(Load(transparent)->IsTransparent());
}

TEST_F(MaterialFile, TextureReferencesKeepTheBareFileName) {
    MaterialDesc desc;
    MaterialTextureDesc env = Tex("Environment", "sky.jpg");
    env.reflection = "0.25";
    MaterialTextureDesc bump = Tex("Bump", "bump.png");
    bump.element = "Anything";  // the tag of a reference is not looked at
    desc.children = {
        MaterialTexturesDesc{{Tex("Diffuse", "maps\\Brick.PNG"), Tex("Opacity", "/x/y/alpha.png"),
                              bump, Tex("Lightmap", "C:\\lm\\light.map.jpg"), env,
                              Tex("Reflect", "nope.png"), Tex("diffuse", "nope.png")}},
        // another group later overrides one name and leaves the rest
        MaterialTexturesDesc{{Tex("Diffuse", "wall")}},
    };
    auto m = Load(desc);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetDiffuseTextureName(), "wall");
    EXPECT_EQ(m->GetOpacityTextureName(), "alpha");
    EXPECT_EQ(m->GetBumpTextureName(), "bump");
    EXPECT_EQ(m->GetLightmapTextureName(), "light.map");
    EXPECT_EQ(m->GetEnvironmentTextureName(), "sky");
    EXPECT_FLOAT_EQ(m->GetReflection(), 0.25f);
    EXPECT_EQ(m->GetDiffuseTexture(), nullptr);

    MaterialDesc noReflection;
    noReflection.children = {
        MaterialTexturesDesc{{env}},
        MaterialTexturesDesc{{Tex("Environment", "dark.png"), MaterialTextureDesc{}}},
    };
    m = Load(noReflection);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetEnvironmentTextureName(), "dark");
    EXPECT_FLOAT_EQ(m->GetReflection(), 0.0f);
}

TEST_F(MaterialFile, OnlyParamAndTexturesChildrenOfTheRootCount) {
    auto m = LoadText(
        "<M Name=\"n\">\n"
        "  <Other Type=\"Opacity\" Value=\"0.1\"/>\n"
        "  <param Type=\"Opacity\" Value=\"0.2\"/>\n"
        "  <Group><Param Type=\"Opacity\" Value=\"0.3\"/></Group>\n"
        "  <Textures Type=\"Diffuse\" File=\"x.png\">text</Textures>\n"
        "  <Param Type=\"Glossiness\" Value=\"0.5\"><Param Type=\"Opacity\" "
        "Value=\"0.4\"/></Param>\n"
        "</M>");
    ASSERT_NE(m, nullptr);
    EXPECT_FLOAT_EQ(m->GetDiffuseColor().w, 1.0f);
    EXPECT_EQ(m->GetDiffuseTextureName(), "");
    EXPECT_FLOAT_EQ(m->GetGlossiness(), 0.5f);
}

TEST_F(MaterialFile, MissingOrMalformedFilesGiveNoMaterial) {
    EXPECT_EQ(LoadMaterial(m_dir.File("absent.mat")), nullptr);
    EXPECT_EQ(LoadText("<Material Name=\"x\">"), nullptr);
    EXPECT_EQ(LoadText(""), nullptr);
}

TEST_F(MaterialFile, NonNumericScalarsAreFatal) {
    struct Case {
        const char* type;
        const char* value;
        bool texture;
    };
    const Case cases[] = {
        {"Opacity", "half", false},
        {"Glossiness", "", false},
        {"SpecularLevel", "x1", false},
        {"Environment", "much", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        MaterialDesc desc;
        if (c.texture) {
            MaterialTextureDesc t = Tex(c.type, "e.png");
            t.reflection = c.value;
            desc.children = {MaterialTexturesDesc{{t}}};
        } else {
            desc.children = {Param(c.type, c.value)};
        }
        std::string message = CaptureFatal([&] { Load(desc); });
        EXPECT_EQ(message.rfind("Assertion failed: false && \"wrong format\"", 0), 0u) << message;
        EXPECT_NE(message.find(m_dir.File("m.mat")), std::string::npos) << message;
    }
}

TEST_F(MaterialFile, WriterOutputReadsBackExactly) {
    MaterialDesc desc;
    desc.rootElement = "Mat";
    desc.name = "Q\"uo<te>&amp";
    const sm::Vec3 diffuse(0.1f, 1.0f / 3.0f, 123456.789f);
    const sm::Vec3 specular(1e-7f, -0.0f, 16777217.0f);
    MaterialTextureDesc env = Tex("Environment", "dir\\e&v<1>.png");
    env.reflection = MaterialFloat(0.7f);
    desc.children = {
        Param("Diffuse", MaterialColor(diffuse)),
        Param("Opacity", MaterialFloat(0.999999f)),
        Param("Specular", MaterialColor(specular)),
        Param("Glossiness", MaterialFloat(3.14159274f)),
        MaterialOtherDesc{"Note", {{"text", "ignored \"here\""}}},
        MaterialTexturesDesc{{Tex("Diffuse", "d.png"), env}},
    };
    const std::string text = WriteMaterial(desc);
    EXPECT_EQ(text, WriteMaterial(desc));
    auto m = LoadText(text);
    ASSERT_NE(m, nullptr) << text;
    EXPECT_EQ(m->GetName(), *desc.name);
    EXPECT_EQ(m->GetDiffuseColor().x, diffuse.x);
    EXPECT_EQ(m->GetDiffuseColor().y, diffuse.y);
    EXPECT_EQ(m->GetDiffuseColor().z, diffuse.z);
    EXPECT_EQ(m->GetDiffuseColor().w, 0.999999f);
    EXPECT_TRUE(m->IsTransparent());
    EXPECT_EQ(m->GetSpecularColor(), specular);
    EXPECT_EQ(m->GetGlossiness(), 3.14159274f);
    EXPECT_EQ(m->GetDiffuseTextureName(), "d");
    EXPECT_EQ(m->GetEnvironmentTextureName(), "e&v<1>");
    EXPECT_EQ(m->GetReflection(), 0.7f);
}

TEST_F(MaterialFile, NumbersIgnoreAGermanLocale) {
    ScopedGermanLocale german;
    if (!german.Active()) GTEST_SKIP() << "no German locale on this system";
    MaterialDesc desc;
    desc.children = {Param("Diffuse", MaterialColor(sm::Vec3(0.25f, 0.5f, 0.75f))),
                     Param("Opacity", MaterialFloat(0.5f))};
    const std::string text = WriteMaterial(desc);
    EXPECT_NE(text.find("0.25;0.5;0.75"), std::string::npos) << text;
    auto m = LoadText(text);
    ASSERT_NE(m, nullptr);
    ExpectVec4(m->GetDiffuseColor(), 0.25f, 0.5f, 0.75f, 0.5f);
}

TEST_F(MaterialFile, EveryTruncationOfAValidFileIsSafe) {
    MaterialDesc desc;
    desc.name = "Brick";
    MaterialTextureDesc env = Tex("Environment", "sky.png");
    env.reflection = "0.5";
    desc.children = {Param("Diffuse", "0.5;0.25;1"), Param("Opacity", "0.75"),
                     MaterialTexturesDesc{{Tex("Diffuse", "maps\\Brick.PNG"), env}},
                     Param("Glossiness", "0.125")};
    const std::string text = WriteMaterial(desc);
    for (size_t length = 0; length < text.size(); ++length) {
        SCOPED_TRACE(length);
        std::unique_ptr<Material> m;
        std::string message = CaptureFatal([&] { m = LoadText(text.substr(0, length)); });
        EXPECT_EQ(message, "");
        EXPECT_EQ(m != nullptr, length == text.size() - 1);  // only the final newline may go
    }
    auto m = LoadText(text);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetDiffuseTextureName(), "Brick");
    EXPECT_FLOAT_EQ(m->GetGlossiness(), 0.125f);
}

// The engine draws through the virtual operations; Apply runs the render state first.
TEST(Material, ApplyRunsRenderStateThenShader) {
    struct Recording : Material {
        std::vector<std::string> calls;
        void ApplyRenderState() override { calls.push_back("state"); }
        void ApplyShader() override { calls.push_back("shader"); }
    };
    Recording m;
    m.Apply();
    EXPECT_EQ(m.calls, (std::vector<std::string>{"state", "shader"}));
    Material plain;
    plain.Apply();  // the base does nothing
    plain.SetDiffuseColor(sm::Vec4(1, 1, 1, 0.99f));
    EXPECT_TRUE(plain.IsTransparent());
    plain.SetDiffuseColor(sm::Vec4(1, 1, 1, 1.5f));
    EXPECT_FALSE(plain.IsTransparent());
}

}  // namespace
