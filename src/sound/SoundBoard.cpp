#include "sound/SoundBoard.h"

#include <QAudioDevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

SoundBoard::SoundBoard(QObject *parent) : QObject(parent)
{
    // A machine without sound is an ordinary place to play: the multimedia
    // library's complaints about it are not the player's business.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.multimedia.*=false"));
    m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
}

SoundBoard::~SoundBoard() = default;

QSoundEffect *SoundBoard::Effect(SoundCue cue)
{
    QSoundEffect *&effect = m_effects[std::size_t(cue)];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc:/sound/%1.wav").arg(QLatin1String(SoundCueName(cue)))));
        effect->setVolume(0.8f);
    }
    return effect;
}

void SoundBoard::Play(SoundCue cue)
{
    if (!m_enabled || !m_hasOutput)
        return;
    QSoundEffect *effect = Effect(cue);
    if (effect->isPlaying())
        effect->stop();
    effect->play();
}

void SoundBoard::StopAll()
{
    for (QSoundEffect *effect : m_effects) {
        if (effect)
            effect->stop();
    }
}

void SoundBoard::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled)
        StopAll();
    emit enabledChanged(enabled);
}
