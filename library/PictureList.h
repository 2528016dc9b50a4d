#pragma once

#include "PictureRules.h"

#include <vector>

// One picture the library holds: which kind, state block and orientation it shows.
struct SPictureSlot {
    int nId;
    int nType;
    int nSubType;
    int nState;       // range or state value whose block holds the picture; 0 for stateless kinds
    int nOrientation; // 0..nOrientations-1; picture k+1 is picture k turned a quarter
                      // counter-clockwise
};

// Number of state blocks a kind's pictures come in (1 for kinds without states).
int PictureStateCount(int nType, int nSubType);

// Every picture of the library, ordered by id.
std::vector<SPictureSlot> EnumeratePictures();
