// The content manager with a factory that records its calls. Runs on a GL context because the
// textures it hands out are real.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "content/animationdata.h"
#include "content/material.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "content/skinnedmeshdata.h"
#include "formats/geowriter.h"
#include "formats/skmwriter.h"
#include "gpu/contentmanager.h"
#include "gpu/igraphicsengine.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "support/glcontext.h"
#include "support/tempdir.h"

namespace {

class RecordingFactory : public IGraphicsEngine {
public:
    std::vector<std::string> calls;        // "kind path[ path]" in call order
    std::map<std::string, void*> results;  // path -> what was returned
    std::set<std::string> failing;         // paths that fail to load
    std::map<std::string, Material*> materials;

    Texture* LoadTexture(const std::string& path) override {
        calls.push_back("texture " + Relative(path));
        if (failing.count(Relative(path))) return nullptr;
        const unsigned char pixel[4] = {1, 2, 3, 4};
        auto* t = new Texture(1, 1, 32, pixel, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
        results[Relative(path)] = t;
        return t;
    }
    Shader* LoadShader(const std::string& vertex, const std::string& fragment) override {
        calls.push_back("shader " + Relative(vertex) + " " + Relative(fragment));
        auto* s = new Shader;
        results[Relative(vertex)] = s;
        return s;
    }
    Model* LoadModel(const std::string& path) override {
        calls.push_back("model " + Relative(path));
        if (failing.count(Relative(path))) return nullptr;
        Model* m = ::LoadModel(path).release();
        results[Relative(path)] = m;
        return m;
    }
    AnimationData* LoadAnimation(const std::string& path) override {
        calls.push_back("animation " + Relative(path));
        return new AnimationData;
    }
    Material* LoadMaterial(const std::string& path) override {
        calls.push_back("material " + Relative(path));
        auto* m = new Material;
        m->SetDiffuseTextureName("stone");
        m->SetBumpTextureName("missing");
        m->SetOpacityTextureName("");
        materials[Relative(path)] = m;
        return m;
    }

    std::string root;
    std::string Relative(const std::string& path) const {
        return path.rfind(root, 0) == 0 ? path.substr(root.size()) : path;
    }
};

// A model with two meshes whose parts name the given materials.
std::string TwoMeshModel(const std::string& first, const std::string& second) {
    GeoModelDesc model;
    for (const std::string& material : {first, second}) {
        GeoMeshDesc mesh;
        mesh.name = "mesh " + material;
        GeoPartDesc part;
        part.materialName = material;
        part.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        mesh.parts.push_back(part);
        model.meshes.push_back(mesh);
    }
    return WriteGeo(model);
}

class ContentManagerTest : public testing::Test {
protected:
    GlTestContext gl;
    TempDir dir;
    RecordingFactory factory;

    void SetUp() override { factory.root = dir.Path() + "/"; }
    void Put(const std::string& relative, const std::string& bytes = "x") {
        std::filesystem::create_directories(
            std::filesystem::path(dir.File(relative)).parent_path());
        WriteFileBytes(dir.File(relative), bytes);
    }
    std::string Folder(const std::string& sub) const { return dir.Path() + "/" + sub + "/"; }
};

TEST_F(ContentManagerTest, TexturesListPngThenJpegAndTheLaterOneWins) {
    Put("textures/a.png");
    Put("textures/a.jpg");
    Put("textures/b.PNG");
    Put("textures/notes.txt");
    ContentManager manager(&factory);
    EXPECT_EQ(g_contentManager, &manager);
    manager.LoadTextures(Folder("textures"));
    const std::vector<std::string> expected = {"texture textures/a.png", "texture textures/b.PNG",
                                               "texture textures/a.jpg"};
    EXPECT_EQ(factory.calls, expected);
    EXPECT_EQ(manager.GetTexture("a"), factory.results["textures/a.jpg"]);
    EXPECT_NE(manager.GetTexture("b"), nullptr);
    EXPECT_EQ(manager.GetTextures().size(), 2u);
}

TEST_F(ContentManagerTest, ShadersPairWithTheirFragmentSourceAndKeysKeepTheirCase) {
    Put("effects/Blur.vpr");  // no Blur.fpr: the loader is still asked with that path
    Put("effects/Sprite.vpr");
    Put("effects/Sprite.fpr");
    Put("effects/Lonely.fpr");
    ContentManager manager(&factory);
    manager.LoadShaders(Folder("effects"));
    const std::vector<std::string> expected = {"shader effects/Blur.vpr effects/Blur.fpr",
                                               "shader effects/Sprite.vpr effects/Sprite.fpr"};
    EXPECT_EQ(factory.calls, expected);
    EXPECT_NE(manager.GetShader("Sprite"), nullptr);
    EXPECT_EQ(manager.GetShader("sprite"), nullptr);
    EXPECT_EQ(manager.GetShader("Lonely"), nullptr);
    EXPECT_EQ(manager.GetShaders().count("sprite"), 0u);  // a lookup never inserts
}

TEST_F(ContentManagerTest, MissingFoldersLoadNothingAndFailuresMapToNull) {
    Put("models/broken.geo");
    factory.failing.insert("models/broken.geo");
    ContentManager manager(&factory);
    manager.LoadModels(Folder("models"));
    manager.LoadAnimations(Folder("animations"));  // no such folder
    manager.LoadMaterials(Folder("materials"));
    manager.LoadSkinnedMeshes(Folder("SkinnedMeshes"));
    EXPECT_EQ(manager.GetModels().count("broken"), 1u);
    EXPECT_EQ(manager.GetModel("broken"), nullptr);
    EXPECT_TRUE(manager.GetAnimations().empty());
    EXPECT_EQ(factory.calls.size(), 1u);
}

TEST_F(ContentManagerTest, ReferencesLinkPartsToMaterialsAndMaterialsToTextures) {
    Put("models/Scene.geo", TwoMeshModel("stonework", "unknown"));
    Put("materials/stonework.mat");
    Put("textures/stone.png");
    Put("animations/walk.ani");
    SkmDesc guy;
    guy.name = "guy";
    guy.boneIds = {3};
    guy.vertices.resize(3);
    Put("SkinnedMeshes/guy.skm", WriteSkm(guy));

    ContentManager manager(&factory);
    const std::string data = dir.Path() + "/";
    manager.LoadModels(data + "models/");
    manager.LoadTextures(data + "textures/");
    manager.LoadShaders(data + "effects/");
    manager.LoadAnimations(data + "animations/");
    manager.LoadMaterials(data + "materials/");
    manager.LoadSkinnedMeshes(data + "SkinnedMeshes/");
    manager.ResolveReferences();

    Model* model = manager.GetModel("Scene");
    ASSERT_NE(model, nullptr);
    Material* stonework = manager.GetMaterial("stonework");
    ASSERT_NE(stonework, nullptr);
    EXPECT_EQ(model->GetMesh(0)->GetPart(0)->GetMaterial(), stonework);
    EXPECT_EQ(model->GetMesh(1)->GetPart(0)->GetMaterial(), nullptr);
    EXPECT_EQ(stonework->GetDiffuseTexture(), manager.GetTexture("stone"));
    EXPECT_EQ(stonework->GetBumpTexture(), nullptr);
    EXPECT_EQ(stonework->GetOpacityTexture(), nullptr);
    EXPECT_NE(manager.GetAnimation("walk"), nullptr);
    ASSERT_NE(manager.GetSkinnedMesh("guy"), nullptr);
    EXPECT_EQ(manager.GetSkinnedMesh("guy")->GetBonesCount(), 1);
}

}  // namespace
