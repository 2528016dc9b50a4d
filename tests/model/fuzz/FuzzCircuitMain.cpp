#include "CircuitFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    FuzzOneCircuit(pData, nSize);
    return 0;
}
