#pragma once

#include "ComponentInfo.h"
#include "Rect.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <memory>

class CArchive;
class CScopeWnd;
class CWire;
class QPainter;

// The float that stands for "no value": an unconnected input, a node without a result, a
// meter without reading.
inline constexpr float kNoValue = -6789.0f;
inline bool IsNoValue(float f) {
    return (f + 6789.0f) <= 0.01f && (f + 6789.0f) >= -0.01f;
}

// One component placed on the workbench: its kind, position, orientation, property values,
// run-time state, picture, terminals and the wires attached to them.
class CComponent {
public:
    static constexpr int kMaxTerminals = KEST_MAX_TERMINALS;

    // An empty component, to be filled by Serialize.
    CComponent();
    // A new component of the record's kind with its top-left corner at ptPos.
    CComponent(const tagSComponentInfo& info, QPoint ptPos);
    virtual ~CComponent();
    CComponent(const CComponent&) = delete;
    CComponent& operator=(const CComponent&) = delete;

    void Serialize(CArchive& ar);
    // Completes a loaded component from the catalogue; a kind the catalogue does not know
    // leaves the component inert (type 0, no terminals, no picture).
    void InitFromCatalogue();

    // The component when pt lies on its picture; *pnTerminal gets the terminal whose hot
    // zone holds pt, or -1.
    CComponent* HitTest(QPoint pt, int* pnTerminal);
    void MoveBy(int dx, int dy);
    int GetTerminalX(int i) const { return m_ptPos.x() + m_ptTerminal[m_nOrientation][i].x(); }
    int GetTerminalY(int i) const { return m_ptPos.y() + m_ptTerminal[m_nOrientation][i].y(); }
    QPoint GetTerminal(int i) const { return {GetTerminalX(i), GetTerminalY(i)}; }

    // Picks the picture block from the state and loads the current orientation's picture;
    // reports "Can't read in bitmap file" and keeps the old picture when that fails.
    bool ReloadPicture();
    void UpdateSize(bool bKeep);
    void Rotate(bool bForward);
    void Draw(QPainter& painter) const;
    void DrawSelection(QPainter& painter) const;

    // Gives a newly placed Oscilloscope its display number and display window.
    void CreateScope();
    // Clears terminal nTerminal's wire when it is pWire.
    void DetachWire(int nTerminal, const CWire* pWire);

    bool IsInert() const { return m_nType == 0; }
    bool IsOscilloscope() const { return m_nType == 1 && m_nSubType == 5; }
    // Picture block of the current state (meter range, lamp state, switch position).
    int PictureBlock() const;
    int PictureId() const { return m_nBitmapId + m_nOrientation; }

    CScopeWnd* m_pScope = nullptr;
    int m_bShowValue = 1;
    float m_fValue[4] = {0, 0, 0, 0};
    int m_nType = 0;
    int m_nSubType = 0;
    int m_nOrientations = 0;
    int m_nBitmapId = 0;
    int m_nTerminals = 0;
    QPoint m_ptTerminal[KEST_MAX_ORIENTATIONS][kMaxTerminals];
    QPoint m_ptPos;
    QSize m_size;
    CRect m_rect;
    int m_nOrientation = 0;
    int m_bSelected = 0;
    QImage m_hBitmap;
    CWire* m_pWire[kMaxTerminals] = {};
    int m_nNode[kMaxTerminals] = {-1, -1, -1, -1, -1, -1, -1};
    int m_nIndex = 0;

private:
    void CopyFromRecord(const tagSComponentInfo& info);
    void ReattachWires();
};

// Loads picture `id` from the component library, opened by name for this one load and
// closed again. A null image when the library or the picture is missing.
QImage LoadPicture(int id);
