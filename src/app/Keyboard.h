#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
#include <QLabel>
class QWidget;
class TFormMain;

// The game played from the keyboard. Every key that stands for a button works
// through that button's press area: the key's press shows the pressed look,
// its release acts, and only if the button still means what it meant at the
// press (exactly as a mouse click). Held keys do not repeat.
//
//   A B C D, 1 2 3 4   the answer places (the same physical keys in every
//                      layout: Ф И С В on a Russian one)
//   Ctrl+N             "Новая игра..." between games
//   Ctrl+Backspace     "Забрать деньги..." during a game
//   F2 F3 F4           fifty-fifty, phone-a-friend, ask-the-audience
//   Enter              confirms the new-game dialog, closes the leaderboard
//   Up Down, PgUp PgDn the known names and the bases in the new-game dialog
//   0..9 * #           the phone's keypad while it is up
//   Esc                closes the about box and the key list
//   M                  sound off and on
//   F11                full screen or a window
//   F1                 the key list over the stage
//   Ctrl+Q             closes the game like "X"
class Keyboard : public QObject {
    Q_OBJECT

public:
    // Watches the key events of `main` and of the panels on it.
    explicit Keyboard(TFormMain &main);

    // What M and F11 do (the program wires the sound and the window).
    void setOnToggleSound(std::function<void()> handler) { m_toggleSound = std::move(handler); }
    void setOnToggleWindow(std::function<void()> handler) { m_toggleWindow = std::move(handler); }

    // The answer place (1..4) a key stands for, or 0.
    static int AnswerPlace(const QKeyEvent &event);
    // The phone keypad key (0..9, 10 for "*", 11 for "#") a key stands for, or -1.
    static int PadKey(const QKeyEvent &event);

    // The key list panel (F1).
    QWidget *KeysPanel() const { return m_keysPanel; }
    static QString KeysText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The press area a key press stands for now; nullptr for none.
    QWidget *targetFor(const QKeyEvent &event) const;
    bool keyPressed(QKeyEvent *event);
    bool keyReleased(QKeyEvent *event);
    QWidget *dialogButton(QWidget *dialog, const char *name) const;
    static bool shown(const QWidget *dialog);
    void toggleKeysPanel();
    // Which key a press or release is: the physical key where the window
    // system names it, so that a release after Shift was let go ("*" is
    // Shift+8 on many keyboards) still ends the press it began.
    static int heldKey(const QKeyEvent &event);

    TFormMain &m_main;
    QLabel *m_keysPanel = nullptr;
    // The area each held key pressed, by heldKey().
    QHash<int, QPointer<QWidget>> m_held;
    // Keys whose release does something of its own (F1, M, F11, Esc).
    QHash<int, std::function<void()>> m_heldActions;
    std::function<void()> m_toggleSound;
    std::function<void()> m_toggleWindow;
};
