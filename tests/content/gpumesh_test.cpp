// The GPU mesh family on a real GL context (virtual display, Mesa): what each class puts into
// its buffers, where its attribute pointers point, what the per-triangle setters change, the
// triangles' local frames, the bone binding and the ribbon transforms.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content/animation.h"
#include "content/animationdata.h"
#include "content/model.h"
#include "content/ribbontriangle.h"
#include "content/skinnedmeshdata.h"
#include "content/vertexinformation.h"
#include "gpu/shader.h"
#include "gpu/skinnedmesh.h"
#include "gpu/skinnedribbonmesh.h"
#include "gpu/statictriangledmesh.h"
#include "gpu/uniquetriangledmesh.h"
#include "math/mathtest.h"
#include "support/fatalcapture.h"
#include "support/glcontext.h"
#include "support/glframe.h"
#include "support/tempdir.h"

namespace {

using sm::Mat4;
using sm::Vec3;
using sm::Vec4;

// Two triangles and a spare vertex; the second triangle is tilted out of the z = 0 plane.
const std::vector<Vec3> kSevenPositions = {
    {-0.8f, -0.6f, 0.0f}, {-0.1f, -0.6f, 0.0f}, {-0.45f, 0.5f, 0.0f}, {0.1f, -0.5f, 0.3f},
    {0.8f, -0.4f, -0.2f}, {0.5f, 0.6f, 0.1f},   {9.0f, 9.0f, 9.0f},
};

std::vector<Vec3> First(size_t n) {
    return std::vector<Vec3>(kSevenPositions.begin(), kSevenPositions.begin() + n);
}

// A part of the given vertex type; every float that is not the position is 99, so reading the
// wrong bytes shows.
std::unique_ptr<MeshPart> MakePart(const std::vector<Vec3>& positions, int vertexType = 0) {
    const int size = VertexInformation::GetVertexSize(vertexType);
    std::vector<float> floats(positions.size() * size / 4, 99.0f);
    for (size_t i = 0; i < positions.size(); ++i) {
        floats[i * size / 4 + 0] = positions[i].x;
        floats[i * size / 4 + 1] = positions[i].y;
        floats[i * size / 4 + 2] = positions[i].z;
    }
    std::vector<unsigned char> bytes(floats.size() * 4);
    std::memcpy(bytes.data(), floats.data(), bytes.size());
    return std::make_unique<MeshPart>(vertexType, static_cast<int>(positions.size()),
                                      std::move(bytes), "");
}

// Every vertex weighted fully to bone 0, with a second, partial weight on the last bone.
std::unique_ptr<SkinnedMeshData> MakeSkinned(const std::vector<Vec3>& positions,
                                             std::vector<int32_t> boneIds = {7}) {
    std::vector<SkinnedVertex> vertices(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        vertices[i].position = positions[i];
        vertices[i].bones[0] = 0;
        vertices[i].bones[1] = static_cast<uint8_t>(boneIds.size() - 1);
        vertices[i].bones[2] = vertices[i].bones[3] = 0;
        vertices[i].weights[0] = 1.0f;
        vertices[i].weights[1] = vertices[i].weights[2] = vertices[i].weights[3] = 0.0f;
    }
    return std::make_unique<SkinnedMeshData>(1, "guy", "", Mat4(), std::move(boneIds),
                                             std::move(vertices), PropertyMap());
}

template <typename T>
std::vector<T> ReadBuffer(GLuint buffer, GLenum target = GL_ARRAY_BUFFER) {
    glBindBuffer(target, buffer);
    GLint size = 0;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size % static_cast<GLint>(sizeof(T)), 0);
    std::vector<T> out(static_cast<size_t>(size) / sizeof(T));
    if (size > 0) glGetBufferSubData(target, 0, size, out.data());
    glBindBuffer(target, 0);
    return out;
}

GLint BufferSize(GLuint buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLint size = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return size;
}

