// The program's pseudo-random generator: values 0..32767, seeded once at start-up with the
// time and by tests with a fixed seed, so that problem draws can be replayed.
#pragma once

#include <cstdint>

namespace quorvel {

inline constexpr int kRandMax = 32767;

void SeedRandom(std::uint32_t seed);
// The next value in 0..kRandMax.
int Rand();

} // namespace quorvel
