#include "Catalogue.h"

#include <initializer_list>

namespace {

struct SRow {
    int32_t nType, nSubType, nOrientations, nBitmapId, nTerminals;
    tagSPoint32 aTerminals[KEST_MAX_TERMINALS];
    float fValue[3];
};

constexpr tagSPoint32 L{0, 17};
constexpr tagSPoint32 R{34, 17};
constexpr tagSPoint32 kTransformer[] = {{0, 6}, {0, 28}, {34, 6}, {34, 28}};
constexpr tagSPoint32 kBipolar[] = {{0, 17}, {23, 0}, {23, 34}};
constexpr tagSPoint32 kMosfet[] = {{0, 19}, {23, 0}, {23, 34}};

// clang-format off
constexpr SRow kRows[74] = {
    {1, 1, 4, 339, 2, {L, R}, {0.1f}},
    {1, 2, 4, 320, 2, {L, R}, {0.1f}},
    {1, 3, 2, 351, 2, {L, R}, {0.1f}},
    {1, 4, 4, 149, 2, {L, R}, {0.1f}},
    {1, 5, 1, 153, 4, {{0, 9}, {0, 25}, {34, 9}, {34, 25}}, {}},
    {2, 1, 4, 154, 2, {L, R}, {3.0f}},
    {2, 2, 4, 158, 1, {{17, 34}}, {5.0f}},
    {2, 3, 2, 162, 2, {L, R}, {220.0f, 50.0f}},
    {3, 1, 2, 164, 2, {L, R}, {1.0f}},
    {3, 2, 2, 166, 2, {L, R}, {10.0f}},
    {3, 3, 2, 168, 2, {L, R}, {5.0f}},
    {3, 4, 2, 170, 2, {L, R}, {20.0f}},
    {3, 5, 4, 172, 3, {L, R, {17, 0}}, {10.0f}},
    {3, 6, 2, 409, 2, {L, R}, {15.0f, 220.0f}},
    {3, 7, 2, 437, 2, {L, R}, {5.0f, 5.0f}},
    {3, 8, 2, 417, 2, {L, R}, {1.8f, 6.0f}},
    {3, 9, 2, 443, 2, {L, R}, {40.0f, 220.0f}},
    {3, 10, 2, 425, 2, {L, R}, {0.0001f, 0.00003f}},
    {3, 11, 2, 429, 2, {L, R}, {0.0001f, 0.00003f}},
    {3, 12, 2, 433, 2, {{0, 22}, {34, 22}}, {10.0f}},
    {3, 13, 2, 190, 2, {L, R}, {30.0f}},
    {3, 14, 2, 452, 2, {{12, 0}, {12, 34}}, {8.0f}},
    {3, 15, 1, 193, 2, {{0, 22}, {34, 22}}, {5.0f}},
    {3, 16, 2, 194, 2, {{12, 34}, {12, 0}}, {8.0f}},
    {4, 1, 2, 377, 2, {L, R}, {}},
    {4, 2, 4, 381, 3, {L, {34, 10}, {34, 24}}, {}},
    {4, 3, 2, 389, 4, {{0, 9}, {0, 25}, {34, 9}, {34, 25}}, {}},
    {4, 4, 2, 393, 6, {{0, 9}, {0, 25}, {34, 9}, {34, 25}, {17, 0}, {17, 34}}, {}},
    {4, 5, 1, 397, 2, {L, R}, {}},
    {4, 6, 2, 398, 2, {L, R}, {}},
    {4, 7, 2, 402, 2, {L, R}, {}},
    {4, 8, 1, 406, 7, {L, {9, 11}, {14, 8}, {20, 8}, {25, 11}, R, {17, 34}}, {}},
    {4, 9, 1, 407, 2, {L, R}, {}},
    {4, 10, 4, 206, 3, {L, R, {17, 0}}, {}},
    {4, 11, 4, 210, 3, {L, {34, 9}, {34, 25}}, {}},
    {4, 12, 1, 214, 4, {L, {17, 0}, R, {17, 34}}, {}},
    {4, 13, 1, 205, 1, {{17, 0}}, {}},
    {5, 1, 4, 357, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.2f}},
    {5, 2, 4, 361, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.2f}},
    {5, 3, 4, 365, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.2f}},
    {5, 4, 4, 369, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.6f}},
    {5, 5, 4, 373, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.6f}},
    {5, 6, 4, 215, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.6f}},
    {5, 7, 4, 219, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.9f}},
    {5, 8, 4, 223, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.9f}},
    {5, 9, 4, 227, 4, {kTransformer[0], kTransformer[1], kTransformer[2], kTransformer[3]}, {50.0f, 50.0f, 0.9f}},
    {6, 1, 4, 233, 3, {kBipolar[0], kBipolar[1], kBipolar[2]}, {20.0f, 0.1f}},
    {6, 2, 4, 237, 3, {kBipolar[0], kBipolar[1], kBipolar[2]}, {20.0f, 0.1f}},
    {6, 3, 4, 241, 3, {kBipolar[0], kBipolar[1], kBipolar[2]}, {40.0f, 0.1f}},
    {6, 4, 4, 245, 3, {kBipolar[0], kBipolar[1], kBipolar[2]}, {40.0f, 0.1f}},
    {6, 5, 4, 249, 3, {kMosfet[0], kMosfet[1], kMosfet[2]}, {60.0f, 0.1f}},
    {6, 6, 4, 253, 3, {kMosfet[0], kMosfet[1], kMosfet[2]}, {60.0f, 0.1f}},
    {6, 7, 4, 257, 3, {kMosfet[0], kMosfet[1], kMosfet[2]}, {80.0f, 0.1f}},
    {6, 8, 4, 261, 3, {kMosfet[0], kMosfet[1], kMosfet[2]}, {80.0f, 0.1f}},
    {7, 1, 2, 265, 2, {L, R}, {0.5f}},
    {7, 2, 4, 267, 2, {L, R}, {10.0f}},
    {7, 3, 2, 271, 2, {L, R}, {8.0f}},
    {7, 4, 2, 273, 2, {L, R}, {0.05f}},
    {7, 5, 2, 275, 2, {L, R}, {0.1f}},
    {7, 6, 2, 277, 2, {L, R}, {1.0f}},
    {8, 1, 4, 279, 2, {L, R}, {}},
    {8, 2, 4, 283, 2, {L, R}, {}},
    {8, 3, 4, 287, 2, {L, R}, {}},
    {8, 4, 4, 291, 2, {L, R}, {}},
    {8, 5, 4, 295, 2, {L, R}, {4.0f}},
    {9, 1, 2, 299, 2, {L, R}, {20.0f}},
    {9, 2, 2, 301, 2, {L, R}, {100.0f}},
    {9, 3, 2, 303, 2, {L, R}, {50.0f}},
    {9, 4, 2, 305, 2, {L, R}, {0.08f}},
    {10, 1, 2, 307, 2, {L, R}, {1.0f, 100.0f}},
    {10, 2, 2, 309, 2, {L, R}, {1.0f, 100.0f}},
    {10, 3, 2, 311, 2, {L, R}, {1.0f, 100.0f}},
    {10, 4, 1, 313, 1, {{17, 34}}, {0.1f, 1.0f, 100.0f}},
    {11, 1, 4, 314, 3, {{0, 12}, {0, 22}, R}, {}},
};
// clang-format on

