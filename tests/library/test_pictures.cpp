#include "Catalogue.h"
#include "PictureList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace {

constexpr int kN = 35;
constexpr uint8_t kBackground = 3;
constexpr uint8_t kInk = 13;
constexpr uint8_t kWhite = 0;
constexpr uint8_t kFillGrey = 10;
constexpr std::array<uint8_t, 14> kLevels = {255, 222, 206, 192, 189, 173, 165,
                                             156, 140, 132, 115, 82,  66,  0};

using CPixels = std::array<std::array<uint8_t, kN>, kN>; // [y][x], row 0 at the top

uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Read16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// Reads a picture as the workbench must be able to: a 35 x 35, 4-bit, bottom-up BMP with the
// 14 greys in order. Any deviation is reported in `error` and gives nothing.
std::optional<CPixels> ParsePicture(const void* pData, unsigned int nSize, std::string& error) {
    const auto* p = static_cast<const uint8_t*>(pData);
    constexpr uint32_t kRow = 20, kPaletteAt = 54, kPixelsAt = kPaletteAt + 14 * 4;
    if (!p || nSize < kPixelsAt)
        return error = "too short", std::nullopt;
    if (p[0] != 'B' || p[1] != 'M')
        return error = "no BM signature", std::nullopt;
    if (Read32(p + 2) != nSize || Read32(p + 6) != 0 || Read32(p + 10) != kPixelsAt)
        return error = "file header", std::nullopt;
    if (Read32(p + 14) != 40 || int32_t(Read32(p + 18)) != kN || int32_t(Read32(p + 22)) != kN ||
        Read16(p + 26) != 1 || Read16(p + 28) != 4 || Read32(p + 30) != 0)
        return error = "info header", std::nullopt;
    if (Read32(p + 34) != kRow * kN || Read32(p + 46) != 14)
        return error = "image size or colour count", std::nullopt;
    if (nSize != kPixelsAt + kRow * kN)
        return error = "pixel data size", std::nullopt;
    for (size_t i = 0; i < kLevels.size(); ++i) {
        const uint8_t* q = p + kPaletteAt + 4 * i;
        if (q[0] != kLevels[i] || q[1] != kLevels[i] || q[2] != kLevels[i] || q[3] != 0)
            return error = "palette entry " + std::to_string(i), std::nullopt;
    }
    CPixels px{};
    for (int y = 0; y < kN; ++y) {
        const uint8_t* row = p + kPixelsAt + kRow * uint32_t(kN - 1 - y);
        for (int x = 0; x < kN; ++x) {
            const uint8_t v = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0f;
            if (v >= kLevels.size())
                return error = "index beyond the palette", std::nullopt;
            px[y][x] = v;
        }
    }
    return px;
}

// Every picture of the library, parsed once for all tests.
const std::map<int, CPixels>& Pictures() {
    static const std::map<int, CPixels> pictures = [] {
        std::map<int, CPixels> m;
        for (const SPictureSlot& slot : EnumeratePictures()) {
            unsigned int nSize = 0;
            const void* pData = LoadPictureResource(slot.nId, &nSize);
            std::string error;
            if (auto px = ParsePicture(pData, nSize, error))
                m.emplace(slot.nId, *px);
            else
                ADD_FAILURE() << "picture " << slot.nId << ": " << error;
        }
        return m;
    }();
    return pictures;
}

const CPixels& Picture(int id) {
    static const CPixels empty{};
    const auto it = Pictures().find(id);
    return it == Pictures().end() ? empty : it->second;
}

int Count(const CPixels& px, uint8_t v) {
    int n = 0;
    for (const auto& row : px)
        for (uint8_t c : row)
            n += c == v;
    return n;
}

bool OnEdge(int x, int y) {
    return x == 0 || y == 0 || x == kN - 1 || y == kN - 1;
}

} // namespace

TEST(Pictures, ExactlyTheListedIdsArePresentAndWellFormed) {
    const auto pictureSlots = EnumeratePictures();
    EXPECT_EQ(pictureSlots.size(), 261u);
    std::set<int> listed;
    for (const auto& s : pictureSlots)
        listed.insert(s.nId);
    EXPECT_EQ(Pictures().size(), pictureSlots.size()); // every listed picture parsed
    for (int id = 100; id <= 500; ++id) {
        unsigned int nSize = 12345;
        const void* p = LoadPictureResource(id, &nSize);
        EXPECT_EQ(p != nullptr, listed.count(id) == 1) << id;
        if (!p) {
            EXPECT_EQ(nSize, 0u) << id;
        }
    }
    for (int id : {148, 397, 406, 454})
        EXPECT_EQ(LoadPictureResource(id, nullptr), nullptr) << id;
    // The 261 ids of the catalogue's blocks.
    EXPECT_EQ(*listed.begin(), 149);
    EXPECT_EQ(*listed.rbegin(), 453);
}

