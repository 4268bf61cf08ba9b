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

// `script` (emscripten's output) preceded by the module `wasm` it loads, as a string of one character per
// byte: a fifth smaller gzipped than base64, and compiled at once, so the board is dealt in the same task.
std::string moduleScript(std::string_view wasm, std::string_view script)
{
    // V8's compile hint: every function compiled with the script, not again on its first call.
    std::string out = "//# allFunctionsCalledOnLoad\nvar Module={wasmBinary:function(s){for(var b=new Uint8Array(s.length),i=0;i<s.length;i++)"
                      "b[i]=s.charCodeAt(i);return b}(\"";
    for (const char c : wasm) {
        const auto byte = static_cast<unsigned char>(c);
        // Escaped: what ends the literal or a line, and NUL, which some tools take for the file's end.
        if (c == '"' || c == '\\')
            out += {'\\', c};
        else if (c == '\n' || c == '\r' || c == '\0')
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\x00";
        else if (byte < 0x80)
            out += c;
        else // the character of that number, in UTF-8
            out += {char(0xC0 | byte >> 6), char(0x80 | (byte & 0x3F))};
    }
    return out.append("\")};\n").append(script);
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
    const std::string text = module ? moduleScript(contents(argv[2], ok), contents(argv[3], ok))
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
