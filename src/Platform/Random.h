#pragma once

#include <cstdint>

namespace tremlor {

// The random source of the mover and the activator. Ranges are closed: a…b includes both ends.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform real in [a, b]; a when b <= a.
    virtual double uniformReal(double a, double b) = 0;
    // Uniform integer in a…b; a when b <= a.
    virtual std::int64_t uniformInt(std::int64_t a, std::int64_t b) = 0;
    // True with probability p.
    bool chance(double p) { return uniformReal(0.0, 1.0) < p; }
};

class SystemRandom final : public RandomSource {
public:
    double uniformReal(double a, double b) override;
    std::int64_t uniformInt(std::int64_t a, std::int64_t b) override;
    static RandomSource& instance();
};

} // namespace tremlor
