#include "math/random.h"

#include <cstdint>

namespace sm {

namespace {
std::uint32_t g_randomState = 1;
}  // namespace

int RandomInt() {
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int>((g_randomState >> 16) & 0x7FFFu);
}

float RandomFloat() { return static_cast<float>(RandomInt()) / 32767.0f; }

float RandomRange(float min, float max) { return RandomFloat() * (max - min) + min; }

Vec3 RandomUnitVector() {
    // Separate statements: the draw order x, y, z is part of the contract.
    float x = RandomRange(-1.0f, 1.0f);
    float y = RandomRange(-1.0f, 1.0f);
    float z = RandomRange(-1.0f, 1.0f);
    return Vec3(x, y, z).GetNormalized();
}

}  // namespace sm
