#include "Catalogue.h"
#include "PictureList.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <set>

TEST(Catalogue, RecordLayoutIs73Words) {
    EXPECT_EQ(sizeof(tagSComponentInfo), 292u);
    EXPECT_EQ(offsetof(tagSComponentInfo, szName), 16u);
    EXPECT_EQ(offsetof(tagSComponentInfo, szLabel), 32u);
    EXPECT_EQ(offsetof(tagSComponentInfo, nTerminals), 48u);
    EXPECT_EQ(offsetof(tagSComponentInfo, fValue), 52u);
    EXPECT_EQ(offsetof(tagSComponentInfo, ptTerminal), 68u);
    // The count follows the 74 records at once.
    EXPECT_EQ(offsetof(SCatalogue, nCount), 74u * 292u);
    EXPECT_EQ(g_catalogue.nCount, 74);
}

TEST(Catalogue, FindInfoReturnsFirstAndLastAndNullForUnknownKinds) {
    EXPECT_EQ(FindInfo(1, 1), &g_catalogue.aRecords[0]);
    EXPECT_EQ(FindInfo(11, 1), &g_catalogue.aRecords[73]);
    for (auto [t, s] : {std::pair{12, 1}, {0, 0}, {4, 14}, {1, 0}, {-1, 1}, {11, 2}})
        EXPECT_EQ(FindInfo(t, s), nullptr) << t << "," << s;
}

TEST(Catalogue, RecordsAreOrderedAndUnique) {
    for (int i = 1; i < 74; ++i) {
        const auto& a = g_catalogue.aRecords[i - 1];
        const auto& b = g_catalogue.aRecords[i];
        EXPECT_TRUE(a.nType < b.nType || (a.nType == b.nType && a.nSubType + 1 == b.nSubType))
            << i;
        EXPECT_EQ(FindInfo(b.nType, b.nSubType), &b);
    }
}

// A few whole records word for word, so that a wrong id, count, default or position shows.
struct SExpected {
    int nType, nSubType, nOrientations, nBitmapId, nTerminals;
    float f0, f1, f2;
    std::vector<std::pair<int, int>> terminals0;
};

TEST(Catalogue, SelectedRecordsMatchTheTable) {
    const std::vector<SExpected> rows = {
        {1, 1, 4, 339, 2, 0.1f, 0, 0, {{0, 17}, {34, 17}}},
        {1, 2, 4, 320, 2, 0.1f, 0, 0, {{0, 17}, {34, 17}}},
        {1, 3, 2, 351, 2, 0.1f, 0, 0, {{0, 17}, {34, 17}}},
        {1, 5, 1, 153, 4, 0, 0, 0, {{0, 9}, {0, 25}, {34, 9}, {34, 25}}},
        {2, 2, 4, 158, 1, 5, 0, 0, {{17, 34}}},
        {2, 3, 2, 162, 2, 220, 50, 0, {{0, 17}, {34, 17}}},
        {3, 5, 4, 172, 3, 10, 0, 0, {{0, 17}, {34, 17}, {17, 0}}},
        {3, 8, 2, 417, 2, 1.8f, 6, 0, {{0, 17}, {34, 17}}},
        {3, 10, 2, 425, 2, 0.0001f, 0.00003f, 0, {{0, 17}, {34, 17}}},
        {3, 12, 2, 433, 2, 10, 0, 0, {{0, 22}, {34, 22}}},
        {3, 14, 2, 452, 2, 8, 0, 0, {{12, 0}, {12, 34}}},
        {3, 16, 2, 194, 2, 8, 0, 0, {{12, 34}, {12, 0}}},
        {4, 2, 4, 381, 3, 0, 0, 0, {{0, 17}, {34, 10}, {34, 24}}},
        {4, 4, 2, 393, 6, 0, 0, 0, {{0, 9}, {0, 25}, {34, 9}, {34, 25}, {17, 0}, {17, 34}}},
        {4, 8, 1, 406, 7, 0, 0, 0,
         {{0, 17}, {9, 11}, {14, 8}, {20, 8}, {25, 11}, {34, 17}, {17, 34}}},
        {4, 13, 1, 205, 1, 0, 0, 0, {{17, 0}}},
        {5, 6, 4, 215, 4, 50, 50, 0.6f, {{0, 6}, {0, 28}, {34, 6}, {34, 28}}},
        {5, 9, 4, 227, 4, 50, 50, 0.9f, {{0, 6}, {0, 28}, {34, 6}, {34, 28}}},
        {6, 5, 4, 249, 3, 60, 0.1f, 0, {{0, 19}, {23, 0}, {23, 34}}},
        {9, 4, 2, 305, 2, 0.08f, 0, 0, {{0, 17}, {34, 17}}},
        {10, 4, 1, 313, 1, 0.1f, 1, 100, {{17, 34}}},
        {11, 1, 4, 314, 3, 0, 0, 0, {{0, 12}, {0, 22}, {34, 17}}},
    };
    for (const auto& e : rows) {
        const tagSComponentInfo* r = FindInfo(e.nType, e.nSubType);
        ASSERT_NE(r, nullptr);
        SCOPED_TRACE(testing::Message() << e.nType << "," << e.nSubType);
        EXPECT_EQ(r->nOrientations, e.nOrientations);
        EXPECT_EQ(r->nBitmapId, e.nBitmapId);
        EXPECT_EQ(r->nTerminals, e.nTerminals);
        EXPECT_EQ(r->fValue[0], e.f0);
        EXPECT_EQ(r->fValue[1], e.f1);
        EXPECT_EQ(r->fValue[2], e.f2);
        EXPECT_EQ(r->fValue[3], 0.0f);
        for (size_t t = 0; t < e.terminals0.size(); ++t) {
            EXPECT_EQ(r->ptTerminal[0][t].x, e.terminals0[t].first);
            EXPECT_EQ(r->ptTerminal[0][t].y, e.terminals0[t].second);
        }
    }
}

