#include "content/animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "content/animationdata.h"
#include "formats/aniwriter.h"
#include "formats/bytewriter.h"
#include "math/mathtest.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

const float kPi = 3.14159265358979f;

std::unique_ptr<AnimationData> Load(const std::string& bytes) {
    std::vector<char> exact(bytes.begin(), bytes.end());
    return LoadAnimationFromMemory(exact.data(), exact.size(), "animations/Test.ani");
}

testing::AssertionResult QuatNear(const sm::Quat& a, const sm::Quat& b, float tolerance = 1e-5f) {
    if (std::fabs(a.w - b.w) <= tolerance && Vec3Near(a.v, b.v, tolerance))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
}

sm::Quat AboutY(float angle) { return sm::Quat(std::cos(angle / 2), 0, std::sin(angle / 2), 0); }

// A node record by hand: constant position and scale, and the rotation track as given.
void Node(ByteWriter& w, int id, const std::string& name, void (*rotation)(ByteWriter&),
          int children) {
    w.I32(id);
    w.String(name);
    for (int i = 0; i < 16; ++i) w.F32(i % 5 == 0 ? 1.0f : 0.0f);
    w.I32(0);
    for (float f : {0.0f, 0.0f, 0.0f}) w.F32(f);
    rotation(w);
    w.I32(0);
    for (float f : {1.0f, 1.0f, 1.0f}) w.F32(f);
    w.I32(children);
}

TEST(AnimationLoader, RotationKeysExchangeTheAxisNegateTheAngleAndAccumulate) {
    // Two keys, each −π/2 about the file axis (0, 0, 1).
    ByteWriter w;
    w.I32(1);
    Node(
        w, 3, "n",
        [](ByteWriter& w) {
            w.I32(2);
            for (float t : {0.0f, 1.0f}) {
                w.F32(t);
                w.F32(-kPi / 2);
                w.F32(0);
                w.F32(0);
                w.F32(1);
            }
        },
        0);
    std::unique_ptr<AnimationData> root = Load(w.Bytes());
    const AnimationCurve<sm::Quat>* curve = root->FindNode(3)->GetRotationCurve();
    ASSERT_NE(curve, nullptr);
    ASSERT_EQ(curve->GetKeysCount(), 2);
    EXPECT_TRUE(QuatNear(curve->GetKey(0).value, AboutY(kPi / 2)));  // π/2 about (0, 1, 0)
    EXPECT_TRUE(QuatNear(curve->GetKey(1).value, AboutY(kPi)));      // π about (0, 1, 0)
    // Tangents come from ComputeTangents: the chord slope at both ends of a two-key curve.
    const sm::Quat chord(curve->GetKey(1).value.w - curve->GetKey(0).value.w,
                         curve->GetKey(1).value.v - curve->GetKey(0).value.v);
    EXPECT_TRUE(QuatNear(curve->GetKey(0).outTangent, chord));
}

TEST(AnimationLoader, ConstantRotationKeepsTheAxisAsWritten) {
    ByteWriter w;
    w.I32(1);
    Node(
        w, 3, "n",
        [](ByteWriter& w) {
            w.I32(0);
            for (float f : {-kPi / 2, 0.0f, 0.0f, 2.0f}) w.F32(f);  // axis need not be unit
        },
        0);
    const auto data = Load(w.Bytes());
    const AnimationData* node = data->FindNode(3);
    EXPECT_EQ(node->GetRotationCurve(), nullptr);
    EXPECT_TRUE(QuatNear(node->GetRotation(),
                         sm::Quat(std::cos(kPi / 4), 0, 0, std::sin(kPi / 4))));  // π/2 about z
}