// A program that reads nothing: Draw needs one bound, the tests read buffers, not pixels.
std::unique_ptr<Shader> NullProgram(const TempDir& dir) {
    WriteFileBytes(dir.File("null.vpr"),
                   "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
    WriteFileBytes(dir.File("null.fpr"),
                   "#version 330 core\nout vec4 o; void main() { o = vec4(1.0); }\n");
    return std::unique_ptr<Shader>(Shader::LoadShader(dir.File("null.vpr"), dir.File("null.fpr")));
}

// The dynamic record of each class: its size, where the glow power lies, the initial values.
struct Layout {
    int stride;
    int glowOffset;
    Vec4 color;
    float glow;
    bool hasTransform;  // 16 floats at byte 16
};

// One mesh of each class with the data it was built from, kept alive beside it.
template <typename Mesh>
struct Built {
    std::unique_ptr<MeshPart> part;
    std::unique_ptr<SkinnedMeshData> data;
    Mesh mesh;
};

void Build(Built<StaticTriangledMesh>* b, const std::vector<Vec3>& p) {
    b->part = MakePart(p);
    b->mesh.Create(*b->part);
}
void Build(Built<UniqueTriangledMesh>* b, const std::vector<Vec3>& p) {
    b->part = MakePart(p);
    b->mesh.Create(*b->part);
}
void Build(Built<SkinnedMesh>* b, const std::vector<Vec3>& p) {
    b->data = MakeSkinned(p);
    b->mesh.Create(*b->data);
}
void Build(Built<SkinnedRibbonMesh>* b, const std::vector<Vec3>& p) {
    b->data = MakeSkinned(p);
    b->mesh.Create(*b->data);
}

Layout LayoutOf(const StaticTriangledMesh*) {
    return {20, 16, {0.2f, 0.8f, 0.0f, 0.2f}, 0.8f, false};
}
Layout LayoutOf(const UniqueTriangledMesh*) {
    return {84, 80, {0.7f, 0.2f, 0.8f, 0.8f}, 0.5f, true};
}
Layout LayoutOf(const SkinnedMesh*) { return {20, 16, {0.2f, 0.8f, 0.0f, 0.8f}, 1.2f, false}; }
Layout LayoutOf(const SkinnedRibbonMesh*) {
    return {20, 16, {0.2f, 0.8f, 0.0f, 0.8f}, 1.2f, false};
}

// The record of vertex v read back as floats.
struct Record {
    Vec4 color;
    float glow;
    Mat4 transform;
};

std::vector<Record> Records(const std::vector<float>& floats, const Layout& layout) {
    std::vector<Record> records(floats.size() * 4 / layout.stride);
    for (size_t v = 0; v < records.size(); ++v) {
        const float* r = &floats[v * layout.stride / 4];
        records[v].color = Vec4(r[0], r[1], r[2], r[3]);
        records[v].glow = r[layout.glowOffset / 4];
        if (layout.hasTransform)
            for (int i = 0; i < 16; ++i) records[v].transform[i] = r[4 + i];
    }
    return records;
}

void ExpectColor(const Vec4& actual, const Vec4& expected, const std::string& where) {
    EXPECT_TRUE(actual.x == expected.x && actual.y == expected.y && actual.z == expected.z &&
                actual.w == expected.w)
        << where << ": " << testing::PrintToString(actual) << " vs "
        << testing::PrintToString(expected);
}

template <typename Mesh>
class DynamicData : public testing::Test {};
using MeshKinds =
    testing::Types<StaticTriangledMesh, UniqueTriangledMesh, SkinnedMesh, SkinnedRibbonMesh>;
TYPED_TEST_SUITE(DynamicData, MeshKinds);

TYPED_TEST(DynamicData, WholeTrianglesCountingIndicesAndInitialRecords) {
    GlTestContext gl;
    TempDir dir;
    const std::unique_ptr<Shader> programOwner = NullProgram(dir);
    Shader* program = programOwner.get();
    const Layout layout = LayoutOf(static_cast<TypeParam*>(nullptr));
    for (size_t vertices : {6u, 7u}) {
        SCOPED_TRACE(vertices);
        Built<TypeParam> b;
        Build(&b, First(vertices));
        EXPECT_EQ(b.mesh.GetTrianglesCount(), 2);
        EXPECT_EQ(ReadBuffer<uint16_t>(b.mesh.GetIndexBufferId(), GL_ELEMENT_ARRAY_BUFFER),
                  (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
        // Storage before the first draw, the initial records after it.
        EXPECT_EQ(BufferSize(b.mesh.GetDynamicBufferId()), 6 * layout.stride);
        program->Use();
        b.mesh.Draw();
        const std::vector<Record> records =
            Records(ReadBuffer<float>(b.mesh.GetDynamicBufferId()), layout);
        ASSERT_EQ(records.size(), 6u);
        for (const Record& r : records) {
            ExpectColor(r.color, layout.color, "initial colour");
            EXPECT_EQ(r.glow, layout.glow);
            if (layout.hasTransform) {
                EXPECT_TRUE(Mat4Near(r.transform, Mat4(), 0.0f));
            }
        }
    }
    ExpectNoGlError("mesh creation and draw");
}

TYPED_TEST(DynamicData, SettersChangeTheThreeVerticesOfTheirTriangleOnly) {
    GlTestContext gl;
    TempDir dir;
    const std::unique_ptr<Shader> programOwner = NullProgram(dir);
    Shader* program = programOwner.get();
    const Layout layout = LayoutOf(static_cast<TypeParam*>(nullptr));
    Built<TypeParam> b;
    Build(&b, First(6));
    program->Use();

    const Vec4 red(1.0f, 0.0f, 0.0f, 0.5f);
    b.mesh.SetTriangleColor(1, red);
    b.mesh.SetTriangleGlowPower(0, 3.0f);
    b.mesh.Draw();
    std::vector<Record> records = Records(ReadBuffer<float>(b.mesh.GetDynamicBufferId()), layout);
    ASSERT_EQ(records.size(), 6u);
    for (int v = 0; v < 6; ++v) {
        SCOPED_TRACE(v);
        ExpectColor(records[v].color, v >= 3 ? red : layout.color, "colour");
        EXPECT_EQ(records[v].glow, v < 3 ? 3.0f : layout.glow);
    }

    const Vec4 cyan(0.0f, 1.0f, 1.0f, 0.25f);
    b.mesh.SetAllTrianglesColor(cyan);
    b.mesh.SetAllTrianglesGlowPower(0.125f);
    // The CPU copy changes; the buffer only at the next draw.
    records = Records(ReadBuffer<float>(b.mesh.GetDynamicBufferId()), layout);
    ExpectColor(records[0].color, layout.color, "before the draw");
    b.mesh.Draw();
    for (const Record& r : Records(ReadBuffer<float>(b.mesh.GetDynamicBufferId()), layout)) {
        ExpectColor(r.color, cyan, "all");
        EXPECT_EQ(r.glow, 0.125f);
    }

    for (int index : {-1, 2}) {
        EXPECT_EQ(CaptureFatal([&] {
                      b.mesh.SetTriangleColor(index, red);
                  }).rfind("Assertion failed: triangle >= 0 && triangle < trianglesCount", 0),
                  0u)
            << index;
        EXPECT_NE(CaptureFatal([&] { b.mesh.SetTriangleGlowPower(index, 1.0f); }), "");
    }
    ExpectNoGlError("setters and draws");
}

TEST(UniqueTriangledMesh, TriangleTransformGoesToItsThreeVertices) {
    GlTestContext gl;
    TempDir dir;
    const std::unique_ptr<Shader> programOwner = NullProgram(dir);
    Shader* program = programOwner.get();
    Built<UniqueTriangledMesh> b;
    Build(&b, First(6));
    const Mat4 placed = Mat4::Translation(1, 2, 3) * Mat4::Rotation(0.5f, 0, 0, 1);
    b.mesh.SetTriangleTransform(1, placed);
    program->Use();
    b.mesh.Draw();
    const std::vector<Record> records =
        Records(ReadBuffer<float>(b.mesh.GetDynamicBufferId()), LayoutOf(&b.mesh));
    for (int v = 0; v < 6; ++v)
        EXPECT_TRUE(Mat4Near(records[v].transform, v >= 3 ? placed : Mat4(), 0.0f)) << v;
    EXPECT_NE(CaptureFatal([&] { b.mesh.SetTriangleTransform(2, placed); }), "");
}

// Locations, sizes, types, strides, offsets and source buffers after a draw.
struct Pointer {
    int location;
    GLuint buffer;
    int size;
    GLenum type;
    int stride;
    size_t offset;
    bool integer;
};

void ExpectPointers(const std::vector<Pointer>& pointers) {
    for (const Pointer& p : pointers) {
        SCOPED_TRACE(p.location);
        GLint value = 0;
        glGetVertexAttribiv(p.location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
        EXPECT_EQ(static_cast<GLuint>(value), p.buffer);
        glGetVertexAttribiv(p.location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &value);
        EXPECT_EQ(value, p.size);
        glGetVertexAttribiv(p.location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
        EXPECT_EQ(static_cast<GLenum>(value), p.type);
        glGetVertexAttribiv(p.location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &value);
        EXPECT_EQ(value, p.stride);
        glGetVertexAttribiv(p.location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &value);
        EXPECT_EQ(value, GL_FALSE);
        glGetVertexAttribiv(p.location, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &value);
        EXPECT_EQ(value != 0, p.integer);
        void* offset = nullptr;
        glGetVertexAttribPointerv(p.location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
        EXPECT_EQ(reinterpret_cast<size_t>(offset), p.offset);
    }
    GLint array = -1, element = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &array);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &element);
    EXPECT_EQ(array, 0);
    EXPECT_EQ(element, 0);
}

TEST(GpuMesh, AttributePointersFollowTheFixedLocations) {
    GlTestContext gl;
    TempDir dir;
    const std::unique_ptr<Shader> programOwner = NullProgram(dir);
    Shader* program = programOwner.get();
    program->Use();
    {
        SCOPED_TRACE("StaticTriangledMesh");
        Built<StaticTriangledMesh> b;
        Build(&b, First(6));
        b.mesh.Draw();
        const GLuint d = b.mesh.GetDynamicBufferId();
        ExpectPointers({{0, b.mesh.GetPositionBufferId(), 3, GL_FLOAT, 12, 0, false},
                        {1, d, 4, GL_FLOAT, 20, 0, false},
                        {2, d, 1, GL_FLOAT, 20, 16, false}});
    }
    {
        SCOPED_TRACE("UniqueTriangledMesh");
        Built<UniqueTriangledMesh> b;
        Build(&b, First(6));
        b.mesh.Draw();
        const GLuint d = b.mesh.GetDynamicBufferId();
        ExpectPointers({{0, b.mesh.GetPositionBufferId(), 3, GL_FLOAT, 12, 0, false},
                        {1, d, 4, GL_FLOAT, 84, 0, false},
                        {2, d, 4, GL_FLOAT, 84, 16, false},
                        {3, d, 4, GL_FLOAT, 84, 32, false},
                        {4, d, 4, GL_FLOAT, 84, 48, false},
                        {5, d, 4, GL_FLOAT, 84, 64, false},
                        {6, d, 1, GL_FLOAT, 84, 80, false}});
    }
    const auto skinned = [](GLuint vertices, GLuint dynamic) {
        return std::vector<Pointer>{{0, vertices, 3, GL_FLOAT, 32, 0, false},
                                    {1, vertices, 4, GL_UNSIGNED_BYTE, 32, 12, true},
                                    {2, vertices, 4, GL_FLOAT, 32, 16, false},
                                    {3, dynamic, 4, GL_FLOAT, 20, 0, false},
                                    {4, dynamic, 1, GL_FLOAT, 20, 16, false}};
    };
    {
        SCOPED_TRACE("SkinnedMesh");
        Built<SkinnedMesh> b;
        Build(&b, First(6));
        b.mesh.Draw();
        ExpectPointers(skinned(b.mesh.GetVertexBufferId(), b.mesh.GetDynamicBufferId()));
    }
    {
        SCOPED_TRACE("SkinnedRibbonMesh");
        Built<SkinnedRibbonMesh> b;
        Build(&b, First(6));
        b.mesh.Draw();
        std::vector<Pointer> pointers =
            skinned(b.mesh.GetVertexBufferId(), b.mesh.GetDynamicBufferId());
        const GLuint t = b.mesh.GetTransformBuffer().GetBufferId();
        for (int column = 0; column < 4; ++column)
            pointers.push_back({5 + column, t, 4, GL_FLOAT, 64, 16u * column, false});
        ExpectPointers(pointers);
    }
    ExpectNoGlError("draws");
}

TEST(GpuMesh, StaticDataKeepsWholeTrianglesOnly) {
    GlTestContext gl;
    // A 32-byte vertex type: positions are read at the type's stride.
    Built<StaticTriangledMesh> still;
    still.part = MakePart(kSevenPositions, 2);
    still.mesh.Create(*still.part);
    std::vector<float> positions = ReadBuffer<float>(still.mesh.GetPositionBufferId());
    ASSERT_EQ(positions.size(), 18u);
    for (int v = 0; v < 6; ++v)
        EXPECT_TRUE(Vec3Near(Vec3(positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]),
                             kSevenPositions[v], 0.0f))
            << v;

    Built<SkinnedMesh> skinned;
    Build(&skinned, kSevenPositions);
    const std::vector<SkinnedVertex> bytes =
        ReadBuffer<SkinnedVertex>(skinned.mesh.GetVertexBufferId());
    ASSERT_EQ(bytes.size(), 6u);
    EXPECT_EQ(std::memcmp(bytes.data(), skinned.data->GetVertices(), 6 * 32), 0);

    // Indices are 16-bit: one triangle more than they reach is refused before any GL work.
    std::unique_ptr<MeshPart> huge = MakePart(std::vector<Vec3>(3 * 21846));
    StaticTriangledMesh tooBig;
    EXPECT_EQ(CaptureFatal([&] {
                  tooBig.Create(*huge);
              }).rfind("Assertion failed: trianglesCount <= kMaxTriangles", 0),
              0u);
    EXPECT_EQ(tooBig.GetPositionBufferId(), 0u);
    ExpectNoGlError("creation");
}

TEST(UniqueTriangledMesh, EveryTriangleLiesCentredInItsOwnFrame) {
    GlTestContext gl;
    std::vector<Vec3> positions = First(6);
    // A degenerate triangle has no frame: it only moves to its centroid.
    positions.insert(positions.end(), {{1, 1, 1}, {2, 2, 2}, {4, 4, 4}});
    Built<UniqueTriangledMesh> b;
    Build(&b, positions);
    ASSERT_EQ(b.mesh.GetTrianglesCount(), 3);
    const std::vector<float> local = ReadBuffer<float>(b.mesh.GetPositionBufferId());
    ASSERT_EQ(local.size(), 27u);

    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(t);
        const Vec3* p = &positions[3 * t];
        EXPECT_TRUE(Vec3Near(b.mesh.GetTriangleCenter(t), (p[0] + p[1] + p[2]) / 3.0f));
        const Mat4& frame = b.mesh.GetTriangleFrame(t);
        EXPECT_EQ(frame[12], 0.0f);
        EXPECT_EQ(frame[13], 0.0f);
        EXPECT_EQ(frame[14], 0.0f);
        // A rotation: its transpose is its inverse.
        EXPECT_TRUE(Mat4Near(frame.Transpose() * frame, Mat4(), 1e-5f));

        const Mat4 placed = Mat4::Translation(b.mesh.GetTriangleCenter(t)) * frame;
        Vec3 sum;
        for (int v = 0; v < 3; ++v) {
            const Vec3 q(local[9 * t + 3 * v], local[9 * t + 3 * v + 1], local[9 * t + 3 * v + 2]);
            // (The degenerate one keeps the model's axes.)
            if (t < 2) {
                EXPECT_NEAR(q.z, 0.0f, 1e-5f) << "in the frame's XY plane";
            }
            EXPECT_TRUE(Vec3Near(placed.TransformPoint(q), p[v])) << "placed back, vertex " << v;
            sum += q;
        }
        EXPECT_TRUE(Vec3Near(sum, Vec3(), 1e-5f)) << "centred";
    }
    EXPECT_NE(CaptureFatal([&] { b.mesh.GetTriangleFrame(3); }), "");
    EXPECT_NE(CaptureFatal([&] { b.mesh.GetTriangleCenter(-1); }), "");
}

// Fixture programs that show a layout's colour attribute at its drawn position.
const char* kStaticVertex = R"(#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_color;
out vec4 v_color;
void main() { gl_Position = vec4(a_position, 1.0); v_color = a_color; }
)";
const char* kUniqueVertex = R"(#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_color;
layout(location = 2) in mat4 a_transform;
out vec4 v_color;
void main() { gl_Position = a_transform * vec4(a_position, 1.0); v_color = a_color; }
)";
const char* kColorFragment = R"(#version 330 core
in vec4 v_color;
out vec4 o_color;
void main() { o_color = vec4(v_color.rgb, 1.0); }
)";

