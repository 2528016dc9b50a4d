#pragma once

#include <cstdint>

// The wave-out volume of the desktop: two channels of 0..65535 each.
class CVolumeControl {
public:
    virtual ~CVolumeControl() = default;
    // False when there is no device or the device has no volume control.
    virtual bool Open() = 0;
    virtual bool ReadVolume(uint16_t* pnLeft, uint16_t* pnRight) = 0;
    virtual bool WriteVolume(uint16_t nLeft, uint16_t nRight) = 0;
};

// The ALSA mixer of the default card: its "Master" playback volume, else "PCM", else the
// first element that has a playback volume.
class CAlsaMixer : public CVolumeControl {
public:
    CAlsaMixer();
    ~CAlsaMixer() override;
    CAlsaMixer(const CAlsaMixer&) = delete;
    CAlsaMixer& operator=(const CAlsaMixer&) = delete;

    bool Open() override;
    bool ReadVolume(uint16_t* pnLeft, uint16_t* pnRight) override;
    bool WriteVolume(uint16_t nLeft, uint16_t nRight) override;

private:
    void Close();

    void* m_pMixer = nullptr; // snd_mixer_t
    void* m_pElem = nullptr;  // snd_mixer_elem_t
    long m_nMin = 0;
    long m_nMax = 0;
};