// root: a (id 1, keys to 2 s) with child b (id 2, keys from −1 s to 7 s, the deepest); c (id 1
// again, no keys).
AniDesc Tree() {
    AniNodeDesc b;
    b.id = 2;
    b.name = "b";
    b.scale.keys = {{-1.0f, sm::Vec3(1, 1, 1)}, {7.0f, sm::Vec3(2, 2, 2)}};
    AniNodeDesc a;
    a.id = 1;
    a.name = "a";
    a.position.keys = {{0.5f, sm::Vec3(0, 0, 0)}, {2.0f, sm::Vec3(4, 0, 0)}};
    a.children = {b};
    AniNodeDesc c;
    c.id = 1;
    c.name = "c";
    AniDesc d;
    d.nodes = {a, c};
    return d;
}

TEST(AnimationData, FindNodeSearchesPreOrderFromTheRoot) {
    std::unique_ptr<AnimationData> root = Load(WriteAni(Tree()));
    EXPECT_EQ(root->GetId(), 0);
    EXPECT_EQ(root->GetName(), "");
    EXPECT_EQ(root->FindNode(0), root.get());
    EXPECT_EQ(root->FindNode(1)->GetName(), "a");  // before c
    EXPECT_EQ(root->FindNode(2)->GetName(), "b");
    EXPECT_EQ(root->FindNode(9), nullptr);

    // A file node with id 0 is shadowed by the root.
    AniDesc zero;
    zero.nodes.resize(1);
    zero.nodes[0].name = "zero";
    std::unique_ptr<AnimationData> other = Load(WriteAni(zero));
    EXPECT_EQ(other->FindNode(0), other.get());
    EXPECT_EQ(other->GetChild(0)->GetName(), "zero");
}

TEST(AnimationData, StartEndAndCachedDuration) {
    std::unique_ptr<AnimationData> root = Load(WriteAni(Tree()));
    EXPECT_FLOAT_EQ(root->GetDuration(), 7.0f);  // the deepest node's last key
    // A constant track counts as 0 in both directions.
    EXPECT_FLOAT_EQ(root->GetStartTime(1), 0.0f);
    EXPECT_FLOAT_EQ(root->GetEndTime(1), 2.0f);
    EXPECT_FLOAT_EQ(root->GetStartTime(2), -1.0f);
    EXPECT_FLOAT_EQ(root->GetEndTime(2), 7.0f);
    EXPECT_FLOAT_EQ(root->GetEndTime(0), 0.0f);

    // The duration is computed once: a later child changes nothing.
    auto late = std::make_unique<AnimationData>();
    auto keys = std::make_unique<AnimationCurve<sm::Vec3>>();
    keys->AddKey(50.0f, sm::Vec3(), sm::Vec3(), sm::Vec3());
    late->SetPositionCurve(std::move(keys));
    root->AddChild(std::move(late));
    EXPECT_FLOAT_EQ(root->GetDuration(), 7.0f);
    EXPECT_FLOAT_EQ(root->GetChild(2)->GetDuration(), 50.0f);

    EXPECT_EQ(CaptureFatal([&] {
                  root->GetStartTime(9);
              }).rfind("Assertion failed: anim != NULL, file ", 0),
              0u);
    EXPECT_EQ(CaptureFatal([&] {
                  root->GetEndTime(9);
              }).rfind("Assertion failed: anim != NULL, file ", 0),
              0u);
}

