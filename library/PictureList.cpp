#include "PictureList.h"

#include "Catalogue.h"

#include <algorithm>

int PictureStateCount(int nType, int nSubType) {
    if (nType == 1 && nSubType >= 1 && nSubType <= 3)
        return 3; // ranges
    if (nType == 3 && nSubType >= 6 && nSubType <= 9)
        return 3; // off, lit, burnt out
    if (nType == 3 && nSubType >= 10 && nSubType <= 12)
        return 2; // intact/blown, closed/tripped, silent/ringing
    if (nType == 4 && ((nSubType >= 1 && nSubType <= 4) || nSubType == 6 || nSubType == 7 ||
                       nSubType == 9))
        return 2; // open/closed, apart/plugged in
    return 1;
}

int PictureBlockForState(int nType, int nSubType, int nFirstId, int nState) {
    const int r = nState;
    switch (nType * 100 + nSubType) {
    case 101: return 347 - 4 * r;
    case 102: return 4 * (82 - r);
    case 103: return 351 + 2 * r;
    case 306: return 409 + 2 * r;
    case 307: return 437 + 2 * r;
    case 308: return 417 + 2 * r;
    case 309: return 443 + 2 * r;
    case 310: return (r == 0 || r == 1) ? 425 : 427;
    case 311: return (r == 0 || r == 1) ? 429 : 431;
    case 312: return 433 + 2 * r;
    case 401: return 377 + 2 * r;
    case 402: return 381 + 4 * r;
    case 403: return 389 + 2 * r;
    case 404: return 393 + 2 * r;
    case 406: return 398 + 2 * r;
    case 407: return 402 + 2 * r;
    case 409: return 407 + r;
    default: return nFirstId;
    }
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
            const int nBlock = PictureBlockForState(rec.nType, rec.nSubType, rec.nBitmapId,
                                                    (rec.nType == 3 && (rec.nSubType == 10 ||
                                                                        rec.nSubType == 11))
                                                        ? s * 2
                                                        : s);
            for (int k = 0; k < rec.nOrientations; ++k)
                slots.push_back({nBlock + k, rec.nType, rec.nSubType, s, k});
        }
    }
    std::sort(slots.begin(), slots.end(),
              [](const SPictureSlot& a, const SPictureSlot& b) { return a.nId < b.nId; });
    return slots;
}
