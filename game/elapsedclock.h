// The count of seconds spent on the current board, and how it reads on screen.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace zarquel {

class ElapsedClock {
public:
    static constexpr std::int32_t Top = std::numeric_limits<std::int32_t>::max();

    explicit ElapsedClock(std::int32_t seconds = 0) : seconds_(seconds) {}

    // False once the count has reached the top: it stays there rather than
    // wrapping negative or ending the game.
    bool tick();
    void reset() { seconds_ = 0; }
    std::int32_t seconds() const { return seconds_; }
    // Plain digits, never minutes or hours: "59", "60", "3600".
    std::string text() const { return std::to_string(seconds_); }

private:
    std::int32_t seconds_;
};

} // namespace zarquel
