// The handlers behind the board, the deal and the clock.
#include "game.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace zarquel {

namespace {

// A float exactly, NaN and infinities too, without the weight of printf's float formatting.
std::string bitsOf(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::string hex = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        hex += "0123456789abcdef"[(bits >> shift) & 0xF];
    return hex;
}

} // namespace

Game::Game(BoardView& view, RandomSource& random, const TimeOfDay& timeOfDay)
    : view_(view), random_(random), timeOfDay_(timeOfDay)
{
}

void Game::Deal()
{
    random_.reseed(timeOfDay_.secondsSinceMidnight());
    // Stop the clock before anything the player can see changes, so no tick
    // of the old game lands on the new board.
    view_.disableClock();
    clock_.reset();
    view_.setTimeText(clock_.text());
    redCount_ = 0;

    int cursor = 0;
    for (int pass = 0; pass < SquareCount; ++pass) {
        const float r = random_.next();
        if (!(r >= 0.0f && r < 1.0f))
            throw std::logic_error("random value outside [0, 1), float bits " + bitsOf(r));
        const float pick = std::floor(r * 2.0f) + 1.0f;
        ++cursor;
        const auto square = static_cast<SquareIndex>(cursor);
        if (pick == 1.0f)
            view_.setSquareColor(square, Red);
        if (pick == 2.0f)
            view_.setSquareColor(square, Green);
    }
}

void Game::SquareClick(long long Index)
{
    // Every click (re)starts the clock: that is how a paused game resumes.
    view_.enableClock();
    view_.focusSink();

    if (isSquareIndex(Index)) {
        for (const SquareIndex square : ToggleTable[static_cast<std::size_t>(Index - 1)])
            SwitchColor(square);
    }

    redCount_ = 0;
    for (SquareIndex k = 1; k <= SquareCount; ++k) {
        if (view_.squareColor(k) == Red)
            ++redCount_;
    }

    if (redCount_ == SquareCount) {
        // Stopped first, so no tick lands while the message is open.
        view_.disableClock();
        view_.showMessage(std::string(texts::WinMessage), std::string());
        Deal();
    }
}

void Game::SwitchColor(long long Square)
{
    // Range-checked on the full value: a large number must not wrap onto a
    // real square.
    if (!isSquareIndex(Square))
        return;
    const auto square = static_cast<SquareIndex>(Square);
    // Only exact red turns green; any other colour, a stray one too, turns red.
    view_.setSquareColor(square, view_.squareColor(square) == Red ? Green : Red);
}

void Game::ClockTick()
{
    if (clock_.tick())
        view_.setTimeText(clock_.text());
}

void Game::PauseClock()
{
    view_.disableClock();
}

} // namespace zarquel
