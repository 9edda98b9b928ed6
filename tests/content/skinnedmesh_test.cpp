#include "content/skinnedmeshdata.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "base/log.h"
#include "formats/skmwriter.h"
#include "math/mathtest.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

std::unique_ptr<SkinnedMeshData> Load(const std::string& bytes) {
    std::vector<char> exact(bytes.begin(), bytes.end());
    return LoadSkinnedMeshFromMemory(exact.data(), exact.size(), "SkinnedMeshes/guy.skm");
}

SkinnedVertex Vertex(float x, uint8_t b0, uint8_t b1, float w0) {
    SkinnedVertex v;
    v.position = sm::Vec3(x, x + 1, x + 2);
    v.bones[0] = b0;
    v.bones[1] = b1;
    v.bones[2] = v.bones[3] = 0;
    v.weights[0] = w0;
    v.weights[1] = 1.0f - w0;
    v.weights[2] = v.weights[3] = 0.0f;
    return v;
}

SkmDesc Guy() {
    SkmDesc d;
    d.id = 42;
    d.name = "guy";
    d.secondName = "Bip01";
    d.transform = sm::Mat4::Translation(0, 5, 0) * sm::Mat4::Scale(2, 2, 2);
    d.boneIds = {7, 11, 13};
    d.vertices = {Vertex(0, 0, 1, 0.25f), Vertex(10, 1, 2, 0.5f), Vertex(20, 2, 0, 1.0f)};
    d.properties.push_back(PropertyDesc::ConstantInt("castShadows", 1));
    return d;
}

TEST(SkinnedMeshLoader, RoundTripKeepsEveryField) {
    for (bool header : {true, false}) {
        SCOPED_TRACE(header);
        SkmDesc desc = Guy();
        desc.header = header;
        std::unique_ptr<SkinnedMeshData> mesh = Load(WriteSkm(desc));
        EXPECT_EQ(mesh->GetId(), 42);
        EXPECT_EQ(mesh->GetName(), "guy");
        EXPECT_EQ(mesh->GetSecondName(), "Bip01");
        EXPECT_TRUE(Mat4Near(mesh->GetTransform(), desc.transform));
        EXPECT_TRUE(Mat4Near(mesh->GetTransform() * mesh->GetTransformInverse(), sm::Mat4()));
        ASSERT_EQ(mesh->GetBonesCount(), 3);
        EXPECT_EQ(mesh->GetBoneId(2), 13);
        EXPECT_EQ(std::vector<int32_t>(mesh->GetBoneIds(), mesh->GetBoneIds() + 3), desc.boneIds);
        ASSERT_EQ(mesh->GetVerticesCount(), 3);
        EXPECT_EQ(std::memcmp(mesh->GetVertices(), desc.vertices.data(), 3 * 32), 0);
        ASSERT_NE(mesh->GetProperty("castShadows"), nullptr);
        EXPECT_EQ(mesh->GetProperty("castShadows")->GetInt(0), 1);
    }
}

TEST(SkinnedMeshLoader, MeshCountIsIgnored) {
    for (int32_t count : {5, 0, -1}) {
        SkmDesc desc = Guy();
        desc.meshCount = count;
        EXPECT_EQ(Load(WriteSkm(desc))->GetName(), "guy");
    }
}

TEST(SkinnedMeshLoader, LogsEveryBoneIndexWithItsId) {
    TempDir dir;
    const std::string log = dir.File("log.txt");
    InitLog(false, true, false, log.c_str());
    Load(WriteSkm(Guy()));
    InitLog(false, false, false, log.c_str());

    const std::string text = ReadFileBytes(log);
    const std::regex line(R"(\[\d\d:\d\d:\d\d-T    \] (.*)\n)");
    std::vector<std::string> messages;
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it)
        messages.push_back((*it)[1]);
    EXPECT_EQ(messages, (std::vector<std::string>{"Bone index 0 = 7", "Bone index 1 = 11",
                                                  "Bone index 2 = 13"}));
}

TEST(SkinnedMeshLoader, BoneIndicesMustNameABone) {
    SkmDesc desc = Guy();
    desc.vertices[1].bones[3] = 3;
    // header 8, count 4, id 4, names 4 + 3 and 4 + 5, matrix 64, bones 4 + 12, vertex count 4:
    // vertex data at 116; vertex 1's fourth bone index is 32 + 15 further.
    EXPECT_EQ(CaptureFatal([&] { Load(WriteSkm(desc)); }),
              "SkinnedMeshes/guy.skm: bone index 3 not below the bone count 3 at byte 163 reading "
              "bone indices of vertex 1 of skinned mesh \"guy\"");
}

TEST(SkinnedMeshLoader, UnreadableFileIsFatal) {
    TempDir dir;
    EXPECT_EQ(CaptureFatal([&] {
                  LoadSkinnedMesh(dir.File("guy.skm"));
              }).rfind("Assertion failed: false && \"couldn't load model file\", file ", 0),
              0u);
    WriteFileBytes(dir.File("guy.skm"), WriteSkm(Guy()));
    EXPECT_EQ(LoadSkinnedMesh(dir.File("guy.skm"))->GetBonesCount(), 3);
}

}  // namespace
