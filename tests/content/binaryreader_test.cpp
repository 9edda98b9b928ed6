#include "content/binaryreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/vertexinformation.h"
#include "formats/bytewriter.h"
#include "math/mathtest.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

TEST(BinaryReader, ReadsLittleEndianFieldsInOrder) {
    ByteWriter w;
    w.I32(-2);
    w.U16(0xBEEF);
    w.U8(0xFE);
    w.F32(-1.5f);
    w.String("floor");
    w.String("");
    w.Raw("xyz", 3);
    const std::string& bytes = w.Bytes();

    BinaryReader r(bytes.data(), bytes.size(), "f");
    EXPECT_EQ(r.ReadInt32("a"), -2);
    EXPECT_EQ(r.ReadUInt16("b"), 0xBEEF);
    EXPECT_EQ(r.ReadUInt8("c"), 0xFE);
    EXPECT_EQ(r.ReadFloat("d"), -1.5f);
    EXPECT_EQ(r.GetPosition(), 11u);
    EXPECT_EQ(r.ReadString("e"), "floor");
    EXPECT_EQ(r.ReadString("f"), "");
    char tail[3];
    r.ReadBytes(tail, 3, "g");
    EXPECT_EQ(std::string(tail, 3), "xyz");
    EXPECT_EQ(r.GetRemaining(), 0u);
}

struct FailureCase {
    const char* label;
    std::string bytes;
    // Runs one read on a reader over bytes whose cursor stands at byte 2.
    void (*read)(BinaryReader&);
    const char* message;
};

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

