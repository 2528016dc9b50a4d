#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kN = SIndexedPicture::kSize;
constexpr double kPi = 3.14159265358979323846;

// Glyphs are 7 rows high; '#' is ink.
struct SGlyph {
    char ch;
    const char* aRows[7];
};

constexpr SGlyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'m', {".....", ".....", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'u', {".....", ".....", "#..#.", "#..#.", "#..#.", "###.#", "#...."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
    {'O', {".###.", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "##.##"}},
    {'k', {"#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'2', {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"}},
    {'+', {".....", ".....", "..#..", "..#..", "#####", "..#..", "..#.."}},
    {'-', {".....", ".....", ".....", ".....", "#####", ".....", "....."}},
};

const SGlyph* FindGlyph(char ch) {
    for (const SGlyph& g : kGlyphs)
        if (g.ch == ch)
            return &g;
    return nullptr;
}

int GlyphWidth(const SGlyph& g) {
    size_t n = 0;
    for (const char* row : g.aRows)
        n = std::max(n, std::string_view(row).size());
    return int(n);
}

} // namespace

void CCanvas::Plot(int x, int y, uint8_t nColour) {
    if (x >= 0 && y >= 0 && x < kN && y < kN)
        m_rPicture.At(x, y) = nColour;
}

uint8_t CCanvas::Get(int x, int y) const {
    if (x >= 0 && y >= 0 && x < kN && y < kN)
        return m_rPicture.At(x, y);
    return kBack;
}

void CCanvas::Line(int x0, int y0, int x1, int y1, uint8_t nColour) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Plot(x0, y0, nColour);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void CCanvas::DashedLine(int x0, int y0, int x1, int y1, int nOn, int nOff, uint8_t nColour) {
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= n; ++i) {
        if (i % (nOn + nOff) >= nOn)
            continue;
        const double t = n == 0 ? 0.0 : double(i) / n;
        Plot(int(std::lround(x0 + t * (x1 - x0))), int(std::lround(y0 + t * (y1 - y0))), nColour);
    }
}

void CCanvas::Rect(int nLeft, int nTop, int nRight, int nBottom, uint8_t nColour) {
    Line(nLeft, nTop, nRight, nTop, nColour);
    Line(nLeft, nBottom, nRight, nBottom, nColour);
    Line(nLeft, nTop, nLeft, nBottom, nColour);
    Line(nRight, nTop, nRight, nBottom, nColour);
}

void CCanvas::FillRect(int nLeft, int nTop, int nRight, int nBottom, uint8_t nColour) {
    for (int y = nTop; y <= nBottom; ++y)
        for (int x = nLeft; x <= nRight; ++x)
            Plot(x, y, nColour);
}

void CCanvas::Curve(const std::function<std::pair<double, double>(double)>& f, double t0, double t1,
                    uint8_t nColour) {
    std::vector<std::pair<int, int>> pts;
    const int nSteps = 2000;
    for (int i = 0; i <= nSteps; ++i) {
        const auto [fx, fy] = f(t0 + (t1 - t0) * i / nSteps);
        const std::pair<int, int> p{int(std::lround(fx)), int(std::lround(fy))};
        if (pts.empty() || pts.back() != p)
            pts.push_back(p);
    }
    // Drop the corner pixel of every L-shaped step so the curve stays one pixel thin.
    std::vector<std::pair<int, int>> thin;
    for (size_t i = 0; i < pts.size(); ++i) {
        if (!thin.empty() && i + 1 < pts.size()) {
            const auto& a = thin.back();
            const auto& c = pts[i + 1];
            if (std::abs(a.first - c.first) <= 1 && std::abs(a.second - c.second) <= 1)
                continue;
        }
        thin.push_back(pts[i]);
    }
    for (const auto& [x, y] : thin)
        Plot(x, y, nColour);
}

void CCanvas::Arc(double fCx, double fCy, double fR, double fFromDeg, double fToDeg,
                  uint8_t nColour) {
    Curve(
        [&](double a) {
            const double r = a * kPi / 180.0;
            return std::pair{fCx + fR * std::cos(r), fCy - fR * std::sin(r)};
        },
        fFromDeg, fToDeg, nColour);
}

