// Build steps, run by node: fillpage TEMPLATE OUTPUT writes zarquel.css with the game's texts in place;
// fillpage TEMPLATE WASM SCRIPT OUTPUT writes index.html, its one script inline with the module inside.
#include "pagemarkup.h"

#include <emscripten.h>

#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// The policy names the inline script by its SHA-256, in base64: node's own, not one written here.
EM_JS(void, sha256Base64, (const char* data, int size, char* out), {
    stringToUTF8(require('crypto').createHash('sha256').update(HEAPU8.subarray(data, data + size)).digest('base64'), out, 45);
});

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
        // Escaped: what ends the literal or a line, NUL, which some tools take for the file's end, and
        // <, so no </script or <!-- in the module can move where the page's script ends.
        if (c == '"' || c == '\\')
            out += {'\\', c};
        else if (c == '\n' || c == '\r' || c == '\0' || c == '<')
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '<' ? "\\x3c" : "\\x00";
        else if (byte < 0x80)
            out += c;
        else // the character of that number, in UTF-8
            out += {char(0xC0 | byte >> 6), char(0x80 | (byte & 0x3F))};
    }
    return out.append("\")};\n").append(script);
}

// Inside <script>, these end the element or change where it ends; the module cannot hold them.
bool breaksOutOfTheElement(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text.find("</script") != text.npos || text.find("<!--") != text.npos;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5) {
        std::cerr << "usage: fillpage TEMPLATE OUTPUT | fillpage TEMPLATE WASM SCRIPT OUTPUT\n";
        return 2;
    }
    bool ok = true;
    const std::string page = contents(argv[1], ok);
    const std::string script = argc == 5 ? moduleScript(contents(argv[2], ok), contents(argv[3], ok)) : "";
    if (breaksOutOfTheElement(script)) {
        std::cerr << "fillpage: " << argv[3] << " holds </script or <!--: the page's script would not end where it should\n";
        return 1;
    }
    char hash[45] = "";
    if (argc == 5)
        sha256Base64(script.data(), int(script.size()), hash);
    const std::string text = zarquel::web::fillPage(page, {script, hash});
    std::ofstream out(argv[argc - 1], std::ios::binary);
    out << text;
    out.close();
    if (!ok || !out) {
        std::cerr << "fillpage: cannot read its input or write " << argv[argc - 1] << "\n";
        return 1;
    }
    return 0;
}
