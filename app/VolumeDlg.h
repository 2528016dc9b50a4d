#pragma once

#include <QDialog>

#include <cstdint>

class CVolumeControl;
class QSlider;

// "Set Sound Volume": one slider over 0..65535 under a picture of a rising ramp.
class CVolumeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSliderId = 103;

    explicit CVolumeDlg(uint16_t nVolume, QWidget* pParent = nullptr);
    void accept() override;

    QSlider* Slider() const { return m_pSlider; }
    uint16_t m_nVolume;

private:
    QSlider* m_pSlider;
};

// The Sound Volume command: nothing is shown when there is no device or no volume control.
// The dialog opens at the louder channel's level; OK sets both channels to the slider's level.
// `pfnExec` runs the dialog modally (tests replace it); returns whether the dialog was shown.
bool RunSoundVolumeCommand(CVolumeControl& control, QWidget* pParent,
                           int (*pfnExec)(CVolumeDlg&) = nullptr);
