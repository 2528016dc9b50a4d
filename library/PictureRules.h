#pragma once

// First picture id of the block that shows a kind in state (or range) s. Kinds without
// states keep their first picture. Shared by the library's generator and the workbench.
inline int PictureBlockForState(int nType, int nSubType, int nFirstId, int s) {
    switch (nType * 100 + nSubType) {
    case 101:
        return 347 - 4 * s;
    case 102:
        return 4 * (82 - s);
    case 103:
        return 351 + 2 * s;
    case 306:
        return 409 + 2 * s;
    case 307:
        return 437 + 2 * s;
    case 308:
        return 417 + 2 * s;
    case 309:
        return 443 + 2 * s;
    case 310:
        return (s == 0 || s == 1) ? 425 : 427;
    case 311:
        return (s == 0 || s == 1) ? 429 : 431;
    case 312:
        return 433 + 2 * s;
    case 401:
        return 377 + 2 * s;
    case 402:
        return 381 + 4 * s;
    case 403:
        return 389 + 2 * s;
    case 404:
        return 393 + 2 * s;
    case 406:
        return 398 + 2 * s;
    case 407:
        return 402 + 2 * s;
    case 409:
        return 407 + s;
    default:
        return nFirstId;
    }
}
