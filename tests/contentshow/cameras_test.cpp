// The scenes' cameras as the engine sees them: the view it builds from each camera file and
// animation, and the scene times it takes from them.
#include <gtest/gtest.h>

#include <cmath>

#include "camera/animcameramanager.h"
#include "content/animation.h"
#include "show/cameras.h"
#include "showfiles.h"

namespace {

struct LoadedCameras {
    std::unique_ptr<AnimationData> data;
    std::unique_ptr<Animation> animation;
    AnimCameraManager manager;
};

std::unique_ptr<LoadedCameras> LoadCameras(const std::string& scene) {
    auto loaded = std::make_unique<LoadedCameras>();
    loaded->data = LoadShowAnimation(scene);
    loaded->animation = std::make_unique<Animation>(loaded->data.get());
    const std::string& bytes = ShowFile("cameras/" + scene + ".cam");
    loaded->manager.LoadFromMemory(bytes.data(), bytes.size(), scene + ".cam",
                                   loaded->animation.get());
    return loaded;
}

float MaxDifference(const sm::Mat4& a, const sm::Mat4& b) {
    float worst = 0;
    for (int i = 0; i < 16; ++i) worst = std::fmax(worst, std::fabs(a[i] - b[i]));
    return worst;
}

TEST(SceneCameras, TheEnginesViewIsThePoseTheBuilderIntended) {
    for (const show::SceneBuild& scene : TheShow().scenes) {
        auto loaded = LoadCameras(scene.name);
        ASSERT_EQ(loaded->manager.GetCamerasCount(), static_cast<int>(scene.shots.size()))
            << scene.name;
        for (const show::Shot& shot : scene.shots) {
            AnimCamera* camera = loaded->manager.GetCameraByName(shot.name);
            ASSERT_NE(camera, nullptr) << scene.name << " " << shot.name;
            // Four samples between neighbouring keys, where the engine's blend is furthest
            // from its keys.
            const int samples =
                static_cast<int>(std::lround((shot.end - shot.start) / (shot.keyStep / 4)));
            float worstView = 0, worstFov = 0, worstAt = shot.start;
            for (int k = 0; k <= samples; ++k) {
                const float t = shot.start + (shot.end - shot.start) * k / samples;
                loaded->animation->Update(t, sm::Mat4(), 0.0f);
                sm::Mat4 view;
                camera->GetViewMatrix(view);
                const float d = MaxDifference(view, show::ViewMatrix(shot.pose(t)));
                if (d > worstView) {
                    worstView = d;
                    worstAt = t;
                }
                const float fov = shot.zoom ? shot.zoom(t) : shot.fov;
                worstFov = std::fmax(worstFov, std::fabs(camera->GetFov(t) - fov));
            }
            EXPECT_LE(worstView, 1e-3f) << scene.name << " \"" << shot.name << "\" at " << worstAt;
            EXPECT_LE(worstFov, 1e-3f) << scene.name << " \"" << shot.name << "\"";
            // The camera looks where the pose looks: the target lies ahead on the view axis.
            loaded->animation->Update(shot.start, sm::Mat4(), 0.0f);
            sm::Mat4 view;
            camera->GetViewMatrix(view);
            const sm::Vec3 target = view.TransformPoint(shot.pose(shot.start).target);
            EXPECT_LT(target.z, 0.0f) << scene.name << " " << shot.name;
            EXPECT_NEAR(target.x, 0.0f, 1e-3f) << scene.name << " " << shot.name;
            EXPECT_NEAR(target.y, 0.0f, 1e-3f) << scene.name << " " << shot.name;
            // ... and upright: what is above the target is up on the screen.
            const sm::Vec3 above =
                view.TransformPoint(shot.pose(shot.start).target + sm::Vec3(0, 1, 0));
            EXPECT_GT(above.y, 0.0f) << scene.name << " " << shot.name;
        }
    }
}

TEST(SceneCameras, ScenesStartOnTheTimelineAndTheirCamerasCutOnPhraseLines) {
    // The show's timeline: where the engine must find each scene starting.
    const struct {
        const char* name;
        float start, end;
    } timeline[] = {
        {"Scene01", 0, 40},    {"Scene02", 40, 80},     {"Scene03", 80, 120},
        {"Scene05", 120, 160}, {"SceneDupa", 160, 200}, {"Scene06", 200, 240},
        {"Scene07", 240, 280}, {"Scene08", 280, 320},   {"Scene09", 320, 360},
    };
    for (const auto& window : timeline) {
        auto loaded = LoadCameras(window.name);
        const AnimCameraManager& cameras = loaded->manager;
        ASSERT_GE(cameras.GetCamerasCount(), 2) << window.name;
        ASSERT_LE(cameras.GetCamerasCount(), 4) << window.name;
        // A scene starts when its first camera does (cameras are sorted by end time).
        EXPECT_EQ(cameras.GetCamera(0)->GetStartTime(), window.start) << window.name;
        for (int i = 1; i < cameras.GetCamerasCount(); ++i) {
            const float cut = cameras.GetCamera(i)->GetStartTime();
            EXPECT_EQ(cut, cameras.GetCamera(i - 1)->GetEndTime())
                << window.name << " camera " << i;
            // Four bars of 2 s.
            EXPECT_EQ(std::fmod(cut, 8.0f), 0.0f) << window.name << " cuts at " << cut;
        }
        EXPECT_EQ(cameras.GetCamera(cameras.GetCamerasCount() - 1)->GetEndTime(), window.end)
            << window.name;
    }
}

}  // namespace
