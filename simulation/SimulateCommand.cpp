#include "SimulateCommand.h"

#include <cstdio>

int RunSimulateCommand(int /*argc*/, char** /*argv*/) {
    std::fprintf(stderr, "kest --simulate is not available yet\n");
    return 2;
}
