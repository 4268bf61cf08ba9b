// Plays a fixed script on the game core and prints every call it makes, so two builds can be compared line by line.
#include "chance.h"
#include "elapsedclock.h"
#include "fakeboardview.h"
#include "fakechance.h"
#include "game.h"

#include <cstdio>

using namespace zarquel;

int main()
{
    FakeBoardView view;
    StandardRandomSource random;
    FixedTimeOfDay timeOfDay;
    Game game(view, random, timeOfDay);
    // Seeds across the day, fractions included: the deal must not depend on the platform's float or ABI.
    for (const float seconds : {0.0f, 0.5f, 1.0f, 45296.5f, 86399.99f}) {
        timeOfDay.seconds = seconds;
        game.Deal();
        for (int square = 0; square <= SquareCount + 1; ++square)
            game.SquareClick(square);
        game.ClockTick();
        game.PauseClock();
        game.SwitchColor(65536 + 7); // must not wrap onto square 7
    }
    // A win: all red but the plus around square 13.
    game.Deal();
    for (int square = 1; square <= SquareCount; ++square)
        view.setSquareColor(static_cast<SquareIndex>(square), Red);
    for (const SquareIndex square : {8, 12, 13, 14, 18})
        view.setSquareColor(square, Green);
    game.SquareClick(13);

    for (const std::string& call : view.calls)
        std::printf("%s\n", call.c_str());
    std::printf("red %d, seconds %d\n", int(game.RedCount()), int(game.ElapsedSeconds()));

    ElapsedClock top(ElapsedClock::Top - 1);
    const bool rose = top.tick(), stuck = !top.tick();
    std::printf("clock top %s %d %d\n", top.text().c_str(), int(rose), int(stuck));
    const float now = SystemTimeOfDay().secondsSinceMidnight();
    std::printf("time of day in range %d\n", int(now >= 0.0f && now < 86401.0f));
    return 0;
}
