#pragma once

#include "sound/SoundCue.h"

#include <QObject>

#include <array>
#include <memory>

class QSoundEffect;

// Plays the game's cues. Playing never blocks: each cue is a sound effect
// loaded once and started asynchronously, and a cue started again while it
// sounds starts over. Where there is no audio output (no sound server, no
// device) the board stays silent and says nothing.
class SoundBoard : public QObject {
    Q_OBJECT

public:
    explicit SoundBoard(QObject *parent = nullptr);
    ~SoundBoard() override;

    void Play(SoundCue cue);
    // Stops every cue that sounds (a game that ends cuts the countdown).
    void StopAll();

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Whether an audio output was found when the board was made.
    bool HasOutput() const { return m_hasOutput; }

signals:
    void enabledChanged(bool enabled);

private:
    QSoundEffect *Effect(SoundCue cue);

    static constexpr int CueCount = int(SoundCue::Leaderboard) + 1;
    std::array<QSoundEffect *, CueCount> m_effects{};
    bool m_enabled = true;
    bool m_hasOutput = false;
};
