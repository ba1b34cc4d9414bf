#include <iostream>
#include <string>
#include <vector>

#include "tools/table/TableTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = tabletool::RunTableTool(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
