#pragma once

#include <QString>

// The workbench's sound effects: short WAV files in the "sound" folder below the program
// folder. One effect plays at a time; starting one stops the one before. Neither call
// reports failure: a missing file gives the desktop's beep instead.
void PlayEffect(const char* szName, bool bLooped);
void StopEffects();

// For tests and diagnostics: the effect that was started last and is not stopped, or empty.
QString CurrentEffect();
bool CurrentEffectLooped();
// Builds the path of an effect from the program folder; empty when it would not fit the
// 300-byte path buffer (such an effect is skipped).
QString EffectPath(const QString& strProgramFolder, const char* szName);
