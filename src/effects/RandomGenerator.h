// The process-wide pseudo-random generator that the noise effects draw from.
#pragma once

#include <cstdint>

// A linear congruential generator with a 32-bit seed. The program uses one instance for the whole
// process (ProcessRandom); tests can make their own to check draws from a known seed.
class TRandomGenerator {
public:
    explicit TRandomGenerator(std::uint32_t seed = 0) : SeedValue(seed) {}

    // Advances the seed and returns a value in 0..n-1 (0 for n = 0, which still advances).
    std::uint32_t Draw(std::uint32_t n) {
        SeedValue = SeedValue * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(SeedValue) * n) >> 32);
    }

    std::uint32_t Seed() const { return SeedValue; }
    void SetSeed(std::uint32_t seed) { SeedValue = seed; }

private:
    std::uint32_t SeedValue;
};

// The one generator of the process: seed 0 at start, never reseeded by the program.
TRandomGenerator& ProcessRandom();
