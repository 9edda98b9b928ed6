// The program's random numbers. One process-wide generator, never seeded, reproduces the
// classic Windows C runtime rand(): state 1 at start, x = x·214013 + 2531011 (mod 2^32), result
// (x >> 16) & 0x7FFF. Every run therefore draws the same sequence, and effects that scatter with
// it repeat exactly as long as the calls come in the same order. Not thread-safe, not for
// anything that needs good randomness.
#pragma once

#include "math/vec3.h"

namespace sm {

// The next raw value of the generator, 0 … 32767.
int RandomInt();

// RandomInt() / 32767: a float in [0, 1], both ends included.
float RandomFloat();

// RandomFloat() · (max − min) + min.
float RandomRange(float min, float max);

// x, y and z from three RandomRange(−1, 1) calls in that order, then normalised (the zero
// vector if all three are 0).
Vec3 RandomUnitVector();

}  // namespace sm