TEST(Catalogue, EveryRecordFollowsTheQuarterTurnRuleAndLeavesUnusedSlotsZero) {
    for (const auto& r : g_catalogue.aRecords) {
        SCOPED_TRACE(testing::Message() << r.nType << "," << r.nSubType);
        EXPECT_EQ(r.szName[0], 0);
        EXPECT_EQ(r.szLabel[0], 0);
        EXPECT_TRUE(r.nOrientations == 1 || r.nOrientations == 2 || r.nOrientations == 4);
        EXPECT_GE(r.nTerminals, 1);
        EXPECT_LE(r.nTerminals, 7);
        for (int k = 0; k < 4; ++k) {
            for (int t = 0; t < 7; ++t) {
                const tagSPoint32 p = r.ptTerminal[k][t];
                if (k >= r.nOrientations || t >= r.nTerminals) {
                    EXPECT_EQ(p.x, 0);
                    EXPECT_EQ(p.y, 0);
                } else if (k > 0) {
                    const tagSPoint32 q = r.ptTerminal[k - 1][t];
                    EXPECT_EQ(p.x, q.y);
                    EXPECT_EQ(p.y, 34 - q.x);
                }
            }
        }
    }
    const tagSComponentInfo* pot = FindInfo(3, 5);
    EXPECT_EQ(pot->ptTerminal[3][0].x, 17);
    EXPECT_EQ(pot->ptTerminal[3][0].y, 0);
    EXPECT_EQ(pot->ptTerminal[3][1].x, 17);
    EXPECT_EQ(pot->ptTerminal[3][1].y, 34);
    // The wiper (17,0) turned three quarters by the rule lands on the right edge.
    EXPECT_EQ(pot->ptTerminal[3][2].x, 34);
    EXPECT_EQ(pot->ptTerminal[3][2].y, 17);
    EXPECT_EQ(pot->ptTerminal[1][2].x, 0);
    EXPECT_EQ(pot->ptTerminal[1][2].y, 17);
}

TEST(PictureList, CoversExactlyTheLibraryIds) {
    std::set<int> expected;
    for (auto [a, b] : {std::pair{149, 175}, {190, 191}, {193, 195}, {205, 230}, {233, 317},
                        {320, 331}, {339, 396}, {398, 405}, {407, 414}, {417, 422}, {425, 448},
                        {452, 453}})
        for (int id = a; id <= b; ++id)
            expected.insert(id);
    std::set<int> got;
    for (const SPictureSlot& s : EnumeratePictures())
        EXPECT_TRUE(got.insert(s.nId).second) << "duplicate " << s.nId;
    EXPECT_EQ(got, expected);
    EXPECT_EQ(got.size(), 261u);
}
