// Pinned randomness and time of day that remember what they were asked.
#pragma once

#include "chance.h"

#include <cstddef>
#include <vector>

// Plays back a script of values, round and round.
class ScriptedRandom final : public zarquel::RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> script = {0.0f}) : script_(std::move(script)) {}

    std::vector<float> seeds;

    void reseed(float seed) override { seeds.push_back(seed); }
    float next() override { return script_[position_++ % script_.size()]; }

private:
    std::vector<float> script_;
    std::size_t position_ = 0;
};

class FixedTimeOfDay final : public zarquel::TimeOfDay {
public:
    float seconds = 45296.5f; // 12:34:56.5
    float secondsSinceMidnight() const override { return seconds; }
};
