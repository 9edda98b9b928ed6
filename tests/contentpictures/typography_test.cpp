// Text meshes and text bitmaps: the meshes must be closed solids with outward winding and open
// counters, since the scenes fly their triangles around and the pictures light them by normals.
#include "typography.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "support/tempdir.h"

namespace {

class Typography : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        s_bold = new Typeface;
        ASSERT_TRUE(s_bold->OpenNamed(kBoldFontFile, &error)) << error;
    }
    static void TearDownTestSuite() {
        delete s_bold;
        s_bold = nullptr;
    }
    static const Typeface& Bold() { return *s_bold; }

private:
    static Typeface* s_bold;
};

Typeface* Typography::s_bold = nullptr;

using Point = std::tuple<float, float, float>;

Point Key(const sm::Vec3& v) { return {v.x, v.y, v.z}; }

sm::Vec3 Normal(const TextTriangle& t) {
    const sm::Vec3 a = t.v[1] - t.v[0], b = t.v[2] - t.v[0];
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Area2d(const TextTriangle& t) {
    return 0.5 * ((t.v[1].x - t.v[0].x) * (t.v[2].y - t.v[0].y) -
                  (t.v[1].y - t.v[0].y) * (t.v[2].x - t.v[0].x));
}

// Whether (x, y) lies inside the text's front face.
bool Covered(const TextMesh& mesh, float x, float y) {
    for (size_t i = 0; i < mesh.triangles.size(); ++i) {
        if (mesh.faces[i] != TextFace::Front) continue;
        const TextTriangle& t = mesh.triangles[i];
        bool inside = true;
        for (int k = 0; k < 3; ++k) {
            const sm::Vec3 a = t.v[k], b = t.v[(k + 1) % 3];
            if ((b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) < 0) inside = false;
        }
        if (inside) return true;
    }
    return false;
}

TEST_F(Typography, MeshesAreClosedOutwardSolids) {
    // Counters, separate dots and accents, curves of both kinds of stroke, a slashed letter
    // whose stroke crosses its own bowl.
    const char* texts[] = {"PINDLE", "KORVANE", "O", "B8%@&", "\xC3\x84\xC3\xA9j", "\xC3\x98"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        ExtrudeOptions options;
        options.depth = 0.3f;
        const TextMesh mesh = ExtrudeText(Bold(), text, options);
        ASSERT_FALSE(mesh.triangles.empty());
        ASSERT_EQ(mesh.faces.size(), mesh.triangles.size());

        // Each directed edge once, and its reverse once: every edge joins exactly two triangles
        // that wind the same way round.
        std::map<std::pair<Point, Point>, int> edges;
        for (const TextTriangle& t : mesh.triangles)
            for (int k = 0; k < 3; ++k) ++edges[{Key(t.v[k]), Key(t.v[(k + 1) % 3])}];
        int bad = 0;
        for (const auto& [edge, count] : edges) {
            const auto reverse = edges.find({edge.second, edge.first});
            if (count != 1 || reverse == edges.end() || reverse->second != 1) ++bad;
        }
        EXPECT_EQ(bad, 0) << "of " << edges.size() << " directed edges";

        // Outward: the enclosed volume is positive and equals the front's area times the depth.
        double volume = 0, frontArea = 0;
        for (size_t i = 0; i < mesh.triangles.size(); ++i) {
            const TextTriangle& t = mesh.triangles[i];
            const sm::Vec3 a = t.v[0], b = t.v[1], c = t.v[2];
            volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                       a.z * (b.x * c.y - b.y * c.x)) / 6.0;
            if (mesh.faces[i] == TextFace::Front) frontArea += Area2d(t);
            EXPECT_GT(Normal(t).Length(), 0.0f) << "degenerate triangle " << i;
        }
        EXPECT_GT(frontArea, 0);
        EXPECT_NEAR(volume, frontArea * options.depth, 1e-4 * frontArea);
    }
}

