// What the command line asks for: play, a help or version line, or an option the game doesn't know.
#pragma once

#include <string>
#include <vector>

namespace commandline {

struct Request {
    enum Kind { Play, Help, Version, Unknown };
    Kind kind = Play;
    std::string unknown;  // the first argument not understood
    std::string platform; // -platform, which Qt itself reads too
    std::string display;  // -display, likewise
};

// Qt's own options (-platform xcb, -display :1, -style=fusion...) pass through to Qt.
Request parse(const std::vector<std::string>& arguments);
Request parse(int argc, char* argv[]);

// Prints what was asked for and gives the exit status: 0, or 2 for an unknown option.
int answer(const Request& request);

} // namespace commandline
