// The random module: the program's one random number generator, a 32-bit linear congruential sequence whose
// whole state is kp_random_Seed. Depends on nothing.
// Every draw advances the state by exactly one step, so code that wants chance anywhere in the game shares
// one sequence; grid generation and the star field reseed it from the clock.
#pragma once

#include <cstdint>

extern int32_t kp_random_Seed;

// Advances a state by one step of the sequence (modulo 2^32).
constexpr int32_t kp_random_Step(int32_t seed) {
    return static_cast<int32_t>(static_cast<uint32_t>(seed) * 1664525u + 1013904223u);
}
// The draw a state gives: its top 24 bits as a value in [0, 1).
constexpr float kp_random_Value(int32_t seed) {
    return static_cast<float>(static_cast<uint32_t>(seed) >> 8) * (1.0f / 16777216.0f);
}

// One step; a value in [0, 1).
float kp_random_Rnd();
// low + (high - low) * r, with r from one step.
float kp_random_Rnd2(float low, float high);
// r * range, with r from one step.
float kp_random_Rnd3(float range);

// Sets the module's state to its start value, 1234.
void kp_random_Init();
