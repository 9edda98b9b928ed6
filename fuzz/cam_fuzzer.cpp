// Feeds arbitrary bytes to the camera file loader twice: on its own, as the inspector's dump
// reads a file, and bound to an animation whose nodes have the ids 1 to 4, as a scene reads
// it. What loads is then played: the animation is updated and the camera for each time is
// asked for its view, field of view, position and clip planes. A fatal report is an accepted
// outcome; afterwards the cameras must still be in end-time order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "camera/animcameramanager.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "fuzzsupport.h"

namespace {

// Node 1 with children 2 and 3, and 4 beside it; 2 and 4 keyed over different times, 3
// constant.
std::unique_ptr<AnimationData> MakeAnimation() {
    auto node = [](int id, float from, float to) {
        auto n = std::make_unique<AnimationData>();
        n->SetId(id);
        if (to > from) {
            auto position = std::make_unique<AnimationCurve<sm::Vec3>>();
            position->AddKey(from, sm::Vec3(0, 0, 0), sm::Vec3(), sm::Vec3());
            position->AddKey(to, sm::Vec3(1, 2, 3), sm::Vec3(), sm::Vec3());
            position->ComputeTangents();
            n->SetPositionCurve(std::move(position));
        }
        return n;
    };
    auto root = std::make_unique<AnimationData>();
    auto first = node(1, 0.0f, 10.0f);
    first->AddChild(node(2, 5.0f, 20.0f));
    first->AddChild(node(3, 0.0f, 0.0f));
    root->AddChild(std::move(first));
    root->AddChild(node(4, 15.0f, 30.0f));
    return root;
}

void Play(AnimCameraManager& manager, Animation* animation) {
    float sum = 0.0f;
    for (float time : {-1.0f, 0.0f, 5.0f, 12.5f, 20.0f, 30.0f, 1e9f}) {
        if (animation) animation->Update(time, sm::Mat4(), 0.0f);
        AnimCamera* camera = manager.GetCameraAt(time);
        if (!camera) continue;
        sm::Mat4 view;
        camera->GetViewMatrix(view);
        sm::Vec3 position;
        camera->GetPosition(position);
        sum += view[0] + position.x + camera->GetNear() + camera->GetFar() + camera->GetFov(time) +
               camera->GetFov2(time);
    }
    volatile float sink = sum;
    (void)sink;
}

void Check(const AnimCameraManager& manager) {
    for (int i = 1; i < manager.GetCamerasCount(); ++i)
        if (manager.GetCamera(i)->GetEndTime() < manager.GetCamera(i - 1)->GetEndTime())
            std::abort();
    if (manager.GetCamerasCount() > 0)
        manager.GetCameraByName(manager.GetCamera(0)->GetName());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    static const std::unique_ptr<AnimationData> animationData = MakeAnimation();
    {
        AnimCameraManager manager;
        try {
            manager.LoadFromMemory(data, size, "cameras/fuzz.cam", nullptr);
            Check(manager);
            Play(manager, nullptr);
        } catch (const FatalError&) {
        }
    }
    {
        // The manager goes first: a fatal report may come after some cameras were bound, and
        // nothing updates the animation after that.
        Animation animation(animationData.get());
        AnimCameraManager manager;
        try {
            manager.LoadFromMemory(data, size, "cameras/fuzz.cam", &animation);
            Check(manager);
            Play(manager, &animation);
        } catch (const FatalError&) {
        }
    }
    return 0;
}
