#pragma once

// The catalogue record of one component kind, as libkest.so exports it. The layout is
// fixed: 73 little-endian 32-bit words, 292 bytes, no gaps.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { KEST_MAX_TERMINALS = 7, KEST_MAX_ORIENTATIONS = 4, KEST_PICTURE_SIZE = 35 };

typedef struct tagSPoint32 {
    int32_t x;
    int32_t y;
} tagSPoint32;

typedef struct tagSComponentInfo {
    int32_t nType;
    int32_t nSubType;
    int32_t nOrientations;
    int32_t nBitmapId;
    char szName[16];
    char szLabel[16];
    int32_t nTerminals;
    float fValue[4];
    tagSPoint32 ptTerminal[KEST_MAX_ORIENTATIONS][KEST_MAX_TERMINALS];
} tagSComponentInfo;

// Looks a kind up by (type, subtype); the first matching record, or null.
const tagSComponentInfo* FindInfo(int nType, int nSubType);

// A complete BMP file image of picture `id` in the library's static data, or null when the
// library holds no picture of that id. `size` receives the image's length in bytes.
const void* LoadPictureResource(int id, unsigned int* size);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(tagSComponentInfo) == 292, "catalogue records are 292 bytes");
#endif