TEST(UniqueTriangledMesh, PlacedByCentreAndFrameItDrawsAsTheModel) {
    GlTestContext gl;
    TempDir dir;
    WriteFileBytes(dir.File("static.vpr"), kStaticVertex);
    WriteFileBytes(dir.File("unique.vpr"), kUniqueVertex);
    WriteFileBytes(dir.File("color.fpr"), kColorFragment);
    const std::unique_ptr<Shader> staticOwner(
        Shader::LoadShader(dir.File("static.vpr"), dir.File("color.fpr")));
    const std::unique_ptr<Shader> uniqueOwner(
        Shader::LoadShader(dir.File("unique.vpr"), dir.File("color.fpr")));
    Shader* staticProgram = staticOwner.get();
    Shader* uniqueProgram = uniqueOwner.get();
    TestFramebuffer frame(64, 64);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    const auto enableArrays = [](GLuint last) {
        for (GLuint location = 0; location <= 8; ++location) {
            if (location <= last)
                glEnableVertexAttribArray(location);
            else
                glDisableVertexAttribArray(location);
        }
    };

    const Vec4 red(1, 0, 0, 1), blue(0, 0, 1, 1);
    Built<StaticTriangledMesh> still;
    Build(&still, First(6));
    still.mesh.SetTriangleColor(0, red);
    still.mesh.SetTriangleColor(1, blue);
    frame.BindAndClear();
    staticProgram->Use();
    enableArrays(1);
    still.mesh.Draw();
    const std::vector<uint8_t> expected = frame.Read(0);

    Built<UniqueTriangledMesh> unique;
    Build(&unique, First(6));
    unique.mesh.SetTriangleColor(0, red);
    unique.mesh.SetTriangleColor(1, blue);
    frame.BindAndClear();
    uniqueProgram->Use();
    enableArrays(5);
    unique.mesh.Draw();
    const std::vector<uint8_t> atOrigin = frame.Read(0);
    for (int t = 0; t < 2; ++t)
        unique.mesh.SetTriangleTransform(t, Mat4::Translation(unique.mesh.GetTriangleCenter(t)) *
                                                unique.mesh.GetTriangleFrame(t));
    frame.BindAndClear();
    unique.mesh.Draw();
    const std::vector<uint8_t> placed = frame.Read(0);
    enableArrays(0);
    glDisableVertexAttribArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ExpectNoGlError("drawing");

    int redPixels = 0, bluePixels = 0, differing = 0;
    for (size_t i = 0; i < expected.size(); i += 4) {
        redPixels += expected[i] == 255;
        bluePixels += expected[i + 2] == 255;
        differing += expected[i] != placed[i] || expected[i + 2] != placed[i + 2];
    }
    EXPECT_GT(redPixels, 200);
    EXPECT_GT(bluePixels, 200);
    // Only edge pixels may round differently.
    EXPECT_LE(differing, 12);
    // Before any transform both triangles sit at the origin, so the image differs.
    int movedPixels = 0;
    for (size_t i = 0; i < expected.size(); i += 4)
        movedPixels += expected[i] != atOrigin[i] || expected[i + 2] != atOrigin[i + 2];
    EXPECT_GT(movedPixels, 100);
}

