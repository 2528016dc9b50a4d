#include "Mixer.h"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstring>
#include <initializer_list>

namespace {

// alsa-lib prints its errors to stderr by default; a missing card is normal here.
void SilentErrorHandler(const char*, int, const char*, int, const char*, ...) {}

snd_mixer_elem_t* FindPlaybackVolume(snd_mixer_t* pMixer) {
    snd_mixer_elem_t* pFirst = nullptr;
    for (const char* szName : {"Master", "PCM"}) {
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(pMixer); e; e = snd_mixer_elem_next(e)) {
            if (!snd_mixer_selem_is_active(e) || !snd_mixer_selem_has_playback_volume(e))
                continue;
            if (!pFirst)
                pFirst = e;
            if (std::strcmp(snd_mixer_selem_get_name(e), szName) == 0)
                return e;
        }
    }
    return pFirst;
}

long ToAlsa(uint16_t nValue, long nMin, long nMax) {
    return nMin + (long long)(nMax - nMin) * nValue / 65535;
}

uint16_t FromAlsa(long nValue, long nMin, long nMax) {
    if (nMax <= nMin)
        return 0;
    if (nValue <= nMin)
        return 0;
    if (nValue >= nMax)
        return 65535;
    return uint16_t((long long)(nValue - nMin) * 65535 / (nMax - nMin));
}

} // namespace

CAlsaMixer::CAlsaMixer() {
    snd_lib_error_set_handler(SilentErrorHandler);
}

CAlsaMixer::~CAlsaMixer() {
    Close();
}

void CAlsaMixer::Close() {
    if (m_pMixer)
        snd_mixer_close(static_cast<snd_mixer_t*>(m_pMixer));
    m_pMixer = nullptr;
    m_pElem = nullptr;
}

bool CAlsaMixer::Open() {
    Close();
    int nCard = -1;
    if (snd_card_next(&nCard) < 0 || nCard < 0)
        return false;
    snd_mixer_t* pMixer = nullptr;
    if (snd_mixer_open(&pMixer, 0) < 0)
        return false;
    m_pMixer = pMixer;
    if (snd_mixer_attach(pMixer, "default") < 0 ||
        snd_mixer_selem_register(pMixer, nullptr, nullptr) < 0 || snd_mixer_load(pMixer) < 0) {
        Close();
        return false;
    }
    snd_mixer_elem_t* pElem = FindPlaybackVolume(pMixer);
    if (!pElem || snd_mixer_selem_get_playback_volume_range(pElem, &m_nMin, &m_nMax) < 0 ||
        m_nMax <= m_nMin) {
        Close();
        return false;
    }
    m_pElem = pElem;
    return true;
}

bool CAlsaMixer::ReadVolume(uint16_t* pnLeft, uint16_t* pnRight) {
    auto* pElem = static_cast<snd_mixer_elem_t*>(m_pElem);
    if (!pElem)
        return false;
    long nLeft = 0, nRight = 0;
    const bool bMono = snd_mixer_selem_is_playback_mono(pElem);
    if (snd_mixer_selem_get_playback_volume(
            pElem, bMono ? SND_MIXER_SCHN_MONO : SND_MIXER_SCHN_FRONT_LEFT, &nLeft) < 0)
        return false;
    nRight = nLeft;
    if (!bMono && snd_mixer_selem_has_playback_channel(pElem, SND_MIXER_SCHN_FRONT_RIGHT))
        snd_mixer_selem_get_playback_volume(pElem, SND_MIXER_SCHN_FRONT_RIGHT, &nRight);
    *pnLeft = FromAlsa(nLeft, m_nMin, m_nMax);
    *pnRight = FromAlsa(nRight, m_nMin, m_nMax);
    return true;
}

bool CAlsaMixer::WriteVolume(uint16_t nLeft, uint16_t nRight) {
    auto* pElem = static_cast<snd_mixer_elem_t*>(m_pElem);
    if (!pElem)
        return false;
    if (snd_mixer_selem_is_playback_mono(pElem))
        return snd_mixer_selem_set_playback_volume(pElem, SND_MIXER_SCHN_MONO,
                                                   ToAlsa(nLeft, m_nMin, m_nMax)) >= 0;
    const bool bLeft = snd_mixer_selem_set_playback_volume(pElem, SND_MIXER_SCHN_FRONT_LEFT,
                                                           ToAlsa(nLeft, m_nMin, m_nMax)) >= 0;
    if (snd_mixer_selem_has_playback_channel(pElem, SND_MIXER_SCHN_FRONT_RIGHT))
        snd_mixer_selem_set_playback_volume(pElem, SND_MIXER_SCHN_FRONT_RIGHT,
                                            ToAlsa(nRight, m_nMin, m_nMax));
    return bLeft;
}
