// Build steps, run by node: fillpage TEMPLATE OUTPUT writes index.html or zarquel.css with the game's
// texts in place; fillpage --module WASM SCRIPT OUTPUT writes the page's one script, the module inside.
#include "pagemarkup.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string contents(const char* path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ok = ok && in;
    return text.str();
}

} // namespace

int main(int argc, char** argv)
{
    const bool module = argc == 5 && std::string_view(argv[1]) == "--module";
    if (argc != 3 && !module) {
        std::cerr << "usage: fillpage TEMPLATE OUTPUT | fillpage --module WASM SCRIPT OUTPUT\n";
        return 2;
    }
    bool ok = true;
    const std::string text = module ? zarquel::web::moduleScript(contents(argv[2], ok), contents(argv[3], ok))
                                    : zarquel::web::fillPage(contents(argv[1], ok));
    std::ofstream out(argv[argc - 1], std::ios::binary);
    out << text;
    out.close();
    if (!ok || !out) {
        std::cerr << "fillpage: cannot read its input or write " << argv[argc - 1] << "\n";
        return 1;
    }
    return 0;
}
