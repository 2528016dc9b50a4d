#include "FuzzBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    return FuzzSetupScript(pData, nSize);
}