// An animation root (id 0) with one node per (id, position); no tracks keyed.
std::unique_ptr<AnimationData> Skeleton(const std::vector<std::pair<int, Vec3>>& nodes) {
    auto root = std::make_unique<AnimationData>();
    for (const auto& node : nodes) {
        auto child = std::make_unique<AnimationData>();
        child->SetId(node.first);
        child->SetPosition(node.second);
        child->SetBaseMatrix(Mat4::Scale(2, 2, 2));
        root->AddChild(std::move(child));
    }
    return root;
}

template <typename Mesh>
void ExpectBoneBinding() {
    GlTestContext gl;
    Built<Mesh> b;
    b.data = MakeSkinned(First(3), {7, 3});
    b.mesh.Create(*b.data);
    ASSERT_EQ(b.mesh.GetBonesCount(), 2);
    EXPECT_TRUE(Mat4Near(b.mesh.GetBoneMatrices()[1], Mat4(), 0.0f)) << "identity until bound";

    std::unique_ptr<AnimationData> data = Skeleton({{3, Vec3(0, 1, 0)}, {7, Vec3(5, 0, 0)}});
    Animation walk(data.get());
    b.mesh.BindAnimation("walk", &walk);
    const Mat4 parent = Mat4::Translation(1, 2, 3);
    walk.Update(0.0f, parent, 0.0f);
    EXPECT_TRUE(Mat4Near(b.mesh.GetBoneMatrices()[0],
                         parent * Mat4::Translation(5, 0, 0) * Mat4::Scale(2, 2, 2)));
    EXPECT_TRUE(Mat4Near(b.mesh.GetBoneMatrices()[1],
                         parent * Mat4::Translation(0, 1, 0) * Mat4::Scale(2, 2, 2)));

    // A second animation rebinds the same bones; the one updated last wins.
    Animation jump(data.get());
    b.mesh.BindAnimation("jump", &jump);
    jump.Update(0.0f, Mat4(), 0.0f);
    EXPECT_TRUE(
        Mat4Near(b.mesh.GetBoneMatrices()[0], Mat4::Translation(5, 0, 0) * Mat4::Scale(2, 2, 2)));

    std::unique_ptr<AnimationData> lacking = Skeleton({{7, Vec3()}, {4, Vec3()}});
    Animation other(lacking.get());
    EXPECT_EQ(CaptureFatal([&] {
                  b.mesh.BindAnimation("walk", &other);
              }).rfind("Assertion failed: anim != NULL, file ", 0),
              0u);
    EXPECT_EQ(CaptureFatal([&] {
                  b.mesh.BindAnimation("walk", nullptr);
              }).rfind("Assertion failed: anim != NULL, file ", 0),
              0u);
}

