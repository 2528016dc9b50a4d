#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The 14 greys of every component picture, in palette order.
constexpr std::array<uint8_t, 14> kGreyLevels = {255, 222, 206, 192, 189, 173, 165,
                                                 156, 140, 132, 115, 82,  66,  0};
constexpr int kBackgroundIndex = 3;

// A 35 x 35 picture as palette indexes, row 0 at the top.
struct SIndexedPicture {
    static constexpr int kSize = 35;
    std::array<uint8_t, kSize * kSize> aPixels;
    SIndexedPicture() { aPixels.fill(kBackgroundIndex); }
    uint8_t& At(int x, int y) { return aPixels[y * kSize + x]; }
    uint8_t At(int x, int y) const { return aPixels[y * kSize + x]; }
};

// A complete 4-bit BMP file image: file header, info header, 14-entry palette, rows bottom-up.
std::vector<uint8_t> EncodeBmp4(const SIndexedPicture& picture);