TEST_F(Typography, FacesPointTheRightWay) {
    ExtrudeOptions options;
    options.depth = 0.2f;
    const TextMesh mesh = ExtrudeText(Bold(), "PADO", options);
    const float eps = 1e-4f;
    int frontCount = 0, backCount = 0, sideCount = 0;
    for (size_t i = 0; i < mesh.triangles.size(); ++i) {
        const TextTriangle& t = mesh.triangles[i];
        const sm::Vec3 n = Normal(t).GetNormalized();
        switch (mesh.faces[i]) {
        case TextFace::Front:
            ++frontCount;
            EXPECT_NEAR(n.z, 1, 1e-5);
            for (const sm::Vec3& v : t.v) EXPECT_EQ(v.z, 0.1f);
            break;
        case TextFace::Back:
            ++backCount;
            EXPECT_NEAR(n.z, -1, 1e-5);
            for (const sm::Vec3& v : t.v) EXPECT_EQ(v.z, -0.1f);
            break;
        case TextFace::Side: {
            ++sideCount;
            EXPECT_NEAR(n.z, 0, 1e-5);
            // A step outwards from the wall leaves the letter; a step inwards enters it.
            const sm::Vec3 c = (t.v[0] + t.v[1] + t.v[2]) * (1.0f / 3);
            EXPECT_FALSE(Covered(mesh, c.x + n.x * eps, c.y + n.y * eps)) << "side " << i;
            EXPECT_TRUE(Covered(mesh, c.x - n.x * eps, c.y - n.y * eps)) << "side " << i;
            break;
        }
        }
    }
    EXPECT_EQ(frontCount, backCount);
    EXPECT_GT(sideCount, 0);
}

TEST_F(Typography, CountersStayOpen) {
    // The middle of "O" and of "D" is the counter; the left stroke of both is ink.
    for (const char* text : {"O", "D", "0"}) {
        SCOPED_TRACE(text);
        const TextMesh mesh = ExtrudeText(Bold(), text, ExtrudeOptions{});
        const sm::Vec3 lo = mesh.bounds.min, hi = mesh.bounds.max;
        EXPECT_FALSE(Covered(mesh, (lo.x + hi.x) / 2, (lo.y + hi.y) / 2));
        EXPECT_TRUE(Covered(mesh, lo.x + 0.08f * (hi.x - lo.x), (lo.y + hi.y) / 2));
    }
    // Two counters in "B": above and below the middle bar, which itself is ink.
    const TextMesh b = ExtrudeText(Bold(), "B", ExtrudeOptions{});
    const float x = (b.bounds.min.x + b.bounds.max.x) / 2 - 0.05f;
    EXPECT_FALSE(Covered(b, x, 0.25f));
    EXPECT_FALSE(Covered(b, x, 0.75f));
    EXPECT_TRUE(Covered(b, x, 0.5f));
}

TEST_F(Typography, BoundsFollowTheText) {
    ExtrudeOptions options;
    options.capHeight = 2.0f;
    options.depth = 0.5f;
    const TextMesh h = ExtrudeText(Bold(), "H", options);
    // A capital without overshoot stands on the baseline and reaches exactly the cap height.
    EXPECT_FLOAT_EQ(h.bounds.min.y, 0.0f);
    EXPECT_NEAR(h.bounds.max.y, 2.0f, 1e-5);
    EXPECT_FLOAT_EQ(h.bounds.min.z, -0.25f);
    EXPECT_FLOAT_EQ(h.bounds.max.z, 0.25f);
    EXPECT_NEAR(h.bounds.min.x, -h.bounds.max.x, 1e-5);
    // The bounds hold every vertex and are touched by some.
    float lo = 1e9f, hi = -1e9f;
    for (const TextTriangle& t : h.triangles)
        for (const sm::Vec3& v : t.v) lo = std::min(lo, v.x), hi = std::max(hi, v.x);
    EXPECT_EQ(lo, h.bounds.min.x);
    EXPECT_EQ(hi, h.bounds.max.x);

    // Tracking adds its space between the two letters and nowhere else.
    options.tracking = 0.0f;
    const float tight = ExtrudeText(Bold(), "HH", options).bounds.max.x * 2;
    options.tracking = 0.5f;
    const float loose = ExtrudeText(Bold(), "HH", options).bounds.max.x * 2;
    EXPECT_NEAR(loose - tight, 0.5f * 2.0f, 1e-4);

    // The mesh has the proportions that FreeType's own rasterizer gives the same word.
    const TextMesh word = ExtrudeText(Bold(), "KORVANE", ExtrudeOptions{});
    const TextBitmap bitmap = RenderText(Bold(), "KORVANE", 400);
    const float meshRatio = (word.bounds.max.x - word.bounds.min.x) / (word.bounds.max.y - word.bounds.min.y);
    EXPECT_NEAR(meshRatio, static_cast<float>(bitmap.width) / bitmap.height, 0.03f * meshRatio);
}

