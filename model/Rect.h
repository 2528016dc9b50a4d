#pragma once

#include <QPoint>
#include <QRect>

#include <algorithm>

// A rectangle as the circuit model keeps it: left and top inclusive, right and bottom
// exclusive, and possibly unnormalised (a text box after editing).
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool Contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    constexpr void Normalize() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    constexpr CRect Normalized() const {
        CRect r = *this;
        r.Normalize();
        return r;
    }
    constexpr void Offset(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    // Union of two rectangles, each taken as it stands.
    constexpr CRect United(const CRect& o) const {
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    QRect ToQRect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    static CRect FromQRect(const QRect& r) {
        return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    constexpr bool operator==(const CRect&) const = default;
};
