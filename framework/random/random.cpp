// The random module's state and draws. Depends on nothing.
#include "framework/random/random.h"

int32_t kp_random_Seed = 0;

float kp_random_Rnd() {
    kp_random_Seed = kp_random_Step(kp_random_Seed);
    return kp_random_Value(kp_random_Seed);
}

float kp_random_Rnd2(float low, float high) { return low + (high - low) * kp_random_Rnd(); }

float kp_random_Rnd3(float range) { return kp_random_Rnd() * range; }

void kp_random_Init() { kp_random_Seed = 1234; }
