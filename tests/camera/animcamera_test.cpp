#include <gtest/gtest.h>

#include <cmath>

#include "camera/animcamera.h"
#include "camera/animcameramanager.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "formats/camerawriter.h"
#include "support/fatalcapture.h"

namespace {

// A root with one child node per (id, end time): each moves along x from time 1 to its end.
std::unique_ptr<AnimationData> NodesEndingAt(const std::vector<std::pair<int, float>>& nodes) {
    auto root = std::make_unique<AnimationData>();
    for (auto [id, end] : nodes) {
        auto node = std::make_unique<AnimationData>();
        node->SetId(id);
        auto curve = std::make_unique<AnimationCurve<sm::Vec3>>();
        curve->AddKey(1.0f, sm::Vec3(0, 0, 0), sm::Vec3(), sm::Vec3());
        curve->AddKey(end, sm::Vec3(static_cast<float>(id), 0, 0), sm::Vec3(), sm::Vec3());
        curve->ComputeTangents();
        node->SetPositionCurve(std::move(curve));
        root->AddChild(std::move(node));
    }
    return root;
}

CameraRecord Camera(int id, const std::string& name) {
    CameraRecord c;
    c.id = id;
    c.name = name;
    c.fov = 0.9f;
    c.nearPlane = 0.5f;
    c.farPlane = 500.0f;
    return c;
}

TEST(AnimCameraManager, CamerasSortByEndTimeAndTheCursorNeverGoesBack) {
    auto data = NodesEndingAt({{7, 30.0f}, {5, 10.0f}, {6, 20.0f}});
    Animation animation(data.get());
    std::string file = WriteCameraFile({Camera(7, "late"), Camera(5, "early"), Camera(6, "mid")});
    AnimCameraManager manager;
    manager.LoadFromMemory(file.data(), file.size(), "cameras/Test.cam", &animation);
    ASSERT_EQ(manager.GetCamerasCount(), 3);
    EXPECT_EQ(manager.GetCamera(0)->GetName(), "early");
    EXPECT_FLOAT_EQ(manager.GetCamera(0)->GetStartTime(), 0.0f);  // constant tracks count as 0
    EXPECT_FLOAT_EQ(manager.GetCamera(2)->GetEndTime(), 30.0f);
    EXPECT_EQ(manager.GetCameraByName("mid"), manager.GetCamera(1));
    EXPECT_EQ(manager.GetCameraByName("none"), nullptr);

    const std::pair<float, const char*> steps[] = {
        {5, "early"}, {10, "early"}, {15, "mid"}, {35, "late"}, {5, "late"}};
    for (auto [time, name] : steps) EXPECT_EQ(manager.GetCameraAt(time)->GetName(), name) << time;

    std::string message = CaptureFatal([&] { manager.GetCamera(3); });
    EXPECT_NE(message.find("Assertion failed: index < cameras.size()"), std::string::npos);
}

TEST(AnimCameraManager, TheAnimationDrivesTheWorldMatrix) {
    auto data = NodesEndingAt({{5, 3.0f}});
    Animation animation(data.get());
    CameraRecord record = Camera(5, "cam");
    record.fovKeys = {{0.0f, 1.0f}, {2.0f, 2.0f}};
    std::string file = WriteCameraFile({record});
    AnimCameraManager manager;
    manager.LoadFromMemory(file.data(), file.size(), "cameras/Test.cam", &animation);
    AnimCamera* camera = manager.GetCamera(0);
    animation.Update(3.0f, sm::Mat4(), 0.0f);
    sm::Vec3 position;
    camera->GetPosition(position);
    EXPECT_FLOAT_EQ(position.x, 5.0f);  // the node's position at its last key
    EXPECT_FLOAT_EQ(camera->GetFov(1.0f), 1.5f);
    EXPECT_FLOAT_EQ(camera->GetNear(), 0.5f);
    EXPECT_FLOAT_EQ(camera->GetFar(), 500.0f);
}

TEST(AnimCameraManager, ACameraWithoutItsNodeIsFatal) {
    auto data = NodesEndingAt({{5, 3.0f}});
    Animation animation(data.get());
    std::string file = WriteCameraFile({Camera(9, "orphan")});
    AnimCameraManager manager;
    std::string message = CaptureFatal(
        [&] { manager.LoadFromMemory(file.data(), file.size(), "cameras/Test.cam", &animation); });
    EXPECT_NE(message.find("Assertion failed: childAnim != NULL"), std::string::npos) << message;
}

TEST(AnimCameraManager, EveryTruncationIsReportedWithTheFile) {
    CameraRecord keyed = Camera(1, "keyed");
    keyed.fovKeys = {{0.0f, 1.0f}, {1.0f, 1.2f}};
    keyed.fov2Keys = {{0.0f, 3.0f}};
    std::string file = WriteCameraFile({keyed, Camera(2, "plain")});
    for (size_t length = 0; length < file.size(); ++length) {
        AnimCameraManager manager;
        std::string cut = file.substr(0, length);
        std::string message = CaptureFatal(
            [&] { manager.LoadFromMemory(cut.data(), cut.size(), "cameras/Test.cam", nullptr); });
        EXPECT_EQ(message.rfind("cameras/Test.cam: ", 0), 0u)
            << "cut at " << length << ": " << message;
    }
    AnimCameraManager whole;
    whole.LoadFromMemory(file.data(), file.size(), "cameras/Test.cam", nullptr);
    EXPECT_EQ(whole.GetCamerasCount(), 2);
}

TEST(AnimCameraManager, NoCamerasGiveNoCamera) {
    std::string file = WriteCameraFile({});
    AnimCameraManager manager;
    manager.LoadFromMemory(file.data(), file.size(), "cameras/Empty.cam", nullptr);
    EXPECT_EQ(manager.GetCameraAt(1.0f), nullptr);
}

TEST(AnimCamera, IdentityWorldLooksAlongMinusYWithZUp) {
    AnimCamera camera(1);
    sm::Mat4 view;
    camera.GetViewMatrix(view);
    // rows (1,0,0,0), (0,0,1,0), (0,1,0,0), (0,0,0,1): world (x, y, z) lands at view (x, z, y)
    const float expected[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(view.m[i], expected[i], 1e-6f) << i;
    EXPECT_FLOAT_EQ(camera.GetFov(123.0f), 60.0f);  // the constant at every time
    camera.SetFov(0.7f);
    EXPECT_FLOAT_EQ(camera.GetFov(-5.0f), 0.7f);
}

}  // namespace