TEST(Pictures, LibraryOpenedByNameExportsThePictures) {
    const std::string path = kest::test::BinPath("libkest.so").toStdString();
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    using LoadFn = const void* (*)(int, unsigned int*);
    auto load = reinterpret_cast<LoadFn>(dlsym(lib, "LoadPictureResource"));
    ASSERT_NE(load, nullptr);
    unsigned int nSize = 0;
    const void* p = load(339, &nSize);
    std::string error;
    EXPECT_TRUE(ParsePicture(p, nSize, error).has_value()) << error;
    EXPECT_EQ(load(397, &nSize), nullptr);
    dlclose(lib);
}

TEST(Pictures, LeadsEndOnTheTerminalsAndTheEdgeIsBackgroundElsewhere) {
    for (const SPictureSlot& slot : EnumeratePictures()) {
        SCOPED_TRACE(testing::Message() << "picture " << slot.nId);
        const tagSComponentInfo* rec = FindInfo(slot.nType, slot.nSubType);
        ASSERT_NE(rec, nullptr);
        const CPixels& px = Picture(slot.nId);
        std::set<std::pair<int, int>> terminals;
        for (int t = 0; t < rec->nTerminals; ++t) {
            const tagSPoint32 pt = rec->ptTerminal[slot.nOrientation][t];
            terminals.insert({pt.x, pt.y});
            ASSERT_TRUE(OnEdge(pt.x, pt.y)) << "terminal " << t;
            EXPECT_EQ(px[pt.y][pt.x], kInk) << "terminal " << t;
            // The lead goes on inwards from the edge.
            const int ix = pt.x == 0 ? 1 : (pt.x == kN - 1 ? kN - 2 : pt.x);
            const int iy = pt.x == 0 || pt.x == kN - 1 ? pt.y : (pt.y == 0 ? 1 : kN - 2);
            EXPECT_EQ(px[iy][ix], kInk) << "terminal " << t;
        }
        int nStray = 0;
        for (int y = 0; y < kN; ++y)
            for (int x = 0; x < kN; ++x)
                nStray += OnEdge(x, y) && !terminals.count({x, y}) && px[y][x] != kBackground;
        EXPECT_EQ(nStray, 0) << "edge pixels that are neither background nor a terminal";
    }
}

TEST(Pictures, EachOrientationIsThePreviousTurnedAQuarterCounterClockwise) {
    for (const SPictureSlot& slot : EnumeratePictures()) {
        if (slot.nOrientation == 0)
            continue;
        const CPixels& prev = Picture(slot.nId - 1);
        const CPixels& cur = Picture(slot.nId);
        int nDiffer = 0;
        for (int y = 0; y < kN; ++y)
            for (int x = 0; x < kN; ++x)
                nDiffer += cur[kN - 1 - x][y] != prev[y][x];
        EXPECT_EQ(nDiffer, 0) << "picture " << slot.nId;
    }
}

TEST(Pictures, StateBlocksOfAKindDifferFromEachOther) {
    std::map<std::pair<int, int>, std::vector<int>> firstOfState; // kind -> orientation-0 ids
    for (const SPictureSlot& slot : EnumeratePictures())
        if (slot.nOrientation == 0)
            firstOfState[{slot.nType, slot.nSubType}].push_back(slot.nId);
    int nKindsWithStates = 0;
    for (const auto& [kind, ids] : firstOfState) {
        nKindsWithStates += ids.size() > 1;
        for (size_t a = 0; a < ids.size(); ++a)
            for (size_t b = a + 1; b < ids.size(); ++b)
                EXPECT_NE(Picture(ids[a]), Picture(ids[b]))
                    << kind.first << "," << kind.second << ": " << ids[a] << " vs " << ids[b];
    }
    // Meters, lamps, fuse, breaker, bell, six switches and the plug.
    EXPECT_EQ(nKindsWithStates, 3 + 4 + 3 + 6 + 1);
}

TEST(Pictures, LampsAndFusesShowTheirStateByTheirFilling) {
    struct SCase {
        int nId;
        int nMinWhite, nMaxWhite, nMinGrey, nMaxGrey;
    };
    constexpr int kAny = kN * kN;
    const SCase cases[] = {
        // filament, neon, signal lamp, fluorescent tube: off, lit, burnt out
        {409, 0, 0, 0, 0},
        {411, 40, kAny, 0, 0},
        {413, 0, 0, 40, kAny},
        {437, 0, 0, 0, 0},
        {439, 40, kAny, 0, 0},
        {441, 0, 0, 40, kAny},
        {417, 0, 0, 0, 0},
        {419, 40, kAny, 0, 0},
        {421, 0, 0, 40, kAny},
        {443, 0, 0, 0, 0},
        {445, 40, kAny, 0, 0},
        {447, 0, 0, 40, kAny},
        // fuse intact, blown
        {425, 0, 0, 0, 0},
        {427, 0, 0, 40, kAny},
    };
    for (const SCase& c : cases) {
        const CPixels& px = Picture(c.nId);
        const int nWhite = Count(px, kWhite), nGrey = Count(px, kFillGrey);
        EXPECT_GE(nWhite, c.nMinWhite) << c.nId;
        EXPECT_LE(nWhite, c.nMaxWhite) << c.nId;
        EXPECT_GE(nGrey, c.nMinGrey) << c.nId;
        EXPECT_LE(nGrey, c.nMaxGrey) << c.nId;
    }
}
