// The figure and its animations, skinned the way the engine's programs skin it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "content/animation.h"
#include "content/skinnedmeshdata.h"
#include "show/figure.h"
#include "showfiles.h"

namespace {

std::unique_ptr<SkinnedMeshData> LoadGuy() {
    const std::string& bytes = ShowFile("SkinnedMeshes/guy.skm");
    return LoadSkinnedMeshFromMemory(bytes.data(), bytes.size(), "guy.skm");
}

// The figure posed by an animation at a time, in model units: the bone targets the engine
// binds, blended as the skinning programs blend them.
class PosedFigure {
public:
    PosedFigure(const SkinnedMeshData& mesh, const std::string& animation)
        : m_mesh(mesh), m_data(LoadShowAnimation(animation)), m_animation(m_data.get()),
          m_bones(mesh.GetBonesCount()) {
        for (int i = 0; i < mesh.GetBonesCount(); ++i) {
            Animation* node = m_animation.FindNode(mesh.GetBoneId(i));
            if (node) node->SetTarget(&m_bones[i], nullptr);
        }
    }

    std::vector<sm::Vec3> At(float time) {
        m_animation.Update(time, sm::Mat4(), 0.0f);
        std::vector<sm::Vec3> out;
        for (int v = 0; v < m_mesh.GetVerticesCount(); ++v) {
            const SkinnedVertex& s = m_mesh.GetVertices()[v];
            sm::Vec3 p;
            float total = 0;
            for (int k = 0; k < 4; ++k) {
                p = p + m_bones[s.bones[k]].TransformPoint(s.position) * s.weights[k];
                total += s.weights[k];
            }
            out.push_back(p / total);
        }
        return out;
    }

    float Duration() const { return m_data->GetDuration(); }

private:
    const SkinnedMeshData& m_mesh;
    std::unique_ptr<AnimationData> m_data;
    Animation m_animation;
    std::vector<sm::Mat4> m_bones;
};

float LowestY(const std::vector<sm::Vec3>& points) {
    float y = points[0].y;
    for (const sm::Vec3& p : points) y = std::min(y, p.y);
    return y;
}

TEST(Figure, FitsTheSkinningProgramsAndBothAnimations) {
    auto guy = LoadGuy();
    ASSERT_GT(guy->GetVerticesCount(), 0);
    EXPECT_EQ(guy->GetVerticesCount() % 3, 0);
    EXPECT_LE(guy->GetBonesCount(), 41);
    for (const char* animation : {"walk", "jump"}) {
        auto data = LoadShowAnimation(animation);
        for (int i = 0; i < guy->GetBonesCount(); ++i)
            EXPECT_NE(data->FindNode(guy->GetBoneId(i)), nullptr)
                << animation << " lacks bone " << guy->GetBoneId(i);
    }
    int blended = 0;
    for (int v = 0; v < guy->GetVerticesCount(); ++v) {
        const SkinnedVertex& s = guy->GetVertices()[v];
        float total = 0;
        int used = 0;
        for (int k = 0; k < 4; ++k) {
            EXPECT_LT(s.bones[k], guy->GetBonesCount());
            EXPECT_GE(s.weights[k], 0.0f);
            total += s.weights[k];
            used += s.weights[k] > 0;
        }
        EXPECT_NEAR(total, 1.0f, 1e-5f) << "vertex " << v;
        blended += used > 1;
    }
    // Joints bend smoothly: a good share of the vertices follow more than one bone.
    EXPECT_GT(blended, guy->GetVerticesCount() / 5);
}

TEST(Figure, IsModelledFiftyTimesLifeSizeOnTheGroundFacingMinusZ) {
    auto guy = LoadGuy();
    PosedFigure bind(*guy, "walk");
    sm::Vec3 lo(1e9f), hi(-1e9f);
    for (int v = 0; v < guy->GetVerticesCount(); ++v) {
        const sm::Vec3& p = guy->GetVertices()[v].position;
        lo = sm::Vec3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = sm::Vec3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    EXPECT_NEAR(lo.y, 0.0f, 0.5f);
    // Drawn at 0.02: between 1.7 and 1.9 units tall.
    EXPECT_GT((hi.y - lo.y) * show::kFigureScale, 1.7f);
    EXPECT_LT((hi.y - lo.y) * show::kFigureScale, 1.9f);
    // The toes point to −z: the feet reach much further forward than back.
    EXPECT_LT(lo.z, -12.0f);
    EXPECT_GT(-lo.z, hi.z + 3.0f);
    EXPECT_NEAR(lo.x, -hi.x, 0.5f);
}

TEST(Figure, WalkIsOneSeamlessCycleOfStepsTowardsMinusZ) {
    auto guy = LoadGuy();
    PosedFigure walk(*guy, "walk");
    ASSERT_FLOAT_EQ(walk.Duration(), show::kWalkPeriod);
    const std::vector<sm::Vec3> first = walk.At(0.0f), last = walk.At(walk.Duration());
    for (size_t i = 0; i < first.size(); ++i) {
        ASSERT_NEAR(first[i].x, last[i].x, 1e-3f);
        ASSERT_NEAR(first[i].y, last[i].y, 1e-3f);
        ASSERT_NEAR(first[i].z, last[i].z, 1e-3f);
    }
    // The feet carry the weight: the lowest point stays near the ground all through the cycle,
    // and the foot on the ground moves back (+z) under a figure walking to −z.
    const int samples = 40;
    int backwards = 0, planted = 0;
    std::vector<sm::Vec3> previous = walk.At(0.0f);
    for (int k = 1; k <= samples; ++k) {
        const std::vector<sm::Vec3> now = walk.At(walk.Duration() * k / samples);
        const float ground = LowestY(now);
        EXPECT_GT(ground, -3.0f) << "sinks at sample " << k;
        EXPECT_LT(ground, 3.0f) << "floats at sample " << k;
        size_t lowest = 0;
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i].y < now[lowest].y) lowest = i;
        ++planted;
        backwards += now[lowest].z > previous[lowest].z;
        previous = now;
    }
    EXPECT_GT(backwards, planted * 3 / 4);
    // Both feet take turns: the left foot leaves the ground in the middle of the cycle.
    const std::vector<sm::Vec3> mid = walk.At(0.75f * walk.Duration());
    float leftLow = 1e9f, rightLow = 1e9f;
    for (const sm::Vec3& p : mid) {
        float& low = p.x < 0 ? leftLow : rightLow;
        low = std::min(low, p.y);
    }
    EXPECT_GT(leftLow - rightLow, 3.0f);
}

TEST(Figure, JumpLeavesTheGroundAndLandsStanding) {
    auto guy = LoadGuy();
    PosedFigure jump(*guy, "jump");
    ASSERT_FLOAT_EQ(jump.Duration(), show::kJumpDuration);
    EXPECT_NEAR(LowestY(jump.At(0.0f)), 0.0f, 0.5f);
    EXPECT_GT(LowestY(jump.At(0.7f)), 10.0f);
    EXPECT_NEAR(LowestY(jump.At(jump.Duration())), 0.0f, 0.5f);
}

}  // namespace
