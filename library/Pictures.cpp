#include "ComponentInfo.h"
#include "PictureTable.h"

#include <algorithm>

extern "C" __attribute__((visibility("default"))) const void*
LoadPictureResource(int id, unsigned int* size) {
    const SPictureEntry* pEnd = g_aPictures + g_nPictures;
    const SPictureEntry* p = std::lower_bound(
        g_aPictures, pEnd, id, [](const SPictureEntry& e, int nId) { return e.nId < nId; });
    if (p == pEnd || p->nId != id) {
        if (size)
            *size = 0;
        return nullptr;
    }
    if (size)
        *size = p->nSize;
    return p->pData;
}
