#pragma once

#include "forms/DialogPanel.h"

#include <QStringList>

#include <array>
#include <cstdint>

class PressLabel;
class QLabel;
class QLineEdit;
class DialogHost;
class GameSession;

// The new-game dialog: the player introduces himself and chooses the question
// base. It reads and writes the settings file Zorban.ini and describes a base
// by its title and question count. Both files are found relative to the
// working directory: Zorban.ini and QA/<base>.
//
// Showing it holds the stage; hiding it lets go and names the player on the
// menu panel. Closing it ends the program.
class TFormNewNameGamer : public DialogPanel {
    Q_OBJECT

public:
    TFormNewNameGamer(GameSession &session, DialogHost &host);

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
    void FormShow() override;
    void FormHide() override;

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

    GameSession &m_session;
    bool m_inShowSequence = false;
};
