#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/boundingbox.h"
#include "math/boundingsphere.h"
#include "mathtest.h"

namespace {

using sm::Vec3;

BoundingBox BoxOf(const std::vector<Vec3>& points, float scale = 1.0f) {
    return BoundingBox::FromVertices(points.data(), static_cast<int>(points.size()), sizeof(Vec3),
                                     scale);
}

TEST(BoundingBox, CornersAreNumberedTopFaceFirst) {
    BoundingBox box = BoxOf({{4, -2, 6}, {-1, 5, -3}, {0, 0, 0}});
    EXPECT_EQ(box.minX, -1.0f);
    EXPECT_EQ(box.maxX, 4.0f);
    EXPECT_EQ(box.minY, -2.0f);
    EXPECT_EQ(box.maxY, 5.0f);
    EXPECT_EQ(box.minZ, -3.0f);
    EXPECT_EQ(box.maxZ, 6.0f);
    EXPECT_EQ(box.center, Vec3(1.5f, 1.5f, 1.5f));

    const Vec3 corners[8] = {
        {-1, 5, -3},  {4, 5, -3},  {4, 5, 6},  {-1, 5, 6},   // top face, y = max
        {-1, -2, -3}, {4, -2, -3}, {4, -2, 6}, {-1, -2, 6},  // bottom face, y = min
    };
    for (int i = 0; i < 8; ++i) EXPECT_EQ(box.GetVertex(i), corners[i]) << "corner " << i;
}

TEST(BoundingBox, SinglePointEmptyInputAndScale) {
    BoundingBox point = BoxOf({{1, 2, 3}});
    for (int i = 0; i < 8; ++i) EXPECT_EQ(point.GetVertex(i), Vec3(1, 2, 3)) << i;
    EXPECT_EQ(BoundingSphere::FromBox(point).radius, 0.0f);

    BoundingBox empty = BoundingBox::FromVertices(nullptr, 0, 32, 1.0f);
    EXPECT_EQ(empty.GetVertex(2), Vec3(0, 0, 0));
    EXPECT_EQ(empty.GetVertex(4), Vec3(0, 0, 0));
    EXPECT_EQ(empty.center, Vec3(0, 0, 0));

    BoundingBox scaled = BoxOf({{-1, -1, -1}, {1, 1, 1}}, 2.0f);
    EXPECT_EQ(scaled.GetVertex(2), Vec3(2, 2, 2));
    EXPECT_EQ(scaled.GetVertex(4), Vec3(-2, -2, -2));
    BoundingSphere sphere = BoundingSphere::FromBox(scaled);
    EXPECT_EQ(sphere.center, Vec3(0, 0, 0));
    EXPECT_NEAR(sphere.radius, 2.0f * std::sqrt(3.0f), 1e-6f);

    // The centre comes from the scaled extents; a negative scale keeps min below max.
    BoundingBox shifted = BoxOf({{1, 2, 3}, {3, 4, 5}}, -0.5f);
    EXPECT_EQ(shifted.GetVertex(4), Vec3(-1.5f, -2, -2.5f));
    EXPECT_EQ(shifted.GetVertex(2), Vec3(-0.5f, -1, -1.5f));
    EXPECT_EQ(shifted.center, Vec3(-1, -1.5f, -2));
}

TEST(BoundingBox, ReadsOnlyThePositionOfEachInterleavedVertex) {
    // Position, coordinates, normal: 8 floats a vertex. The other attributes hold values far
    // outside the positions, so reading them would show in the box.
    const float vertices[] = {
        1,  2,  3, 900, -900, 500, 500, -500,  //
        -1, 0,  7, 900, -900, 500, 500, -500,  //
        4,  -3, 5, 900, -900, 500, 500, -500,  //
    };
    BoundingBox box = BoundingBox::FromVertices(vertices, 3, 32, 1.0f);
    EXPECT_EQ(box.GetVertex(4), Vec3(-1, -3, 3));
    EXPECT_EQ(box.GetVertex(2), Vec3(4, 2, 7));
}

TEST(BoundingBoxDeathTest, OnlyEightCornersAndWholePositions) {
    BoundingBox box = BoxOf({{0, 0, 0}, {1, 1, 1}});
    const std::string pattern = AssertionPattern("false && \"box has only 8 vertices, stupid...\"");
    EXPECT_DEATH(box.GetVertex(8), pattern);
    EXPECT_DEATH(box.GetVertex(-1), pattern);
    // A vertex size smaller than a position (a vertex type number passed by mistake).
    const float data[6] = {};
    EXPECT_DEATH(BoundingBox::FromVertices(data, 2, 2, 1.0f),
                 AssertionPattern("vertexSize >= kPositionSize"));
}

}  // namespace