// All orientations are stored explicitly; entries beyond the kind's terminals or
// orientations stay zero.
constexpr tagSComponentInfo MakeRecord(const SRow& row) {
    tagSComponentInfo rec{};
    rec.nType = row.nType;
    rec.nSubType = row.nSubType;
    rec.nOrientations = row.nOrientations;
    rec.nBitmapId = row.nBitmapId;
    rec.nTerminals = row.nTerminals;
    for (int i = 0; i < 3; ++i)
        rec.fValue[i] = row.fValue[i];
    for (int t = 0; t < row.nTerminals; ++t) {
        tagSPoint32 pt = row.aTerminals[t];
        for (int k = 0; k < row.nOrientations; ++k) {
            rec.ptTerminal[k][t] = pt;
            pt = TurnQuarterCounterClockwise(pt);
        }
    }
    return rec;
}

constexpr SCatalogue MakeCatalogue() {
    SCatalogue cat{};
    for (int i = 0; i < 74; ++i)
        cat.aRecords[i] = MakeRecord(kRows[i]);
    cat.nCount = 74;
    return cat;
}

} // namespace

extern "C" {

const SCatalogue g_catalogue = MakeCatalogue();

__attribute__((visibility("default"))) const tagSComponentInfo* FindInfo(int nType, int nSubType) {
    for (int32_t i = 0; i < g_catalogue.nCount; ++i) {
        const tagSComponentInfo& rec = g_catalogue.aRecords[i];
        if (rec.nType == nType && rec.nSubType == nSubType)
            return &rec;
    }
    return nullptr;
}
}
