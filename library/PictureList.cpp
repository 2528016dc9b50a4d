#include "PictureList.h"

#include "Catalogue.h"
#include "PictureRules.h"

#include <algorithm>

int PictureStateCount(int nType, int nSubType) {
    if (nType == 1 && nSubType >= 1 && nSubType <= 3)
        return 3; // ranges
    if (nType == 3 && nSubType >= 6 && nSubType <= 9)
        return 3; // off, lit, burnt out
    if (nType == 3 && nSubType >= 10 && nSubType <= 12)
        return 2; // intact/blown, closed/tripped, silent/ringing
    if (nType == 4 &&
        ((nSubType >= 1 && nSubType <= 4) || nSubType == 6 || nSubType == 7 || nSubType == 9))
        return 2; // open/closed, apart/plugged in
    return 1;
}

std::vector<SPictureSlot> EnumeratePictures() {
    std::vector<SPictureSlot> slots;
    for (int i = 0; i < g_catalogue.nCount; ++i) {
        const tagSComponentInfo& rec = g_catalogue.aRecords[i];
        if (rec.nType == 4 && (rec.nSubType == 5 || rec.nSubType == 8))
            continue; // records without pictures
        const int nStates = PictureStateCount(rec.nType, rec.nSubType);
        for (int s = 0; s < nStates; ++s) {
            // The fuse and breaker share their intact block between states 0 and 1.
            const int nBlock = PictureBlockForState(
                rec.nType, rec.nSubType, rec.nBitmapId,
                (rec.nType == 3 && (rec.nSubType == 10 || rec.nSubType == 11)) ? s * 2 : s);
            for (int k = 0; k < rec.nOrientations; ++k)
                slots.push_back({nBlock + k, rec.nType, rec.nSubType, s, k});
        }
    }
    std::sort(slots.begin(), slots.end(),
              [](const SPictureSlot& a, const SPictureSlot& b) { return a.nId < b.nId; });
    return slots;
}