TEST(BinaryReader, FailuresNameFileOffsetFieldAndContext) {
    const FailureCase cases[] = {
        {"int32 cut short", Bytes({0, 0, 1, 2, 3}), [](BinaryReader& r) { r.ReadInt32("mesh id"); },
         "m/a.geo: truncated at byte 2 reading mesh id of mesh 7"},
        {"string longer than the rest", Bytes({0, 0, 5, 0, 0, 0, 'a', 'b'}),
         [](BinaryReader& r) { r.ReadString("mesh name"); },
         "m/a.geo: truncated at byte 6 reading mesh name of mesh 7"},
        {"negative string length", Bytes({0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
         [](BinaryReader& r) { r.ReadString("mesh name"); },
         "m/a.geo: negative length -1 at byte 2 reading mesh name of mesh 7"},
        {"negative count", Bytes({0, 0, 0, 0, 0, 0x80}),
         [](BinaryReader& r) { r.ReadCount("vertex count", 12, "vertex data"); },
         "m/a.geo: negative count -2147483648 at byte 2 reading vertex count of mesh 7"},
        {"count times size overflows", Bytes({0, 0, 0xFF, 0xFF, 0xFF, 0x7F}),
         [](BinaryReader& r) { r.ReadCount("vertex count", 52, "vertex data"); },
         "m/a.geo: count 2147483647 times 52 bytes overflows at byte 2 reading vertex count of "
         "mesh 7"},
        {"count past the end", Bytes({0, 0, 2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7}),
         [](BinaryReader& r) { r.ReadCount("vertex count", 4, "vertex data"); },
         "m/a.geo: truncated at byte 6 reading vertex data of mesh 7"},
        {"skip past the end", Bytes({0, 0, 1}), [](BinaryReader& r) { r.Skip(2, "header"); },
         "m/a.geo: truncated at byte 2 reading header of mesh 7"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<char> exact(c.bytes.begin(), c.bytes.end());
        BinaryReader r(exact.data(), exact.size(), "m/a.geo");
        r.Skip(2, "lead");
        r.SetContext("mesh 7");
        EXPECT_EQ(CaptureFatal([&] { c.read(r); }), c.message);
    }
}

TEST(BinaryReader, CountThatFitsExactlyIsAccepted) {
    const std::string bytes = Bytes({2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    BinaryReader r(bytes.data(), bytes.size(), "f");
    EXPECT_EQ(r.ReadCount("n", 4, "items"), 2);
    EXPECT_EQ(r.GetPosition(), 4u);
    BinaryReader none(nullptr, 0, "f");
    EXPECT_EQ(CaptureFatal([&] { none.ReadUInt8("x"); }), "f: truncated at byte 0 reading x");
}

TEST(BinaryReader, QuoteKeepsReportsPrintableAndShort) {
    EXPECT_EQ(BinaryReader::Quote("floor"), "\"floor\"");
    EXPECT_EQ(BinaryReader::Quote(std::string("a\"b\\c\n\xff", 7)), "\"a\\\"b\\\\c\\x0A\\xFF\"");
    EXPECT_EQ(BinaryReader::Quote(std::string(60, 'x')), "\"" + std::string(48, 'x') + "...\"");
}

TEST(BinaryReader, DisplayNameKeepsTheLastTwoComponents) {
    EXPECT_EQ(BinaryReader::DisplayName("/tmp/data/models/Scene01.geo"), "models/Scene01.geo");
    EXPECT_EQ(BinaryReader::DisplayName("D:\\data\\animations\\walk.ani"), "animations/walk.ani");
    EXPECT_EQ(BinaryReader::DisplayName("guy.skm"), "guy.skm");
}

TEST(ReadBinaryFile, ReadsWholeFilesAndRefusesWhatItCantRead) {
    TempDir dir;
    std::string content(70000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    WriteFileBytes(dir.File("a.bin"), content);
    WriteFileBytes(dir.File("empty.bin"), "");

    std::vector<unsigned char> bytes = {1, 2};
    ASSERT_TRUE(ReadBinaryFile(dir.File("a.bin"), &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    ASSERT_TRUE(ReadBinaryFile(dir.File("empty.bin"), &bytes));
    EXPECT_TRUE(bytes.empty());

    bytes = {1};
    EXPECT_FALSE(ReadBinaryFile(dir.File("missing.bin"), &bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadBinaryFile(dir.Path(), &bytes));  // a folder
}

TEST(VertexInformation, SizesAndOffsetsOfTheSixTypes) {
    using VI = VertexAttrib;
    // size, then the offsets of position, coords, coords2, reserved, normal, tangent
    const int table[6][7] = {
        {12, 0, -1, -1, -1, -1, -1}, {24, 0, -1, -1, -1, 12, -1}, {32, 0, 12, -1, -1, 20, -1},
        {40, 0, 12, 20, -1, 28, -1}, {44, 0, 12, -1, -1, 20, 32}, {52, 0, 12, 20, -1, 28, 40},
    };
    for (int type = 0; type < 6; ++type) {
        SCOPED_TRACE(type);
        EXPECT_EQ(VertexInformation::GetVertexSize(type), table[type][0]);
        for (int attrib = 0; attrib < 6; ++attrib) {
            EXPECT_EQ(VertexInformation::GetAttribOffset(type, attrib), table[type][1 + attrib]);
        }
    }
    EXPECT_EQ(VI::Position, 0);
    EXPECT_EQ(VI::Normal, 4);
    EXPECT_EQ(VI::Tangent, 5);
    EXPECT_NE(CaptureFatal([] { VertexInformation::GetVertexSize(6); }), "");
}

TEST(VertexInformation, PositionAtAddressesWholeVertices) {
    // Two vertices of type 1 (position, normal).
    const float data[12] = {1, 2, 3, 9, 9, 9, 4, 5, 6, 8, 8, 8};
    EXPECT_TRUE(Vec3Near(VertexInformation::GetPositionAt(data, 1, 1), sm::Vec3(4, 5, 6)));
    EXPECT_TRUE(Vec3Near(VertexInformation::GetPosition(data + 6, 1), sm::Vec3(4, 5, 6)));
    EXPECT_TRUE(Vec3Near(VertexInformation::GetPositionAt(data, 0, 1), sm::Vec3(1, 2, 3)));
}

}  // namespace
