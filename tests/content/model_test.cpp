#include "content/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "content/modelloader.h"
#include "content/vertexinformation.h"
#include "formats/bytewriter.h"
#include "formats/geowriter.h"
#include "math/mathtest.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

const char kName[] = "models/Test.geo";

std::unique_ptr<Model> Load(const std::string& bytes) {
    // An exact-size copy, so a read past the end is a read past the allocation.
    std::vector<char> exact(bytes.begin(), bytes.end());
    return LoadModelFromMemory(exact.data(), exact.size(), kName);
}

std::string LoadFailure(const std::string& bytes) {
    return CaptureFatal([&] { Load(bytes); });
}

// n vertices of a type, every float distinct: vertex i, float j is 100·i + j.
std::vector<float> Vertices(int type, int n) {
    const int floats = VertexInformation::GetVertexSize(type) / 4;
    std::vector<float> v;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < floats; ++j) v.push_back(100.0f * i + j);
    return v;
}

sm::Mat4 SomeTransform() {
    return sm::Mat4::Translation(1, 2, 3) * sm::Mat4::Rotation(0.5f, 0, 0, 1) *
           sm::Mat4::Scale(2, 2, 2);
}

GeoModelDesc TwoMeshes(bool header, uint16_t version) {
    GeoModelDesc model;
    model.header = header;
    model.version = version;
    GeoMeshDesc floor;
    floor.id = 17;
    floor.name = "floor";
    floor.transform = SomeTransform();
    floor.parts.push_back({"stone", 2, Vertices(2, 6)});
    floor.parts.push_back({"", 5, Vertices(5, 3)});
    floor.properties.push_back(PropertyDesc::ConstantInt("castShadows", 1));
    GeoMeshDesc wall;
    wall.id = -4;
    wall.name = "wall";
    wall.parts.push_back({"brick", 0, {-1, -2, -3, 4, 5, 6, 0, 0, 0}});
    model.meshes = {floor, wall};
    return model;
}

TEST(ModelLoader, RoundTripKeepsMeshesPartsAndLinks) {
    std::unique_ptr<Model> model = Load(WriteGeo(TwoMeshes(true, 1)));
    ASSERT_EQ(model->GetMeshesCount(), 2);
    EXPECT_TRUE(Mat4Near(model->GetTransform(), sm::Mat4()));

    Mesh* floor = model->GetMesh(0);
    EXPECT_EQ(floor->GetId(), 17);
    EXPECT_EQ(floor->GetName(), "floor");
    EXPECT_EQ(floor->GetModel(), model.get());
    EXPECT_TRUE(Mat4Near(floor->GetFileTransform(), SomeTransform()));
    EXPECT_TRUE(Mat4Near(floor->GetFileTransform() * floor->GetFileTransformInverse(), sm::Mat4()));
    EXPECT_TRUE(floor->GetCastShadows());
    EXPECT_FALSE(floor->GetReceiveShadows());

    // The transformable face: a mesh, its id, and writable transforms that start as identity.
    ITransformable* t = floor;
    EXPECT_FALSE(t->IsCamera());
    EXPECT_EQ(t->GetId(), 17);
    EXPECT_TRUE(Mat4Near(*t->GetTransform(), sm::Mat4()));
    EXPECT_TRUE(Mat4Near(*t->GetTransform2(), sm::Mat4()));
    EXPECT_EQ(t->GetParentTransform(), &model->GetTransform());
    (*t->GetTransform())[12] = 5.0f;
    EXPECT_EQ((*floor->GetTransform())[12], 5.0f);

    ASSERT_EQ(floor->GetPartsCount(), 2);
    const MeshPart* part = floor->GetPart(0);
    EXPECT_EQ(part->GetMesh(), floor);
    EXPECT_EQ(part->GetMaterialName(), "stone");
    EXPECT_EQ(part->GetMaterial(), nullptr);
    EXPECT_EQ(part->GetVertexType(), 2);
    // 6 vertices of type 2: 192 bytes, two triangles.
    EXPECT_EQ(part->GetVerticesCount(), 6);
    EXPECT_EQ(part->GetTrianglesCount(), 2);
    ASSERT_EQ(part->GetVertexDataSize(), 192u);
    const std::vector<float> expected = Vertices(2, 6);
    EXPECT_EQ(std::memcmp(part->GetVertexData(), expected.data(), 192), 0);
    // Positions are floats 0..2 of each vertex: x 0…500, y 1…501, z 2…502.
    const BoundingBox& box = part->GetBoundingBox();
    EXPECT_EQ(box.minX, 0.0f);
    EXPECT_EQ(box.maxX, 500.0f);
    EXPECT_EQ(box.minZ, 2.0f);
    EXPECT_EQ(box.maxZ, 502.0f);
    EXPECT_TRUE(Vec3Near(part->GetBoundingSphere().center, sm::Vec3(250, 251, 252)));
    EXPECT_NEAR(part->GetBoundingSphere().radius, 250.0f * std::sqrt(3.0f), 1e-3f);

    Mesh* wall = model->GetMesh(1);
    EXPECT_EQ(wall->GetId(), -4);
    EXPECT_FALSE(wall->GetCastShadows());
    EXPECT_EQ(wall->GetPart(0)->GetTrianglesCount(), 1);
    EXPECT_EQ(wall->GetPart(0)->GetBoundingBox().minY, -2.0f);

    // Every part of every mesh, in file order, for the content manager's link pass.
    const std::vector<MeshPart*> order = {floor->GetPart(0), floor->GetPart(1), wall->GetPart(0)};
    EXPECT_EQ(model->GetMeshParts(), order);
    std::vector<MeshPart*> collected = {nullptr};
    model->CollectMeshParts(&collected);
    EXPECT_EQ(collected.size(), 4u);
    EXPECT_EQ(std::vector<MeshPart*>(collected.begin() + 1, collected.end()), order);

    EXPECT_EQ(model->FindMesh("wall"), wall);
    EXPECT_EQ(model->FindMesh("Wall"), nullptr);
}

