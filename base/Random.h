#pragma once

#include <cstdint>

// The pseudo-random generator: a multiplicative congruential generator with
// the prime modulus 16777259, next = 251 x (state + 1) mod 16777259. Each
// build of the base library (the program, the logic library) has its own
// state, so a run replays from the same seed, and the program's draws never
// move the logic's. Every draw advances the one state; a draw that takes
// several steps writes the state once, at its end.
//
// Ranged draws are inclusive at both ends and accept the bounds in either
// order; their spans are worked out in 64 bits, so even the widest 32-bit
// ranges neither wrap nor divide by zero.

constexpr uint32_t kRandomModulus = 16777259;  // 0x100002B, a prime
constexpr uint32_t kRandomMultiplier = 251;

// Seeds from the system up-time (milliseconds).
void Randomize();
// The state becomes seed mod 16777259.
void SetRandomSeed(uint32_t seed);
uint32_t GetRandomSeed();
// One step; answers the new state.
uint32_t RandomNext();
// 0 to n inclusive. n = 0xFFFFFFFF answers the new state itself.
uint32_t Random(uint32_t n);
// Between 0 and n inclusive, for either sign of n.
int32_t RandomSigned(int32_t n);
// Between a and b inclusive, in either order.
int32_t RandomRange(int32_t a, int32_t b);
// Two steps: a span r in 0..(b - a), then a value between a and a + r, so
// low values come more often.
int32_t RandomLowBiased(int32_t a, int32_t b);
// Two steps: m between a and b, then a value between m and b.
int32_t RandomUpperBiased(int32_t a, int32_t b);
// Two steps: the sum of two draws over the two halves of the range.
int32_t RandomTriangular(int32_t a, int32_t b);
// Three steps: c is clamped into a..b; hi is drawn between c and b, lo
// between a and c, and the result between lo and hi.
int32_t RandomAround(int32_t a, int32_t b, int32_t c);
// Four steps: hi and lo as RandomAround, m between lo and hi, then a value
// between m and hi.
int32_t RandomAroundHigh(int32_t a, int32_t b, int32_t c);
// Four steps: hi and lo as RandomAround, then the triangular sum over lo..hi.
int32_t RandomAroundTriangular(int32_t a, int32_t b, int32_t c);
// One step: true when the state mod 100 is below percent.
bool RandomChance(int32_t percent);
// One step: the state times 2^-24, from 0 up to just above 1
// (16777258 / 16777216).
double RandomFloat();