TEST(Animation, ConstantTracksGiveTheSameMatrixAtEveryTime) {
    AniNodeDesc n;
    n.id = 5;
    n.baseMatrix = sm::Mat4::Translation(0, 0, -1);
    n.position.constant = sm::Vec3(1, 2, 3);
    n.rotation.constant = AboutY(0.75f);
    n.scale.constant = sm::Vec3(2, 3, 4);
    AniNodeDesc child;
    child.id = 6;
    child.position.constant = sm::Vec3(0, 10, 0);
    n.children = {child};
    AniDesc d;
    d.nodes = {n};
    std::unique_ptr<AnimationData> data = Load(WriteAni(d));

    Animation anim(data.get());
    sm::Mat4 bone, world, childWorld;
    anim.FindNode(5)->SetTarget(&bone, &world);
    anim.FindNode(6)->SetTarget(nullptr, &childWorld);
    EXPECT_EQ(anim.FindNode(0), &anim);
    EXPECT_EQ(anim.FindNode(6)->GetData(), data->FindNode(6));
    EXPECT_EQ(anim.FindNode(7), nullptr);

    const sm::Mat4 parent = sm::Mat4::Translation(100, 0, 0);
    const sm::Mat4 expected = parent * sm::Mat4::Translation(1, 2, 3) *
                              sm::Mat4::Rotation(0.75f, 0, 1, 0) * sm::Mat4::Scale(2, 3, 4);
    for (float time : {-5.0f, 0.0f, 3.5f}) {
        anim.Update(time, parent, 0.016f);
        EXPECT_TRUE(Mat4Near(world, expected, 1e-4f));
        EXPECT_TRUE(Mat4Near(anim.FindNode(5)->GetMatrix(), expected, 1e-4f));
        EXPECT_TRUE(Mat4Near(bone, expected * sm::Mat4::Translation(0, 0, -1), 1e-4f));
        EXPECT_TRUE(Mat4Near(childWorld, expected * sm::Mat4::Translation(0, 10, 0), 1e-4f));
    }
}

TEST(Animation, InstancesOfOneDataMoveIndependently) {
    std::unique_ptr<AnimationData> data = Load(WriteAni(Tree()));
    Animation first(data.get());
    Animation second(data.get());
    sm::Mat4 a, b;
    first.FindNode(1)->SetTarget(nullptr, &a);
    second.FindNode(1)->SetTarget(nullptr, &b);
    first.Update(2.0f, sm::Mat4(), 0.0f);
    second.Update(0.0f, sm::Mat4(), 0.0f);
    EXPECT_FLOAT_EQ(a[12], 4.0f);
    EXPECT_FLOAT_EQ(b[12], 0.0f);
    EXPECT_FLOAT_EQ(first.GetDuration(), 7.0f);
    EXPECT_FLOAT_EQ(second.GetEndTime(1), 2.0f);
}

// The rotation by angle about a unit axis.
sm::Quat Rot(float angle, sm::Vec3 axis) {
    return sm::Quat::FromAxisAngle(angle, axis.x, axis.y, axis.z);
}

TEST(AniWriter, LoadingGivesBackTheAbsoluteRotations) {
    // A long track that wanders about changing axes, including an unchanged key and turns past
    // π, kept in one hemisphere key to key.
    std::vector<AniRotationKey> keys;
    sm::Quat q = Rot(2.5f, sm::Vec3(0.3f, -0.8f, 0.5f).GetNormalized());
    for (int i = 0; i < 400; ++i) {
        if (i != 10)
            q = q * Rot(0.05f + 0.01f * (i % 7),
                        sm::Vec3(std::sin(i * 0.3f), 1.0f, std::cos(i * 0.7f)).GetNormalized());
        q.Normalize();
        if (!keys.empty()) {
            const sm::Quat& p = keys.back().rotation;
            if (p.w * q.w + Dot(p.v, q.v) < 0) q = q * -1.0f;
        }
        keys.push_back({0.1f * i, q});
    }
    AniNodeDesc node;
    node.id = 8;
    node.name = "camera";
    node.baseMatrix = sm::Mat4::Translation(1, 2, 3);
    node.position.keys = {{0, sm::Vec3(1, 2, 3)}, {10, sm::Vec3(-4, 5, 6)}};
    node.rotation.keys = keys;
    node.scale.keys = {{0, sm::Vec3(1, -1, 1)}, {40, sm::Vec3(1, -1, 1)}};
    AniNodeDesc constant;
    constant.id = 9;
    constant.rotation.constant = Rot(-2.0f, sm::Vec3(0.6f, 0, 0.8f));  // w < 0 stays w < 0
    constant.rotation.constant = constant.rotation.constant * -1.0f;
    node.children = {constant};
    AniDesc d;
    d.nodes = {node};

    std::unique_ptr<AnimationData> root = Load(WriteAni(d));
    const AnimationData* n = root->FindNode(8);
    EXPECT_EQ(n->GetName(), "camera");
    EXPECT_TRUE(Mat4Near(n->GetBaseMatrix(), node.baseMatrix));
    ASSERT_EQ(n->GetPositionCurve()->GetKeysCount(), 2);
    EXPECT_TRUE(Vec3Near(n->GetPositionCurve()->GetKey(1).value, sm::Vec3(-4, 5, 6)));
    EXPECT_TRUE(Vec3Near(n->EvaluateScale(20.0f), sm::Vec3(1, -1, 1)));
    const AnimationCurve<sm::Quat>* curve = n->GetRotationCurve();
    ASSERT_EQ(curve->GetKeysCount(), 400);
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(curve->GetKey(i).time, keys[i].time);
        EXPECT_TRUE(QuatNear(curve->GetKey(i).value, keys[i].rotation, 2e-6f));
    }
    EXPECT_TRUE(QuatNear(root->FindNode(9)->GetRotation(), constant.rotation.constant, 1e-6f));
    EXPECT_LT(root->FindNode(9)->GetRotation().w, 0.0f);
}