TEST(SkinnedMesh, BindAnimationTargetsEveryBoneAndNeedsEachNode) {
    ExpectBoneBinding<SkinnedMesh>();
}

TEST(SkinnedRibbonMesh, BindAnimationTargetsEveryBoneAndNeedsEachNode) {
    ExpectBoneBinding<SkinnedRibbonMesh>();
}

class TestRibbon : public IRibbonTriangleList {
public:
    // Triangle i flies from (i, 0, 0) at time 0 to (i, 10, 0) at time 1, growing from 1 to 3.
    explicit TestRibbon(int count) : m_triangles(static_cast<size_t>(count)) {
        for (int i = 0; i < count; ++i) {
            RibbonTriangle& t = m_triangles[i];
            t.m_path = std::make_unique<AnimationCurve<Vec3>>();
            t.m_path->AddKey(0.0f, Vec3(float(i), 0, 0), Vec3(), Vec3());
            t.m_path->AddKey(1.0f, Vec3(float(i), 10, 0), Vec3(), Vec3());
            t.m_path->ComputeTangents();
            t.m_scale = std::make_unique<AnimationCurve<float>>();
            t.m_scale->AddKey(0.0f, 1.0f, 0.0f, 0.0f);
            t.m_scale->AddKey(1.0f, 3.0f, 0.0f, 0.0f);
            t.m_scale->ComputeTangents();
        }
    }
    int GetRibbonTrianglesCount() const override { return static_cast<int>(m_triangles.size()); }
    const RibbonTriangle& GetRibbonTriangle(int index) const override {
        return m_triangles.at(static_cast<size_t>(index));
    }
    std::vector<RibbonTriangle> m_triangles;
};

