#include "DrawTools.h"

namespace {
QPen SolidPen(QColor color) {
    QPen pen(color, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}
} // namespace

CDrawTools::CDrawTools()
    : m_penOutline(SolidPen(QColor(255, 0, 0))), m_penSelectedWire(SolidPen(QColor(255, 0, 0))),
      m_penWire(SolidPen(QColor(0, 0, 0))), m_penTrace1(SolidPen(QColor(255, 0, 0))),
      m_penTrace2(SolidPen(QColor(0, 0, 255))), m_brushHandle(QColor(255, 0, 0), Qt::SolidPattern) {
}
