// Reads the command line: --help, --version, and Qt's own options left for Qt.
#include "commandline.h"

#include "menus.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

namespace commandline {

namespace {

// Qt reads these itself; listed so they are not taken for mistakes.
constexpr std::array QtOptionsWithValue {
    std::string_view("platform"), std::string_view("platformpluginpath"), std::string_view("platformtheme"),
    std::string_view("plugin"), std::string_view("qwindowgeometry"), std::string_view("geometry"),
    std::string_view("qwindowtitle"), std::string_view("title"), std::string_view("qwindowicon"),
    std::string_view("icon"), std::string_view("display"), std::string_view("name"),
    std::string_view("style"), std::string_view("stylesheet"), std::string_view("session"),
    std::string_view("visual"),
};
constexpr std::array QtFlags {
    std::string_view("reverse"), std::string_view("widgetcount"), std::string_view("nograb"),
    std::string_view("dograb"), std::string_view("sync"),
};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

constexpr const char* Usage =
    "Usage: zarquel\n"
    "Turn every square of a five by five board red; clicking a square switches it\n"
    "and its neighbours above, below, left and right.  The game takes no options\n"
    "besides --help and --version.\n"
    "\n"
    "Keys:\n";

Request only(Request::Kind kind, std::string unknown = {})
{
    Request request;
    request.kind = kind;
    request.unknown = std::move(unknown);
    return request;
}

} // namespace

Request parse(const std::vector<std::string>& arguments)
{
    Request request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h")
            return only(Request::Help);
        if (argument == "--version" || argument == "-v")
            return only(Request::Version);
        // Qt takes its options with one dash or two, and a value after a space or '='.
        std::string_view name(argument);
        if (name.size() < 2 || name[0] != '-')
            return only(Request::Unknown, argument);
        name.remove_prefix(name.substr(0, 2) == "--" ? 2 : 1);
        std::string value;
        const bool hasValue = name.find('=') != std::string_view::npos;
        if (hasValue) {
            value = std::string(name.substr(name.find('=') + 1));
            name = name.substr(0, name.find('='));
        }
        if (listed(QtOptionsWithValue, name)) {
            if (!hasValue) {
                if (i + 1 >= arguments.size())
                    return only(Request::Unknown, argument);
                value = arguments[++i];
            }
            if (name == "platform")
                request.platform = value;
            else if (name == "display")
                request.display = value;
        } else if (!listed(QtFlags, name) || hasValue) {
            return only(Request::Unknown, argument);
        }
    }
    return request;
}

Request parse(int argc, char* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return parse(arguments);
}

int answer(const Request& request)
{
    switch (request.kind) {
    case Request::Help:
        std::fputs(Usage, stdout);
        std::fputs(zarquel::window::keysHelp().c_str(), stdout);
        return 0;
    case Request::Version:
        std::puts("zarquel " ZARQUEL_VERSION);
        return 0;
    case Request::Unknown:
        std::fprintf(stderr, "zarquel: unknown option '%s'; the game takes no options (zarquel --help)\n",
                     request.unknown.c_str());
        return 2;
    case Request::Play:
        break;
    }
    return 0;
}

} // namespace commandline
