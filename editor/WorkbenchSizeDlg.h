#pragma once

#include <QDialog>

class QLineEdit;

// "Workbench Size": height and width in pixels, each 1..32760.
class CWorkbenchSizeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr unsigned kMin = 1;
    static constexpr unsigned kMax = 32760;

    explicit CWorkbenchSizeDlg(QWidget* pParent = nullptr);

    // Puts m_nHeight and m_nWidth into the edits.
    void LoadValues();
    // Reads both edits, height first; on a bad entry shows the prompt, puts the focus on
    // that edit and answers false, leaving the dialog open.
    bool SaveValues();
    void accept() override;

    QLineEdit* HeightEdit() const { return m_pHeight; }
    QLineEdit* WidthEdit() const { return m_pWidth; }

    unsigned m_nHeight = 0;
    unsigned m_nWidth = 0;

private:
    bool ReadEdit(QLineEdit* pEdit, unsigned* pnValue);

    QLineEdit* m_pHeight;
    QLineEdit* m_pWidth;
};
