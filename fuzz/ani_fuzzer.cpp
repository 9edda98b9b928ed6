// Feeds arbitrary bytes to the ".ani" loader, then plays what loads: an instance bound to every
// node is updated before, inside and after the key range, and every node's start and end times
// are asked for. A fatal report is an accepted outcome.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "content/animation.h"
#include "content/animationdata.h"
#include "fuzzsupport.h"

namespace {

void BindAll(Animation* node, std::vector<sm::Mat4>* targets, size_t* next) {
    sm::Mat4* bone = &(*targets)[(*next)++];
    sm::Mat4* world = &(*targets)[(*next)++];
    node->SetTarget(bone, world);
    for (int i = 0; i < node->GetChildrenCount(); ++i) BindAll(node->GetChild(i), targets, next);
}

size_t CountNodes(const AnimationData* node) {
    size_t n = 1;
    for (int i = 0; i < node->GetChildrenCount(); ++i) n += CountNodes(node->GetChild(i));
    return n;
}

float Times(const AnimationData* root, const AnimationData* node) {
    float sum = root->GetStartTime(node->GetId()) + root->GetEndTime(node->GetId());
    for (int i = 0; i < node->GetChildrenCount(); ++i) sum += Times(root, node->GetChild(i));
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    try {
        std::unique_ptr<AnimationData> root =
            LoadAnimationFromMemory(data, size, "animations/fuzz.ani");
        std::vector<sm::Mat4> targets(2 * CountNodes(root.get()));
        Animation animation(root.get());
        size_t next = 0;
        BindAll(&animation, &targets, &next);
        const float duration = animation.GetDuration();
        for (float time : {-1.0f, 0.0f, duration * 0.37f, duration, duration + 1.0f}) {
            animation.Update(time, sm::Mat4(), 0.0f);
        }
        volatile float sink = Times(root.get(), root.get()) + targets.back()[0];
        (void)sink;
    } catch (const FatalError&) {
    }
    return 0;
}