TEST(ModelLoader, HeaderAndVersionDecideTheTransform) {
    // Without the header, and with it at version 0, mesh records carry no transform: the
    // bodies are the same bytes.
    const std::string plain = WriteGeo(TwoMeshes(false, 0));
    const std::string v0 = WriteGeo(TwoMeshes(true, 0));
    ASSERT_EQ(v0.substr(0, 8), std::string("KVNMDL\0\0", 8));
    EXPECT_EQ(v0.substr(8), plain);
    for (const std::string* bytes : {&plain, &v0}) {
        std::unique_ptr<Model> model = Load(*bytes);
        ASSERT_EQ(model->GetMeshesCount(), 2);
        EXPECT_TRUE(Mat4Near(model->GetMesh(0)->GetFileTransform(), sm::Mat4()));
        EXPECT_TRUE(Mat4Near(model->GetMesh(0)->GetFileTransformInverse(), sm::Mat4()));
        EXPECT_EQ(model->GetMesh(1)->GetPart(0)->GetMaterialName(), "brick");
    }
    // Any other version, the largest included, has transforms.
    for (uint16_t version : {1, 2, 0xFFFF}) {
        std::unique_ptr<Model> model = Load(WriteGeo(TwoMeshes(true, version)));
        EXPECT_TRUE(Mat4Near(model->GetMesh(0)->GetFileTransform(), SomeTransform()));
    }
    // Only the first six bytes are the magic; anything else starts the body at 0. Seven bytes
    // are too short for a header, so "KVNM" is read as a (far too large) mesh count.
    EXPECT_EQ(Load(std::string("\0\0\0\0", 4))->GetMeshesCount(), 0);
    EXPECT_EQ(LoadFailure(std::string("KVNMDL\x01", 7)),
              "models/Test.geo: count 1296979531 times 16 bytes overflows at byte 0 reading mesh "
              "count");
    std::string lower = WriteGeo(TwoMeshes(true, 1));
    lower[5] = 'l';
    EXPECT_NE(LoadFailure(lower), "");
}

GeoModelDesc OneMeshWith(std::vector<PropertyDesc> properties) {
    GeoModelDesc model;
    GeoMeshDesc mesh;
    mesh.name = "m";
    mesh.properties = std::move(properties);
    model.meshes.push_back(mesh);
    return model;
}

