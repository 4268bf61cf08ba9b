// The rules of play: clicks, the deal, the win and the elapsed-time clock.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "elapsedclock.h"
#include "texts.h"

#include <cstdint>

namespace zarquel {


// Every handler runs to completion on the window's event thread; the board
// itself lives in the view.
class Game {
public:
    Game(BoardView& view, RandomSource& random, const TimeOfDay& timeOfDay);

    void Deal();
    void SquareClick(long long Index);
    void SwitchColor(long long Square);
    void ClockTick();
    void PauseClock();

    std::int16_t RedCount() const { return redCount_; }
    std::int32_t ElapsedSeconds() const { return clock_.seconds(); }

private:
    BoardView& view_;
    RandomSource& random_;
    const TimeOfDay& timeOfDay_;
    std::int16_t redCount_ = 0;
    ElapsedClock clock_;
};

} // namespace zarquel
