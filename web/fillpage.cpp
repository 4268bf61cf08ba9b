// Build step: fillpage TEMPLATE OUTPUT writes index.html with the game's texts in place (run by node).
#include "pagemarkup.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: fillpage TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream page;
    page << in.rdbuf();
    std::ofstream out(argv[2], std::ios::binary);
    out << zarquel::web::fillPage(page.str());
    out.close();
    if (!in || !out) {
        std::cerr << "fillpage: cannot read " << argv[1] << " or write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
