#pragma once

#include "Rect.h"
#include "ScopeDisplay.h"

#include <QSize>
#include <QString>

#include <array>
#include <memory>

class CArchive;

// An oscilloscope's display: its saved block (channel ranges, window rectangle, visibility,
// title), its display number and the samples it shows while a circuit runs. Owned by its
// Oscilloscope component.
class CScopeWnd {
public:
    static constexpr int kMaxSamples = 1000;

    CScopeWnd();
    ~CScopeWnd();
    CScopeWnd(const CScopeWnd&) = delete;
    CScopeWnd& operator=(const CScopeWnd&) = delete;

    // Creates the window (if the program has windows) and places it: titled "Osci - n".
    void Create();
    void SetDisplayNumber(int n) { m_nDisplay = n; }

    // The saved block: two ranges, the rectangle, visibility and title.
    void SerializeBlock(CArchive& ar);
    // After loading: open the window with the stored title, rectangle and visibility.
    void OpenFromBlock();

    // Forgets the traces: the next sample starts a new scale.
    void ResetTraces();
    // Sets the shown flags of the two channels and greys an unconnected one.
    void UpdateCheckBoxes();
    // One result step: t in seconds, a and b the two channels' volts or the no-value marker.
    void AddSample(float t, float a, float b);
    // Width and height of the trace area inside its frame, in pixels.
    QSize TraceSize() const;
    // Vertical pixel of value v in the current scale.
    int TraceY(float v, int nHeight) const;

    CRect WindowRect() const;
    bool IsVisible() const;
    void Show(bool bShow);
    void SetTitle(const QString& strTitle);
    CScopeDisplay* Display() const { return m_pDisplay.get(); }

    int m_bShow1 = 1;
    int m_bShow2 = 1;
    float m_fLastTime = 0.0f;
    CRect m_rectWindow;
    int m_bVisible = 0;
    QString m_strTitle;
    float m_fValue1 = 0.0f;
    float m_fValue2 = 0.0f;
    int m_nDisplay = 0;
    int m_bReset = 1;
    float m_fTop = 0.0f;
    float m_fBottom = 0.0f;
    int m_nSamples = 0;
    std::array<float, kMaxSamples> m_afSamples1{};
    std::array<float, kMaxSamples> m_afSamples2{};
    int m_nRange1 = 2;
    int m_nRange2 = 2;
    // Texts of the two reading fields, "= 150.00 mV" and the like.
    QString m_strReading1;
    QString m_strReading2;
    // Default trace area when there is no window (batch runs, tests).
    static constexpr int kDefaultTraceWidth = 160;
    static constexpr int kDefaultTraceHeight = 106;

private:
    std::unique_ptr<CScopeDisplay> m_pDisplay;
};