void CCanvas::Circle(double fCx, double fCy, double fR, uint8_t nColour) {
    const int cx = int(fCx), cy = int(fCy), r = int(fR);
    if (cx != fCx || cy != fCy || r != fR) {
        Arc(fCx, fCy, fR, 0.0, 360.0, nColour);
        return;
    }
    // Midpoint circle: rounder than a sampled one at whole-pixel centres and radii.
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        for (const auto& [px, py] :
             {std::pair{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}})
            Plot(cx + px, cy + py, nColour);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void CCanvas::Disc(double fCx, double fCy, double fR, uint8_t nColour) {
    for (int y = 0; y < kN; ++y)
        for (int x = 0; x < kN; ++x)
            if ((x - fCx) * (x - fCx) + (y - fCy) * (y - fCy) <= fR * fR)
                Plot(x, y, nColour);
}

void CCanvas::Triangle(double x0, double y0, double x1, double y1, double x2, double y2,
                       uint8_t nColour) {
    const auto side = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    for (int y = 0; y < kN; ++y)
        for (int x = 0; x < kN; ++x) {
            const double a = side(x0, y0, x1, y1, x, y);
            const double b = side(x1, y1, x2, y2, x, y);
            const double c = side(x2, y2, x0, y0, x, y);
            const double eps = 1e-9;
            if ((a >= -eps && b >= -eps && c >= -eps) || (a <= eps && b <= eps && c <= eps))
                Plot(x, y, nColour);
        }
}

void CCanvas::Head(double fTipX, double fTipY, double fDx, double fDy, double fSize,
                   uint8_t nColour) {
    const double len = std::hypot(fDx, fDy);
    if (len == 0)
        return;
    const double ux = fDx / len, uy = fDy / len;
    const double bx = fTipX - ux * fSize, by = fTipY - uy * fSize;
    const double w = fSize * 0.6;
    Triangle(fTipX, fTipY, bx - uy * w, by + ux * w, bx + uy * w, by - ux * w, nColour);
}

void CCanvas::Arrow(int x0, int y0, int x1, int y1, double fHead, uint8_t nColour) {
    Line(x0, y0, x1, y1, nColour);
    Head(x1, y1, x1 - x0, y1 - y0, fHead, nColour);
}

void CCanvas::FillInsideDisc(double fCx, double fCy, double fR, uint8_t nColour) {
    for (int y = 0; y < kN; ++y)
        for (int x = 0; x < kN; ++x)
            if ((x - fCx) * (x - fCx) + (y - fCy) * (y - fCy) < fR * fR && Get(x, y) == kBack)
                FloodBackground(x, y, nColour);
}

void CCanvas::FillInsideRect(int nLeft, int nTop, int nRight, int nBottom, uint8_t nColour) {
    for (int y = nTop; y <= nBottom; ++y)
        for (int x = nLeft; x <= nRight; ++x)
            if (Get(x, y) == kBack)
                FloodBackground(x, y, nColour);
}

void CCanvas::FloodBackground(int x, int y, uint8_t nColour) {
    if (nColour == kBack)
        return;
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        if (px < 0 || py < 0 || px >= kN || py >= kN || Get(px, py) != kBack)
            continue;
        Plot(px, py, nColour);
        stack.push_back({px + 1, py});
        stack.push_back({px - 1, py});
        stack.push_back({px, py + 1});
        stack.push_back({px, py - 1});
    }
}

int CCanvas::TextWidth(std::string_view strText) {
    int w = 0;
    for (char ch : strText)
        if (const SGlyph* g = FindGlyph(ch))
            w += GlyphWidth(*g) + 1;
    return w > 0 ? w - 1 : 0;
}

int CCanvas::Text(int x, int y, std::string_view strText, uint8_t nColour) {
    const int x0 = x;
    for (char ch : strText) {
        const SGlyph* g = FindGlyph(ch);
        if (!g)
            continue;
        for (int r = 0; r < 7; ++r) {
            const std::string_view row = g->aRows[r];
            for (size_t c = 0; c < row.size(); ++c)
                if (row[c] == '#')
                    Plot(x + int(c), y + r, nColour);
        }
        x += GlyphWidth(*g) + 1;
    }
    return x - x0;
}

void CCanvas::TextCentred(double fCx, int y, std::string_view strText, uint8_t nColour) {
    Text(int(std::lround(fCx - (TextWidth(strText) - 1) / 2.0)), y, strText, nColour);
}
