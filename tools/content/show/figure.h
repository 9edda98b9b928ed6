// The figure: a low-poly humanoid skinned to a 21-bone skeleton, and its two animations, "walk"
// (one seamless cycle of two steps) and "jump". Everything is modelled 50 times larger than the
// world (the guy is drawn at 0.02), standing on y = 0, facing −z, with +y up. Bone ids are the
// node ids of both animations.
#pragma once

#include <string>
#include <vector>

#include "formats/aniwriter.h"
#include "formats/skmwriter.h"
#include "math/vec3.h"

namespace show {

struct Bone {
    int id;
    std::string name;
    int parent;      // index into the bone list, −1 for the root
    sm::Vec3 joint;  // the pivot in the bind pose, model units
};

// Parents come before their children; bone i has id i + 1.
const std::vector<Bone>& FigureBones();

// The skinned figure "guy": every vertex weighted to at most four bones, weights summing to 1.
SkmDesc FigureSkm();
int FigureTriangleCount();

// The world size of the model: drawn at kFigureScale, the figure is 1.8 units tall.
constexpr float kFigureScale = 0.02f;
// One walk cycle (two steps, one on each beat at 120 BPM), and the pace along a path that
// matches its stride, in world units per second.
constexpr float kWalkPeriod = 1.0f;
constexpr float kWalkSpeed = 1.4f;
constexpr float kJumpDuration = 1.2f;

AniDesc WalkAnimation();
AniDesc JumpAnimation();

}  // namespace show
