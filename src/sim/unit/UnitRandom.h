#pragma once
// A small seeded generator (SplitMix64) so that injected failures and engine noise repeat
// exactly for the same seed on every platform.

#include <cstdint>

namespace kestrin {

class UnitRandom {
public:
    explicit UnitRandom(std::uint64_t seed = 1) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Fraction() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform integer in [-span, span].
    int Jitter(int span) {
        if (span <= 0) return 0;
        return static_cast<int>(Next() % static_cast<std::uint64_t>(2 * span + 1)) - span;
    }

private:
    std::uint64_t state_;
};

}  // namespace kestrin
