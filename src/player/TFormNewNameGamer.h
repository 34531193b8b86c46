#pragma once

#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>

class PressLabel;
class QLabel;
class QLineEdit;
class TFormMain;
struct GameState;

// The new-game dialog: the player introduces himself and chooses the question
// base. It reads and writes the settings file Zorban.ini and describes a base
// by its title and question count. Both files are found relative to the
// working directory: Zorban.ini and QA/<base>.
//
// Showing it holds the main window; hiding it lets go and names the player
// there. Closing it through the window system closes the main window.
class TFormNewNameGamer : public QWidget {
    Q_OBJECT

public:
    TFormNewNameGamer(GameState &state, TFormMain &main, QWidget *parent = nullptr);

    static constexpr int FormWidth = 459;
    static constexpr int FormHeight = 183;

    // ---- Controls, in stacking order (bottom first) ----------------------
    QLabel *ImageForm = nullptr;
    QLabel *LabelDialog = nullptr;
    QLabel *ImageBtnOk = nullptr;
    PressLabel *LabelBtnOk = nullptr;
    QLabel *ImageNextN1 = nullptr;
    QLabel *ImageNextN2 = nullptr;
    PressLabel *LabelNextN1 = nullptr;
    PressLabel *LabelNextN2 = nullptr;
    QLabel *LabelNBase = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *ImageBckB = nullptr;
    QLabel *ImageNxtB = nullptr;
    PressLabel *LabelBckB = nullptr;
    PressLabel *LabelNxtB = nullptr;
    QLineEdit *EditNewNameGamer = nullptr;

    // ---- What the dialog remembers for the whole run ----------------------
    QStringList KnownPlayerNames; // most recently added first
    int KnownNameIndex = 0;
    QStringList BaseFileList;     // bases found in QA/
    int BaseFileIndex = 0;
    // The counts of the base last described (index 1..15). They go to the
    // game state as well while no game is running.
    std::array<std::int32_t, 16> DescribedLevelCounts{};

    // ---- Handlers --------------------------------------------------------
    void FormShow();
    void FormHide();
    void FormClose();

    void LabelBtnOkMouseDown();
    void LabelBtnOkMouseUp();
    void LabelNextN1MouseDown();
    void LabelNextN1MouseUp();
    void LabelNextN2MouseDown();
    void LabelNextN2MouseUp();
    void LabelBckBMouseDown();
    void LabelBckBMouseUp();
    void LabelNxtBMouseDown();
    void LabelNxtBMouseUp();

    // Shows the title and question count of QA/<fileName>. False when the
    // base could not be described; the error has then been reported.
    bool DescribeBase(const QString &fileName);

    static QString QAFolder();
    static QString SettingsPath();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void readSettings();
    void chooseBase(int index);
    void findBasesAgainIfNone();
    void showKnownName();
    // A message box once the current event is done (the show sequence runs
    // before the dialog is on screen).
    void reportLater(const QString &text);
    void report(const QString &text);

    GameState &m_state;
    TFormMain &m_main;
    bool m_inShowSequence = false;
};
