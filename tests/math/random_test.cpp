#include <gtest/gtest.h>

#include "math/random.h"
#include "mathtest.h"

namespace {

// The sequence of the Windows C runtime's rand() from its initial state:
// 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464.
// This is the only test in its program, so nothing has drawn before it.
TEST(Random, StartsWithTheFixedSequence) {
    EXPECT_EQ(sm::RandomFloat(), 41.0f / 32767.0f);
    EXPECT_EQ(sm::RandomFloat(), 18467.0f / 32767.0f);

    // RandomFloat() · (max − min) + min
    EXPECT_EQ(sm::RandomRange(1, 10), 6334.0f / 32767.0f * 9.0f + 1.0f);
    EXPECT_EQ(sm::RandomRange(-2, 2), 26500.0f / 32767.0f * 4.0f - 2.0f);

    // x, y, z drawn in that order from RandomRange(−1, 1), then normalised.
    const sm::Vec3 raw(19169.0f / 32767.0f * 2.0f - 1.0f, 15724.0f / 32767.0f * 2.0f - 1.0f,
                       11478.0f / 32767.0f * 2.0f - 1.0f);
    sm::Vec3 unit = sm::RandomUnitVector();
    EXPECT_TRUE(Vec3Near(unit, raw / raw.Length(), 1e-6f));
    EXPECT_NEAR(unit.Length(), 1.0f, 1e-6f);

    EXPECT_EQ(sm::RandomInt(), 29358);
    EXPECT_EQ(sm::RandomInt(), 26962);
    EXPECT_EQ(sm::RandomInt(), 24464);

    // The range is 0 … 32767 inclusive, so RandomFloat reaches both ends of [0, 1].
    float lowest = 1, highest = 0;
    for (int i = 0; i < 1 << 20; ++i) {
        float f = sm::RandomFloat();
        lowest = f < lowest ? f : lowest;
        highest = f > highest ? f : highest;
    }
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_EQ(highest, 1.0f);
}

}  // namespace
