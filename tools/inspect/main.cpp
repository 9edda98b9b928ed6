// pindle-inspect: dumps and validates the show's content files. See inspect.h or --help.
#include <iostream>

#include "inspect.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunInspect(args, std::cout, std::cerr);
}