TEST(SkinnedRibbonMesh, RibbonPlacesEachTriangleFromItsBaseMatrix) {
    GlTestContext gl;
    TempDir dir;
    const std::unique_ptr<Shader> programOwner = NullProgram(dir);
    Shader* program = programOwner.get();
    Built<SkinnedRibbonMesh> b;
    Build(&b, First(6));
    const VertexDataBufferTransform& transforms = b.mesh.GetTransformBuffer();
    ASSERT_EQ(transforms.GetTrianglesCount(), 2);
    for (int t = 0; t < 2; ++t) {
        const Vec3* p = &kSevenPositions[3 * t];
        const Mat4 base =
            Mat4::Scale(0.01f, 0.01f, 0.01f) * Mat4::TriangleFrame(p[0], p[1], p[2]).Inverse();
        EXPECT_TRUE(Mat4Near(b.mesh.GetTriangleBaseMatrix(t), base)) << t;
    }

    // Without a ribbon nothing moves.
    b.mesh.UpdateRibbonTransforms(0.5f, 0.02f);
    for (int v = 0; v < 6; ++v) EXPECT_TRUE(Mat4Near(transforms.GetVertexMatrix(v), Mat4(), 0.0f));

    TestRibbon full(2);
    b.mesh.SetRibbon(&full);
    b.mesh.UpdateRibbonTransforms(0.5f, 0.02f);
    const auto expected = [&](int t, float time) {
        const float s = full.m_triangles[t].m_scale->Evaluate(time);
        return Mat4::Translation(full.m_triangles[t].m_path->Evaluate(time)) *
               Mat4::Scale(s, s, s) * b.mesh.GetTriangleBaseMatrix(t);
    };
    for (int v = 0; v < 6; ++v)
        EXPECT_TRUE(Mat4Near(transforms.GetVertexMatrix(v), expected(v / 3, 0.5f))) << v;

    // A shorter list moves only the triangles it has; the rest keep their last transform.
    TestRibbon shorter(1);
    b.mesh.SetRibbon(&shorter);
    b.mesh.UpdateRibbonTransforms(1.0f, 0.02f);
    for (int v = 0; v < 3; ++v)
        EXPECT_TRUE(Mat4Near(transforms.GetVertexMatrix(v), expected(0, 1.0f))) << v;
    for (int v = 3; v < 6; ++v)
        EXPECT_TRUE(Mat4Near(transforms.GetVertexMatrix(v), expected(1, 0.5f))) << v;
    TestRibbon empty(0);
    b.mesh.SetRibbon(&empty);
    b.mesh.UpdateRibbonTransforms(0.0f, 0.02f);
    EXPECT_TRUE(Mat4Near(transforms.GetVertexMatrix(0), expected(0, 1.0f)));

    // The draw uploads every vertex's matrix.
    program->Use();
    b.mesh.Draw();
    const std::vector<float> uploaded = ReadBuffer<float>(transforms.GetBufferId());
    ASSERT_EQ(uploaded.size(), 6u * 16u);
    for (int v = 0; v < 6; ++v)
        for (int i = 0; i < 16; ++i)
            ASSERT_EQ(uploaded[16 * v + i], transforms.GetVertexMatrix(v)[i]) << v << " " << i;
    ExpectNoGlError("ribbon mesh");
}

}  // namespace
