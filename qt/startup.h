// What the program checks and declares before its window exists.
#pragma once

#include <string>

namespace commandline {
struct Request;
}

namespace startup {

// Where Qt was told to open its window, and what it found.
struct DisplayFacts {
    std::string platform;       // chosen by -platform or QT_QPA_PLATFORM; empty for the desktop's own
    std::string platformSource; // "-platform" or "QT_QPA_PLATFORM"
    bool hasX = false;          // DISPLAY (or -display) set and not empty
    std::string x;
    bool hasWayland = false;    // WAYLAND_DISPLAY set and not empty
    std::string wayland;
    bool waylandSupport = true; // Qt's Wayland plugin is installed
};

// The one line the player reads when no window can be opened.
std::string noDisplayLine(const DisplayFacts& facts);

// Until displayOpened(), a failure to open the display ends the program with
// that line and status 1, and the toolkit's own start-up chatter is held back.
void watchForNoDisplay(const commandline::Request& request);
void displayOpened();

void describeApplication();

} // namespace startup
