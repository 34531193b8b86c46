#pragma once

#include "forms/DialogPanel.h"
#include "lifelines/LifelineRules.h"

#include <array>

class QLabel;
class RandomGenerator;
class DialogHost;
class TGauge;
class TThreadedTimer;
class GameSession;

// The ask-the-audience dialog: on opening the studio audience votes, and
// four vertical bars, one per answer place A to D, grow one percent per
// tick to their shares. After 100 ticks it hides itself and the host sums
// the vote up in the main window. The stage is held while it is shown.
class TFormPromptMan : public DialogPanel {
    Q_OBJECT

public:
    TFormPromptMan(GameSession &session, DialogHost &host);
    ~TFormPromptMan() override;

    // Controls, bottom of the stack first.
    QLabel *ImageForm = nullptr;
    TGauge *GaugeA = nullptr;
    TGauge *GaugeB = nullptr;
    TGauge *GaugeC = nullptr;
    TGauge *GaugeD = nullptr;
    QLabel *LabelTitle = nullptr;
    TThreadedTimer *TimerAnimProc = nullptr;

    // The gauges by answer place, 1..4 = A..D (index 0 unused).
    std::array<TGauge *, 5> Gauges() const { return {nullptr, GaugeA, GaugeB, GaugeC, GaugeD}; }

    // Handlers.
    void FormShow() override;
    void FormHide() override;
    void TimerAnimProcTimer();

    // State of the dialog.
    const Lifelines::AudienceShares &AudienceShares() const { return m_audienceShares; }
    int AnimationTicks() const { return m_animationTicks; }

    // The generator behind the vote (the game's own by default).
    void setRandom(RandomGenerator &random) { m_random = &random; }

private:
    GameSession &m_session;
    RandomGenerator *m_random;

    Lifelines::AudienceShares m_audienceShares{};
    int m_animationTicks = 0;
};
