#pragma once

// Where the simulation's sound effects go. The workbench plays them; tests record them;
// batch runs keep quiet.
class CSoundService {
public:
    virtual ~CSoundService() = default;
    virtual void PlayEffect(const char* szName, bool bLooped) = 0;
    virtual void StopEffects() = 0;
};

// The service in use; a silent one until the program sets another. Not owned.
CSoundService& SoundService();
void SetSoundService(CSoundService* pService);
