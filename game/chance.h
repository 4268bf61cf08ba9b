// Where a deal gets its randomness and its seed, so tests can pin both.
#pragma once

#include <random>

namespace zarquel {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed(float seed) = 0;
    // Uniform in [0, 1).
    virtual float next() = 0;
};

class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    virtual float secondsSinceMidnight() const = 0;
};

// Mersenne Twister, seeded from every bit of the given value.
class StandardRandomSource final : public RandomSource {
public:
    void reseed(float seed) override;
    float next() override;

private:
    std::mt19937 engine_;
};

// Local wall-clock time.
class SystemTimeOfDay final : public TimeOfDay {
public:
    float secondsSinceMidnight() const override;
};

// The one the program asks, where nothing else is given: only a program that names it links the C library's clock.
const TimeOfDay& systemTimeOfDay();

} // namespace zarquel
