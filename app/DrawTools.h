#pragma once

#include <QBrush>
#include <QPen>

// The drawing objects every piece of drawing code shares: created once at start-up and
// never deleted by the code that uses them.
class CDrawTools {
public:
    CDrawTools();

    QPen m_penOutline;      // selection outlines
    QPen m_penSelectedWire; // a selected wire and a wire being drawn
    QPen m_penWire;         // a wire in the normal state
    QPen m_penTrace1;       // oscilloscope channel 1
    QPen m_penTrace2;       // oscilloscope channel 2
    QBrush m_brushHandle;   // the squares on wire vertices
};