TEST_F(Typography, FrontCoversWhatTheRasterizerInks) {
    // FreeType's own rasterizer is an independent measure of each word's area: a dropped corner,
    // a filled counter or a lost contour changes it.
    const TextBitmap h = RenderText(Bold(), "H", 400);
    const float pixelsPerUnit = static_cast<float>(h.height);  // the cap height is one unit
    for (const char* text : {"PINDLE", "KORVANE", "B8%@&", "\xC3\x98"}) {
        const TextMesh mesh = ExtrudeText(Bold(), text, ExtrudeOptions{});
        double area = 0;
        for (size_t i = 0; i < mesh.triangles.size(); ++i)
            if (mesh.faces[i] == TextFace::Front) area += Area2d(mesh.triangles[i]);
        const TextBitmap bitmap = RenderText(Bold(), text, 400);
        double ink = 0;
        for (uint8_t c : bitmap.coverage) ink += c / 255.0;
        EXPECT_NEAR(area * pixelsPerUnit * pixelsPerUnit, ink, 0.02 * ink) << text;
    }
}

TEST_F(Typography, FlatnessSetsTheTriangleBudget) {
    // A word of the show stays within a few thousand triangles; finer flattening costs more.
    for (const char* word : {"PINDLE", "KORVANE"}) {
        const size_t normal = ExtrudeText(Bold(), word, ExtrudeOptions{}).triangles.size();
        ExtrudeOptions fine;
        fine.flatness = 0.0005f;
        const size_t more = ExtrudeText(Bold(), word, fine).triangles.size();
        EXPECT_GT(normal, 100u) << word;
        EXPECT_LT(normal, 5000u) << word;
        EXPECT_GT(more, normal) << word;
    }
}

TEST_F(Typography, NothingToDraw) {
    for (const char* text : {"", " ", "\t", "\xFF\xFE"}) {
        const TextMesh mesh = ExtrudeText(Bold(), text, ExtrudeOptions{});
        EXPECT_TRUE(mesh.triangles.empty()) << text;
        EXPECT_EQ(mesh.bounds.max.x, 0.0f);
        EXPECT_EQ(RenderText(Bold(), text, 20).width, 0) << text;
    }
    Typeface closed;
    EXPECT_TRUE(ExtrudeText(closed, "A", ExtrudeOptions{}).triangles.empty());
}

TEST_F(Typography, BitmapsSitOnTheBaseline) {
    const TextBitmap h = RenderText(Bold(), "H", 100, 0, 3);
    ASSERT_GT(h.width, 0);
    auto rowInk = [](const TextBitmap& b, int row) {
        int ink = 0;
        for (int x = 0; x < b.width; ++x) ink += b.coverage[static_cast<size_t>(row) * b.width + x];
        return ink;
    };
    // The pad is empty on all sides, the cap height is about 0.73 em, nothing hangs below.
    for (int row : {0, 1, 2, h.height - 1, h.height - 3}) EXPECT_EQ(rowInk(h, row), 0) << row;
    EXPECT_EQ(h.baseline, h.height - 3);
    EXPECT_NEAR(h.height - 6, 73, 2);
    EXPECT_GT(rowInk(h, h.baseline - 1), 0);
    // A descender reaches below the baseline.
    const TextBitmap g = RenderText(Bold(), "g", 100);
    EXPECT_GT(g.height - g.baseline, 15);
    EXPECT_GT(rowInk(g, g.height - 1), 0);
}

TEST(Fonts, MissingFilesAreNamed) {
    std::string error;
    EXPECT_EQ(FindFontFile("NoSuchFont-Bold.ttf", &error), "");
    EXPECT_NE(error.find("NoSuchFont-Bold.ttf not found"), std::string::npos) << error;
    EXPECT_NE(error.find("/usr/share/fonts/truetype/dejavu/NoSuchFont-Bold.ttf"), std::string::npos)
        << error;

    // A font folder given by the environment comes first.
    TempDir dir;
    WriteFileBytes(dir.File("Broken.ttf"), "not a font");
    setenv("PINDLE_FONT_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(FindFontFile("Broken.ttf", &error), dir.File("Broken.ttf"));
    Typeface broken;
    EXPECT_FALSE(broken.OpenNamed("Broken.ttf", &error));
    EXPECT_EQ(error, "cannot open the font " + dir.File("Broken.ttf"));
    EXPECT_FALSE(broken.IsOpen());
    unsetenv("PINDLE_FONT_DIR");
}

}  // namespace