TEST(ModelLoader, ShadowFlagsNeedTheIntValueOne) {
    struct Case {
        std::vector<PropertyDesc> properties;
        bool cast, receive;
    };
    PropertyDesc keyed;
    keyed.name = "receiveshadows";
    keyed.animationType = AnimationType_State;
    keyed.keys = {{0.0f, 1, 0}, {5.0f, 0, 0}};
    const Case cases[] = {
        {{}, false, false},
        {{PropertyDesc::ConstantInt("castShadows", 1)}, true, false},
        {{PropertyDesc::ConstantInt("castShadows", 2)}, false, false},
        {{PropertyDesc::ConstantInt("receiveshadows", 1)}, false, true},
        {{PropertyDesc::ConstantInt("receiveShadows", 1)}, false, false},  // case matters
        {{keyed, PropertyDesc::ConstantInt("castShadows", 1)}, true, true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Model> model = Load(WriteGeo(OneMeshWith(c.properties)));
        EXPECT_EQ(model->GetMesh(0)->GetCastShadows(), c.cast);
        EXPECT_EQ(model->GetMesh(0)->GetReceiveShadows(), c.receive);
    }
    PropertyDesc asFloat;
    asFloat.name = "castShadows";
    asFloat.propertyType = PropertyType_Float;
    asFloat.floatValue = 1.0f;
    EXPECT_EQ(LoadFailure(WriteGeo(OneMeshWith({asFloat})))
                  .rfind("Assertion failed: m_propType == PropertyType_Int, file ", 0),
              0u);
}

TEST(ModelLoader, PropertyRecordsConsumeExactlyTheirBytes) {
    // One mesh, no parts, five hand-made properties, then a sixth to prove the cursor is right.
    ByteWriter w;
    w.I32(1);
    w.I32(3);
    w.String("m");
    w.I32(0);
    w.I32(6);
    w.String("f");  // keyed Float, two keys: 4 + 2 × (4 + 4) bytes after the type bytes
    w.U8(PropertyType_Float);
    w.U8(AnimationType_Linear);
    w.I32(2);
    w.F32(0.0f);
    w.F32(10.0f);
    w.F32(2.0f);
    w.F32(20.0f);
    w.String("v");  // keyed Vector3: only the key times
    w.U8(PropertyType_Vector3);
    w.U8(AnimationType_TCB);
    w.I32(2);
    w.F32(1.0f);
    w.F32(3.0f);
    w.String("b");  // constant Boolean: one byte, non-zero is true
    w.U8(PropertyType_Boolean);
    w.U8(AnimationType_None);
    w.U8(7);
    w.String("s");
    w.U8(PropertyType_String);
    w.U8(AnimationType_None);
    w.String("text");
    w.String("p");
    w.U8(PropertyType_Vector3);
    w.U8(AnimationType_None);
    w.F32(1);
    w.F32(2);
    w.F32(3);
    w.String("b");  // a later record of a name replaces the earlier one
    w.U8(PropertyType_Int);
    w.U8(AnimationType_None);
    w.I32(-9);

    std::unique_ptr<Model> model = Load(w.Bytes());
    const Mesh* mesh = model->GetMesh(0);
    EXPECT_EQ(mesh->GetProperties().size(), 5u);
    const Property* f = mesh->GetProperty("f");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetAnimationType(), AnimationType_Linear);
    EXPECT_EQ(f->GetInterpolator()->GetKeysCount(), 2);
    EXPECT_FLOAT_EQ(f->GetFloat(1.0f), 15.0f);
    EXPECT_EQ(mesh->GetProperty("v")->GetInterpolator()->GetKeysCount(), 0);
    EXPECT_EQ(mesh->GetProperty("s")->GetString(0), "text");
    EXPECT_TRUE(Vec3Near(mesh->GetProperty("p")->GetVector3(0), sm::Vec3(1, 2, 3)));
    EXPECT_EQ(mesh->GetProperty("b")->GetInt(0), -9);
    EXPECT_EQ(mesh->GetProperty("missing"), nullptr);

    // Constant Booleans: any non-zero byte is true.
    PropertyDesc flag;
    flag.name = "flag";
    flag.propertyType = PropertyType_Boolean;
    flag.boolValue = true;
    std::string bytes = WriteGeo(OneMeshWith({flag}));
    bytes[bytes.size() - 1] = static_cast<char>(0x80);
    EXPECT_TRUE(Load(bytes)->GetMesh(0)->GetProperty("flag")->GetBool(0));
}

