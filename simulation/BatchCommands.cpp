#include "BatchCommands.h"

#include <cstring>

int RunBatchCommand(int argc, char** argv, bool* pbHandled) {
    *pbHandled = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--netlist") == 0 || std::strcmp(argv[i], "--simulate") == 0) {
            *pbHandled = true;
            return 2;
        }
    }
    return 0;
}
