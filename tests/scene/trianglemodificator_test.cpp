#include "scene/trianglemodificator.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// Two triangles whose paths start at 3 s and 10 s; records every glow power written.
class FakeRibbon : public IModifiableRibbon {
public:
    FakeRibbon() : m_triangles(2) {
        const float starts[] = {3.0f, 10.0f};
        for (int i = 0; i < 2; ++i) {
            m_triangles[i].m_path = std::make_unique<AnimationCurve<sm::Vec3>>();
            m_triangles[i].m_path->AddKey(starts[i], sm::Vec3(), sm::Vec3(), sm::Vec3());
            m_triangles[i].m_path->AddKey(starts[i] + 5.0f, sm::Vec3(), sm::Vec3(), sm::Vec3());
        }
    }
    int GetRibbonTrianglesCount() const override { return 2; }
    const RibbonTriangle& GetRibbonTriangle(int index) const override { return m_triangles[index]; }
    void SetTriangleGlowPower(int index, float power) override { glow[index].push_back(power); }

    std::map<int, std::vector<float>> glow;

private:
    std::vector<RibbonTriangle> m_triangles;
};

TEST(BlinkAtStartAndEnd, FlashesDuringTheFirstSecondOfEachTrianglesPath) {
    BlinkAtStartAndEnd* blink = BlinkAtStartAndEnd::GetInstance();
    EXPECT_EQ(BlinkAtStartAndEnd::GetInstance(), blink);

    struct Case {
        float sinceStart;
        float glow;
    };
    const Case cases[] = {{0.0f, 0.8f}, {0.05f, 2.0f}, {0.525f, 1.4f}, {1.0f, 0.8f}};
    for (const Case& c : cases) {
        FakeRibbon ribbon;
        blink->Modify(10.0f + c.sinceStart, &ribbon, 1);
        ASSERT_EQ(ribbon.glow.size(), 1u) << c.sinceStart;
        ASSERT_EQ(ribbon.glow[1].size(), 1u);
        EXPECT_NEAR(ribbon.glow[1][0], c.glow, 1e-5f) << c.sinceStart;
    }

    // Before the path starts and after the flash, the glow is left alone; each triangle
    // flashes on its own start time.
    FakeRibbon ribbon;
    for (float time : {9.99f, 11.01f, 20.0f}) blink->Modify(time, &ribbon, 1);
    blink->Modify(3.5f, &ribbon, 1);
    EXPECT_TRUE(ribbon.glow.empty());
    blink->Modify(3.5f, &ribbon, 0);
    ASSERT_EQ(ribbon.glow[0].size(), 1u);
    EXPECT_NEAR(ribbon.glow[0][0], 2.0f - 1.2f * (0.45f / 0.95f), 1e-5f);
}

}  // namespace
