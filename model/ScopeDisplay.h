#pragma once

#include "Rect.h"

#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class CScopeWnd;

// The on-screen window of an oscilloscope. The model owns the oscilloscope's state
// (CScopeWnd) and talks to its window only through this interface, which the instruments
// implement; without a window factory (tests, batch runs) an oscilloscope has no window.
class CScopeDisplay {
public:
    virtual ~CScopeDisplay() = default;

    // Places the new window (cascading down the main window's right edge) and leaves it hidden.
    virtual void Create() = 0;
    virtual void SetTitle(const QString& strTitle) = 0;
    // Screen rectangle; moving does not repaint.
    virtual void MoveTo(const CRect& rect) = 0;
    virtual CRect WindowRect() const = 0;
    virtual void Show(bool bShow) = 0;
    virtual bool IsVisible() const = 0;
    // The traces and readings changed: redraw what CScopeWnd now holds, the whole trace
    // area or only the newest segment.
    virtual void Refresh(bool bFullRedraw) = 0;
    // The two channels' check boxes follow CScopeWnd's shown flags.
    virtual void UpdateCheckBoxes() = 0;
    // Inner size of the trace area in pixels (its frame excluded).
    virtual QSize TraceSize() const = 0;

    using Factory = std::function<std::unique_ptr<CScopeDisplay>(CScopeWnd*)>;
    static Factory& WindowFactory();
};