TEST(AnimationLoader, DamagedFilesAreFatal) {
    // 256 levels below the root load; one more is refused.
    auto chain = [](int depth) {
        AniNodeDesc node;
        node.id = depth;
        for (int i = depth - 1; i >= 1; --i) {
            AniNodeDesc parent;
            parent.id = i;
            parent.children = {node};
            node = parent;
        }
        AniDesc d;
        d.nodes = {node};
        return WriteAni(d);
    };
    EXPECT_NE(Load(chain(256))->FindNode(256), nullptr);
    const std::string deep = CaptureFatal([&] { Load(chain(257)); });
    EXPECT_EQ(deep.rfind("animations/Test.ani: node tree deeper than 256 levels at byte ", 0), 0u)
        << deep;
    EXPECT_NE(deep.find(" reading node record of node 0 of node 256 \"\" at level 256"),
              std::string::npos)
        << deep;

    AniDesc d;
    d.nodes.resize(1);
    d.nodes[0].name = "n";
    d.nodes[0].position.keys = {{1.0f, sm::Vec3()}, {0.5f, sm::Vec3()}};
    // node count 4, id 4, name 4 + 1, matrix 64, key count 4, key 0 16: key 1 at byte 97.
    EXPECT_EQ(CaptureFatal([&] { Load(WriteAni(d)); }),
              "animations/Test.ani: key time 0.5 not after 1 at byte 97 reading key time of "
              "position track of node 0 \"n\" at level 1");
    d.nodes[0].position.keys = {{NAN, sm::Vec3()}};
    EXPECT_EQ(CaptureFatal([&] { Load(WriteAni(d)); }),
              "animations/Test.ani: key time nan at byte 81 reading key time of position track "
              "of node 0 \"n\" at level 1");

    std::string negative = WriteAni(d);
    negative[80] = static_cast<char>(0x80);  // the key count's high byte
    EXPECT_EQ(CaptureFatal([&] { Load(negative); }),
              "animations/Test.ani: negative count -2147483647 at byte 77 reading key count of "
              "position track of node 0 \"n\" at level 1");
}

TEST(AnimationLoader, UnreadableFileGivesNull) {
    TempDir dir;
    EXPECT_EQ(LoadAnimation(dir.File("walk.ani")), nullptr);
    WriteFileBytes(dir.File("walk.ani"), WriteAni(Tree()));
    EXPECT_FLOAT_EQ(LoadAnimation(dir.File("walk.ani"))->GetDuration(), 7.0f);
}

}  // namespace
