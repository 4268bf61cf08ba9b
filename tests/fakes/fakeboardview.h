// A board held in memory that records everything the game asks of it.
#pragma once

#include "boardview.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class FakeBoardView final : public zarquel::BoardView {
public:
    struct Message {
        std::string text;
        std::string title;
    };

    // Red, as a freshly built window would be before the first deal.
    std::array<zarquel::SquareColor, zarquel::SquareCount> colors = filled(zarquel::Red);
    bool clockEnabled = false;
    std::string timeText = "0";
    int focusCount = 0;
    std::vector<Message> messages;
    // Every call that changes something, in order: "enable", "disable",
    // "focus", "text 0", "write 7 255", "message ...".
    std::vector<std::string> calls;
    // Runs while a message is "open", to look at the state behind it.
    std::function<void()> whileMessageOpen;

    static std::array<zarquel::SquareColor, zarquel::SquareCount> filled(zarquel::SquareColor color)
    {
        std::array<zarquel::SquareColor, zarquel::SquareCount> all {};
        all.fill(color);
        return all;
    }

    zarquel::SquareColor squareColor(zarquel::SquareIndex square) const override
    {
        return colors.at(static_cast<std::size_t>(square - 1));
    }
    void setSquareColor(zarquel::SquareIndex square, zarquel::SquareColor color) override
    {
        colors.at(static_cast<std::size_t>(square - 1)) = color;
        calls.push_back("write " + std::to_string(square) + " " + std::to_string(color));
    }
    void enableClock() override
    {
        clockEnabled = true;
        calls.push_back("enable");
    }
    void disableClock() override
    {
        clockEnabled = false;
        calls.push_back("disable");
    }
    void setTimeText(const std::string& text) override
    {
        timeText = text;
        calls.push_back("text " + text);
    }
    void focusSink() override
    {
        ++focusCount;
        calls.push_back("focus");
    }
    void showMessage(const std::string& text, const std::string& title) override
    {
        messages.push_back({text, title});
        calls.push_back("message " + text);
        if (whileMessageOpen)
            whileMessageOpen();
    }

    int redSquares() const
    {
        int count = 0;
        for (auto color : colors)
            count += color == zarquel::Red;
        return count;
    }
};