TEST(ModelLoader, SameNamedMeshesFindTheFirst) {
    GeoModelDesc desc = TwoMeshes(false, 0);
    desc.meshes[1].name = "floor";
    std::unique_ptr<Model> model = Load(WriteGeo(desc));
    EXPECT_EQ(model->FindMesh("floor"), model->GetMesh(0));
}

TEST(ModelLoader, DamagedFilesAreFatalWithFileOffsetAndRecord) {
    GeoModelDesc desc = OneMeshWith({});
    desc.meshes[0].name = "floor";
    desc.meshes[0].parts.push_back({"mat", 1, Vertices(1, 3)});
    const std::string good = WriteGeo(desc);
    // mesh count 4, id 4, name 4 + 5, part count 4, material name 4 + 3: the vertex type is at
    // byte 28, the vertex count at 29, the vertex data at 33.
    ASSERT_EQ(good[28], 1);

    std::string type6 = good;
    type6[28] = 6;
    EXPECT_EQ(LoadFailure(type6),
              "models/Test.geo: vertex type 6 above 5 at byte 28 reading vertex type of part 0 of "
              "mesh \"floor\"");

    std::string negative = good;
    negative[32] = static_cast<char>(0xFF);
    EXPECT_EQ(LoadFailure(negative),
              "models/Test.geo: negative count -16777213 at byte 29 reading vertex count of part 0 "
              "of mesh \"floor\"");

    EXPECT_EQ(LoadFailure(good.substr(0, 40)),
              "models/Test.geo: truncated at byte 33 reading vertex data of part 0 of mesh "
              "\"floor\"");

    auto withProperty = [&](PropertyDesc p) { return LoadFailure(WriteGeo(OneMeshWith({p}))); };
    PropertyDesc bad;
    bad.name = "x";
    bad.propertyType = 5;
    // mesh count, id, name "m", part count, property count, name "x": type at byte 26.
    EXPECT_EQ(withProperty(bad),
              "models/Test.geo: property type 5 above 4 at byte 26 reading property type of "
              "property \"x\" of mesh \"m\"");
    bad.propertyType = PropertyType_Int;
    bad.animationType = 4;
    EXPECT_EQ(withProperty(bad),
              "models/Test.geo: animation type 4 above 3 at byte 27 reading animation type of "
              "property \"x\" of mesh \"m\"");
    bad.propertyType = PropertyType_String;
    bad.animationType = AnimationType_Linear;
    EXPECT_EQ(withProperty(bad),
              "models/Test.geo: animation type 2 with property type 4 at byte 27 reading animation "
              "type of property \"x\" of mesh \"m\"");
    bad.propertyType = PropertyType_Int;
    bad.keys = {{1.0f, 0, 0}, {1.0f, 0, 0}};
    EXPECT_EQ(withProperty(bad),
              "models/Test.geo: key time 1 not after 1 at byte 40 reading key time of property "
              "\"x\" of mesh \"m\"");
}

TEST(ModelLoader, FileErrorsNameThePathBelowTheDataFolder) {
    TempDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.File("models")));
    const std::string path = dir.File("models/Scene01.geo");
    WriteFileBytes(path, WriteGeo(TwoMeshes(true, 1)).substr(0, 30));
    EXPECT_EQ(CaptureFatal([&] { LoadModel(path); }).rfind("models/Scene01.geo: truncated at ", 0),
              0u);

    WriteFileBytes(path, WriteGeo(TwoMeshes(false, 0)));
    EXPECT_EQ(LoadModel(path)->GetMeshesCount(), 2);

    EXPECT_EQ(CaptureFatal([&] { LoadModel(dir.File("models/missing.geo")); })
                  .rfind("Assertion failed: false && \"couldn't load model file\", file "
                         "modelloader.cpp, line ",
                         0),
              0u);
}

}  // namespace
