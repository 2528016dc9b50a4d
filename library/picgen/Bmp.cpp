#include "Bmp.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

} // namespace

std::vector<uint8_t> EncodeBmp4(const SIndexedPicture& picture) {
    constexpr int n = SIndexedPicture::kSize;
    constexpr uint32_t nRowBytes = ((n * 4 + 31) / 32) * 4;
    constexpr uint32_t nPalette = kGreyLevels.size();
    constexpr uint32_t nPixelOffset = 14 + 40 + nPalette * 4;
    constexpr uint32_t nFileSize = nPixelOffset + nRowBytes * n;

    std::vector<uint8_t> out;
    out.reserve(nFileSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, nFileSize);
    Put32(out, 0);
    Put32(out, nPixelOffset);

    Put32(out, 40);
    Put32(out, n);
    Put32(out, n);
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0); // uncompressed
    Put32(out, nRowBytes * n);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, nPalette);
    Put32(out, nPalette);
    for (uint8_t level : kGreyLevels) {
        out.push_back(level);
        out.push_back(level);
        out.push_back(level);
        out.push_back(0);
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(nRowBytes, 0);
        for (int x = 0; x < n; ++x) {
            const uint8_t v = picture.At(x, y) & 0x0f;
            row[x / 2] |= (x % 2 == 0) ? uint8_t(v << 4) : v;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
