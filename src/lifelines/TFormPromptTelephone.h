#pragma once

#include "forms/DialogPanel.h"

#include <QString>

#include <array>

namespace Accessible { class Voice; }
class QLabel;
class QTimer;
class RandomGenerator;
class DialogHost;
class TThreadedTimer;
class GameSession;

// The phone-a-friend dialog: a keypad on which the player dials a friend's
// 5- to 7-digit number within 30 seconds. The friend names the text of one
// answer; how reliable he is depends on the number and on the difficulty
// tier. While it is shown the stage is held (its question countdown
// stands still); when it hides, its last message goes to the host's label
// of the main window.
class TFormPromptTelephone : public DialogPanel {
    Q_OBJECT

public:
    TFormPromptTelephone(GameSession &session, DialogHost &host);
    ~TFormPromptTelephone() override;

    // Keys of the pad besides the digits 0..9.
    static constexpr int KeyStartNum = 10; // "*": call
    static constexpr int KeyReset = 11;    // "#": clear the number
    static constexpr int KeyCount = 12;

    // Controls, bottom of the stack first.
    QLabel *ImageForm = nullptr;
    QLabel *LabelTitle = nullptr;
    // Key caps and key labels by key: 0..9 are the digits (Image[1] is
    // Image1), then KeyStartNum and KeyReset.
    std::array<QLabel *, KeyCount> Image{};
    std::array<QLabel *, KeyCount> Label{};
    QLabel *&ImageStartNum = Image[KeyStartNum];
    QLabel *&ImageReset = Image[KeyReset];
    QLabel *&LabelStartNum = Label[KeyStartNum];
    QLabel *&LabelReset = Label[KeyReset];
    QLabel *LabelTimer = nullptr;
    QLabel *LabelNumber = nullptr;
    QLabel *LabelDialog = nullptr;
    QTimer *TimerAutoClose = nullptr;
    TThreadedTimer *Timer = nullptr;

    // Handlers.
    void KeyMouseDown(int key);
    void KeyMouseUp(int key);
    void LabelStartNumMouseDown() { KeyMouseDown(KeyStartNum); }
    void LabelStartNumMouseUp() { KeyMouseUp(KeyStartNum); }
    void LabelResetMouseDown() { KeyMouseDown(KeyReset); }
    void LabelResetMouseUp() { KeyMouseUp(KeyReset); }
    void TimerTimer();
    void TimerAutoCloseTimer();
    void FormShow() override;
    void FormHide() override;

    // State of the dialog.
    int CallSecondsLeft() const { return m_callSecondsLeft; }
    const QString &FriendAnswer() const { return m_friendAnswer; }
    int ReliabilityDivisor() const { return m_reliabilityDivisor; }
    QString DialledNumber() const;

    // The generator behind the friend's answer (the game's own by default).
    void setRandom(RandomGenerator &random) { m_random = &random; }

signals:
    // A callable number was dialled: the friend picks up.
    void callMade();

private:
    // Shows a line of the call and has screen readers speak it.
    void say(const QString &line);
    void buildControls();
    void setKeysEnabled(bool enabled);
    void pressDigit(int digit);
    void pressStartNum();
    void setTimerColor(const QColor &color);

    GameSession &m_session;
    RandomGenerator *m_random;

    int m_callSecondsLeft = 30;
    QString m_friendAnswer;
    Accessible::Voice *m_voice = nullptr; // the friend's line for screen readers
    int m_reliabilityDivisor = 0;
};
