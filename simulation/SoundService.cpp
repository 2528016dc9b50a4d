#include "SoundService.h"

namespace {
class CSilentSound : public CSoundService {
public:
    void PlayEffect(const char*, bool) override {}
    void StopEffects() override {}
};
CSilentSound g_silent;
CSoundService* g_pService = &g_silent;
} // namespace

CSoundService& SoundService() {
    return *g_pService;
}

void SetSoundService(CSoundService* pService) {
    g_pService = pService ? pService : &g_silent;
}
