#include "VolumeDlg.h"

#include "Mixer.h"
#include "ResourceArt.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {
// Dialog units of the dialog template to pixels.
int Dx(int n) {
    return n * 3 / 2;
}
int Dy(int n) {
    return n * 13 / 8;
}
} // namespace

CVolumeDlg::CVolumeDlg(uint16_t nVolume, QWidget* pParent) : QDialog(pParent), m_nVolume(nVolume) {
    setWindowTitle(QStringLiteral("Set Sound Volume"));
    setFixedSize(Dx(186), Dy(95));
    auto* pPicture = new QLabel(this);
    pPicture->setPixmap(CResourceArt::VolumeRamp());
    pPicture->setGeometry(Dx(57), Dy(30), 109, 29);
    m_pSlider = new QSlider(Qt::Horizontal, this);
    m_pSlider->setObjectName(QStringLiteral("slider%1").arg(kSliderId));
    m_pSlider->setGeometry(Dx(53), Dy(49), Dx(82), Dy(14));
    m_pSlider->setTickPosition(QSlider::NoTicks);
    m_pSlider->setRange(0, 65535);
    m_pSlider->setSingleStep(1024);
    m_pSlider->setPageStep(8192);
    m_pSlider->setValue(m_nVolume);
    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setGeometry(Dx(110), Dy(81), Dx(36), Dy(14));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* pCancel = new QPushButton(QStringLiteral("Cancel"), this);
    pCancel->setGeometry(Dx(150), Dy(81), Dx(36), Dy(14));
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CVolumeDlg::accept() {
    m_nVolume = uint16_t(m_pSlider->value());
    QDialog::accept();
}

bool RunSoundVolumeCommand(CVolumeControl& control, QWidget* pParent, int (*pfnExec)(CVolumeDlg&)) {
    if (!control.Open())
        return false;
    uint16_t nLeft = 0, nRight = 0;
    if (!control.ReadVolume(&nLeft, &nRight))
        return false;
    CVolumeDlg dlg(nRight > nLeft ? nRight : nLeft, pParent);
    const int nResult = pfnExec ? pfnExec(dlg) : dlg.exec();
    if (nResult == QDialog::Accepted)
        control.WriteVolume(dlg.m_nVolume, dlg.m_nVolume);
    return true;
}
