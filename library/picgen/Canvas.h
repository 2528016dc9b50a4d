#pragma once

#include "Bmp.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

// Palette indexes used by the art (levels in kGreyLevels).
constexpr uint8_t kWhite = 0;
constexpr uint8_t kLight = 1;
constexpr uint8_t kBack = kBackgroundIndex;
constexpr uint8_t kShade = 7;
constexpr uint8_t kGrey = 10;
constexpr uint8_t kDark = 12;
constexpr uint8_t kInk = 13;

// Pixel-art drawing on one 35 x 35 indexed picture. Everything is clipped to the picture;
// angles are in degrees, counter-clockwise as seen on screen (y grows downwards).
class CCanvas {
public:
    explicit CCanvas(SIndexedPicture& rPicture) : m_rPicture(rPicture) {}

    void Plot(int x, int y, uint8_t nColour = kInk);
    uint8_t Get(int x, int y) const;

    void Line(int x0, int y0, int x1, int y1, uint8_t nColour = kInk);
    void DashedLine(int x0, int y0, int x1, int y1, int nOn, int nOff, uint8_t nColour = kInk);
    void Rect(int nLeft, int nTop, int nRight, int nBottom, uint8_t nColour = kInk);
    void FillRect(int nLeft, int nTop, int nRight, int nBottom, uint8_t nColour);

    // A smooth curve through f(t) for t in [t0, t1], drawn one pixel wide without corner steps.
    void Curve(const std::function<std::pair<double, double>(double)>& f, double t0, double t1,
               uint8_t nColour = kInk);
    void Arc(double fCx, double fCy, double fR, double fFromDeg, double fToDeg,
             uint8_t nColour = kInk);
    void Circle(double fCx, double fCy, double fR, uint8_t nColour = kInk);
    void Disc(double fCx, double fCy, double fR, uint8_t nColour = kInk);
    void Triangle(double x0, double y0, double x1, double y1, double x2, double y2,
                  uint8_t nColour = kInk);
    // A solid arrowhead with its tip at (fTipX, fTipY), pointing along (fDx, fDy).
    void Head(double fTipX, double fTipY, double fDx, double fDy, double fSize = 3.5,
              uint8_t nColour = kInk);
    // A line from (x0,y0) to (x1,y1) with a solid arrowhead at (x1,y1).
    void Arrow(int x0, int y0, int x1, int y1, double fHead = 3.5, uint8_t nColour = kInk);

    // Fill the inside of a closed outline: every background region that has a pixel within
    // the disc or rectangle is flooded, so lines drawn inside the shape survive the filling.
    void FillInsideDisc(double fCx, double fCy, double fR, uint8_t nColour);
    void FillInsideRect(int nLeft, int nTop, int nRight, int nBottom, uint8_t nColour);
    // Recolours the 4-connected background region around (x, y).
    void FloodBackground(int x, int y, uint8_t nColour);

    // Hand-made pixel glyphs: A m u(micro) V O(ohm) k M G 1 2 + -; returns the width drawn.
    int Text(int x, int y, std::string_view strText, uint8_t nColour = kInk);
    static int TextWidth(std::string_view strText);
    // Text centred horizontally on fCx with its top row at y.
    void TextCentred(double fCx, int y, std::string_view strText, uint8_t nColour = kInk);

private:
    SIndexedPicture& m_rPicture;
};
