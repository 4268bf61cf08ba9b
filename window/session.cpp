// The game behind the window: events in, what to show out; the board as shown, the clock's state, the open box.
#include "session.h"

#include "menus.h"
#include "texts.h"

#include <utility>

namespace zarquel::window {

Session::Session(Host host, int doubleClickMs, RandomSource* random, const TimeOfDay& timeOfDay)
    : host_(host), doubleClickMs_(doubleClickMs), game_(*this, random ? *random : ownRandom_, timeOfDay)
{
    colors_.fill(Red);
}

Reply Session::finish()
{
    current_ = &reply_;
    press_.reset();
    return std::exchange(reply_, Reply {});
}

Reply Session::start()
{
    game_.Deal();
    focusSink();
    return finish();
}

Reply Session::click(long long square, std::optional<PressTime> press)
{
    if (!takesInput())
        return {};
    press_ = press;
    game_.SquareClick(square);
    // Every click starts the clock, so a stopped one means a win dealt a fresh board: the
    // keyboard starts again at the first square.
    if (!running_ || isSquareIndex(square))
        lastPlayed_ = running_ ? static_cast<SquareIndex>(square) : 1;
    return finish();
}

Reply Session::key(const KeyPress& press, Focus focus)
{
    const KeyOutcome outcome = keyOutcome(press, focus, lastPlayed_, host_);
    if (!takesInput()) {
        // The box has the keyboard and the game takes nothing, but a browser must not print or open
        // a window over it either. Escape is the box's own.
        Reply reply;
        reply.consumed = !ended_ && press.code != key::Escape && outcome.command != Command::None;
        return reply;
    }
    Reply reply = outcome.click ? click(outcome.click) : run(outcome.command);
    reply.consumed = outcome.consumed;
    if (outcome.moves && !reply.focus)
        reply.focus = outcome.to;
    return reply;
}

Reply Session::menu(int id)
{
    return takesInput() ? run(commandOf(id)) : Reply {};
}

Reply Session::run(Command command)
{
    switch (command) {
    case Command::None:
        break;
    case Command::Pause:
        game_.PauseClock();
        break;
    case Command::NewGame:
        game_.Deal();
        lastPlayed_ = 1; // a fresh board: Tab starts again at the first square
        break;
    case Command::Exit:
        // A page cannot end its process: there too the clock stops and nothing more is taken.
        disableClock();
        ended_ = true;
        current_->exit = true;
        break;
    case Command::Instructions:
        showMessage(std::string(texts::Instructions), std::string(texts::InstructionsTitle));
        break;
    case Command::About:
        showMessage(std::string(texts::About), std::string(texts::AboutTitle));
        break;
    }
    return finish();
}

Reply Session::tick()
{
    // Ticks still count while an Instructions or About box is open; a win or Exit has stopped the clock.
    if (running_ && !ended_)
        game_.ClockTick();
    return finish();
}

Reply Session::boxClosed()
{
    if (!boxOpen_)
        return {};
    boxOpen_ = false;
    boxPress_.reset();
    return std::exchange(afterBox_, Reply {});
}

Reply Session::arrange(const std::array<SquareColor, SquareCount>& colors)
{
    for (SquareIndex k = 1; k <= SquareCount; ++k)
        setSquareColor(k, colors[static_cast<std::size_t>(k - 1)]);
    return finish();
}

bool Session::boxTakesPress(PressTime press) const
{
    // Counted from the press that opened the box, on the same clock, so a slow machine showing the
    // box late still knows the second press of that double click; a box opened otherwise takes any.
    if (!boxOpen_ || !boxPress_)
        return true;
    const auto after = static_cast<std::int32_t>(press - *boxPress_);
    return after >= doubleClickMs_;
}

SquareColor Session::squareColor(SquareIndex square) const
{
    return colors_.at(static_cast<std::size_t>(square - 1));
}

void Session::setSquareColor(SquareIndex square, SquareColor color)
{
    colors_.at(static_cast<std::size_t>(square - 1)) = color;
    current_->paint.push_back({square, color});
}

void Session::enableClock()
{
    if (!running_)
        current_->clock = true;
    running_ = true;
}

void Session::disableClock()
{
    running_ = false;
    current_->clock = false;
}

void Session::showMessage(const std::string& text, const std::string& title)
{
    const BoxKind kind = title.empty() ? BoxKind::Win : title == texts::AboutTitle ? BoxKind::About
                                                                                   : BoxKind::Instructions;
    current_->box = Box {kind, title.empty() ? std::string(texts::AppTitle) : title, text};
    boxOpen_ = true;
    boxPress_ = press_;
    // The rules go on at once (a win deals the next board); the player sees it after OK.
    current_ = &afterBox_;
}

} // namespace zarquel::window
