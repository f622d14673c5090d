// qvtool's entry point.
#include "tools/qvtool/qvtool.h"

#include <iostream>

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return quorvel::CQvTool(std::cout, std::cerr, &std::cin).Run(args);
}
