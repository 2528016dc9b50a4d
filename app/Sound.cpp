#include "Sound.h"

#include "ProgramState.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <map>

namespace {

constexpr int kPathBuffer = 300;

struct SSoundState {
    // Loaded once per file; QSoundEffect decodes asynchronously, so keeping them avoids a
    // delay on every play. They belong to the application object, which deletes them.
    std::map<QString, QSoundEffect*> effects;
    QSoundEffect* pCurrent = nullptr;
    QString strCurrent;
    bool bLooped = false;
};

SSoundState& State() {
    static SSoundState state;
    return state;
}

} // namespace

QString EffectPath(const QString& strProgramFolder, const char* szName) {
    const QString strPath = strProgramFolder + QStringLiteral("/sound/") + QLatin1String(szName);
    if (strPath.toLocal8Bit().size() >= kPathBuffer)
        return {};
    return strPath;
}

void PlayEffect(const char* szName, bool bLooped) {
    StopEffects();
    const QString strPath = EffectPath(ProgramState().ProgramFolder(), szName);
    if (strPath.isEmpty())
        return;
    SSoundState& s = State();
    s.strCurrent = QLatin1String(szName);
    s.bLooped = bLooped;
    if (!QFileInfo(strPath).isFile()) {
        QApplication::beep();
        return;
    }
    QSoundEffect*& pEffect = s.effects[strPath];
    if (!pEffect) {
        pEffect = new QSoundEffect(qApp);
        pEffect->setSource(QUrl::fromLocalFile(strPath));
    }
    pEffect->setLoopCount(bLooped ? QSoundEffect::Infinite : 1);
    pEffect->play();
    s.pCurrent = pEffect;
}

void StopEffects() {
    SSoundState& s = State();
    if (s.pCurrent)
        s.pCurrent->stop();
    s.pCurrent = nullptr;
    s.strCurrent.clear();
    s.bLooped = false;
}

QString CurrentEffect() {
    return State().strCurrent;
}

bool CurrentEffectLooped() {
    return State().bLooped;
}
