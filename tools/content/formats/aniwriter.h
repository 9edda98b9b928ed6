// Writes ".ani" animation files from an in-memory node tree whose rotations are absolute: the
// writer does the inverse of the loader's rotation conversion. It does not pick quaternion signs
// or key spacing; the loader interpolates components, so keep neighbouring keys in one hemisphere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/mat4.h"
#include "math/quat.h"
#include "math/vec3.h"

struct AniVectorKey {
    float time = 0.0f;
    sm::Vec3 value;
};

// No keys: the constant is written.
struct AniVectorTrack {
    sm::Vec3 constant;
    std::vector<AniVectorKey> keys;
};

struct AniRotationKey {
    float time = 0.0f;
    sm::Quat rotation{1.0f, 0.0f, 0.0f, 0.0f};  // absolute; normalised before writing
};

struct AniRotationTrack {
    sm::Quat constant{1.0f, 0.0f, 0.0f, 0.0f};
    std::vector<AniRotationKey> keys;
};

struct AniNodeDesc {
    int32_t id = 0;
    std::string name;
    sm::Mat4 baseMatrix;
    AniVectorTrack position;
    AniRotationTrack rotation;
    AniVectorTrack scale{sm::Vec3(1.0f, 1.0f, 1.0f), {}};
    std::vector<AniNodeDesc> children;
};

struct AniDesc {
    std::vector<AniNodeDesc> nodes;  // the top-level nodes
};

// The file stores rotations as negated angles about axes; keyed rotations are relative to the
// previous key, with the axis's second and third components exchanged and the new third negated.
// Each relative key is taken against the rotation the loader will have rebuilt so far, so
// rounding does not pile up along a long track.
std::string WriteAni(const AniDesc& animation);
