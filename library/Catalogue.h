#pragma once

#include "ComponentInfo.h"

// The catalogue as it lies in the library: 74 records followed at once by their count.
// Exposed to the picture generator and the tests; the workbench uses FindInfo only.
struct SCatalogue {
    tagSComponentInfo aRecords[74];
    int32_t nCount;
};
extern "C" const SCatalogue g_catalogue;

// Terminal position (x, y) of orientation k+1 from that of orientation k: a quarter turn
// counter-clockwise inside the 35 x 35 picture.
constexpr tagSPoint32 TurnQuarterCounterClockwise(tagSPoint32 pt) {
    return tagSPoint32{pt.y, KEST_PICTURE_SIZE - 1 - pt.x};
}
