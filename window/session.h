// The window's behaviour over any toolkit: a front end hands every event in and applies the reply.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "game.h"
#include "keys.h"
#include "messagebox.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zarquel::window {

struct Paint {
    SquareIndex square;
    SquareColor color;
};

enum class BoxKind { Win, Instructions, About };

// Modal, OK only, placed by placeBox once the toolkit knows its size.
struct Box {
    BoxKind kind;
    std::string title;
    std::string text; // lines joined by CR LF
};

// What one event changes, for the front end to apply in this order: squares, time, clock, focus,
// then the box; exit last. `consumed`: a key that was the game's, which the toolkit must not use.
struct Reply {
    std::vector<Paint> paint;
    std::optional<std::string> time;
    std::optional<bool> clock;
    std::optional<Focus> focus;
    std::optional<Box> box;
    bool exit = false;
    bool consumed = false;
};

// A pointer press's time in ms on the toolkit's event clock (X server time, GetMessageTime, a DOM
// event's timeStamp), which may wrap at 32 bits; only differences between two of them count.
using PressTime = std::uint32_t;

class Session final : private BoardView {
public:
    // `doubleClickMs` is the system's. Without sources given, the deal is seeded from the clock.
    explicit Session(Host host, int doubleClickMs = UsualDoubleClickMs, RandomSource* random = nullptr,
                     const TimeOfDay& timeOfDay = systemTimeOfDay());
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Deals before the window first shows, so the all-red design board never appears.
    Reply start();
    // A click on a square; `press` is the pointer press that made it, none for a click by other means.
    // Any number may come in: one that names no square plays nothing, as the rules say.
    Reply click(long long square, std::optional<PressTime> press = std::nullopt);
    Reply key(const KeyPress& press, Focus focus);
    // A menu item chosen, by its id.
    Reply menu(int id);
    // tmrTime's interval: a tick counts only while the clock runs.
    Reply tick();
    // The open box's OK: what waited on it happens now (after a win, the next deal).
    Reply boxClosed();
    // Sets up a position: every square as given (tests and benchmarks).
    Reply arrange(const std::array<SquareColor, SquareCount>& colors);

    // Whether a pointer press on the open box counts: not the rest of the double click that opened it.
    bool boxTakesPress(PressTime press) const;
    // The system's double-click time the guard counts, as the front end read it.
    int doubleClickMs() const { return doubleClickMs_; }

    bool clockRunning() const { return running_; }
    bool boxOpen() const { return boxOpen_; }
    bool ended() const { return ended_; }
    SquareIndex lastPlayed() const { return lastPlayed_; }
    SquareColor color(SquareIndex square) const { return squareColor(square); }
    const Game& game() const { return game_; }

private:
    // The view the rules play on: what they change goes into the reply being made.
    SquareColor squareColor(SquareIndex square) const override;
    void setSquareColor(SquareIndex square, SquareColor color) override;
    // Enabling a running clock leaves its current second alone, or fast clicks would freeze the count.
    void enableClock() override;
    void disableClock() override;
    void setTimeText(const std::string& text) override { current_->time = text; }
    void focusSink() override { current_->focus = Focus::sink(); }
    void showMessage(const std::string& text, const std::string& title) override;

    bool takesInput() const { return !boxOpen_ && !ended_; }
    Reply run(Command command);
    Reply finish();

    Host host_;
    int doubleClickMs_;
    StandardRandomSource ownRandom_;
    Game game_;
    // The design-time board is all red; the first deal repaints every square.
    std::array<SquareColor, SquareCount> colors_ {};
    bool running_ = false;
    SquareIndex lastPlayed_ = 1;
    bool boxOpen_ = false;
    bool ended_ = false;
    std::optional<PressTime> boxPress_; // the pointer press that opened the box
    std::optional<PressTime> press_;    // the press behind the event being handled
    Reply reply_;
    // What the rules do after a box opens waits for its OK.
    Reply afterBox_;
    Reply* current_ = &reply_;
};

} // namespace zarquel::window
