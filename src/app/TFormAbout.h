#pragma once

#include <QPixmap>
#include <QUrl>
#include <QWidget>

#include "forms/DialogPanel.h"

class QLabel;
class QTimer;
class TThreadedTimer;

// The about box. At start-up it is a two-second splash; later the "?" button
// shows it until OK is released. A cream sheet of four 125-pixel screens
// scrolls through a small viewport in a repeating cycle of phases.
class TFormAbout : public DialogPanel {
    Q_OBJECT

public:
    // `surface`: the window the box is drawn on; none makes it a window of its own.
    explicit TFormAbout(QWidget *surface = nullptr);
    ~TFormAbout() override;

    // Where the author can be reached; the links open these.
    static inline const QString MailAddress = QStringLiteral("q@example.org");
    static inline const QString WebAddress = QStringLiteral("example.org");
    static QUrl MailUrl();
    static QUrl WebUrl();

    // How long the box rests on the first screen after each showing, and the
    // phase table: the interval that follows a phase and the next phase.
    static constexpr int FirstIntervalMs = 5000;
    static constexpr int IntervalAfterPhase(int phase) { return phase == 4 ? 8000 : 15000; }
    static constexpr int PhaseAfter(int phase) { return phase == 4 ? 1 : phase + 1; }
    static constexpr int ScreenHeight = 125;

    int ScrollPhase() const { return m_scrollPhase; }

    QLabel *ImageAbout = nullptr;
    QLabel *ImageOk = nullptr;
    QWidget *PanelAbout = nullptr;
    QWidget *PanelAnimate = nullptr;
    QLabel *ImageInfo = nullptr;
    QLabel *LabelInfWin = nullptr;
    QLabel *LabelInfText1 = nullptr;
    QLabel *LabelInfWeb = nullptr;
    QLabel *LabelInfMail = nullptr;
    QLabel *LabelMail = nullptr;
    QLabel *LabelWeb = nullptr;
    QLabel *LabelInfAutor = nullptr;
    QLabel *LabelInfDate = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *LabelInfHist1 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *LabelIV4 = nullptr;
    QLabel *LabelDV4 = nullptr;
    QLabel *Label23 = nullptr;
    QLabel *Label24 = nullptr;
    QLabel *LabelTitle = nullptr;
    QLabel *Label25 = nullptr;
    QLabel *Label17 = nullptr;
    QLabel *Label26 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label13 = nullptr;

    QTimer *TimerClose = nullptr;
    QTimer *TimerInterval = nullptr;
    TThreadedTimer *TimerAnimate = nullptr;

    void ImageOkMouseDown();
    void ImageOkMouseUp();
    void LabelMailClick();
    void LabelWebClick();
    void TimerCloseTimer();
    void TimerIntervalTimer();
    void TimerAnimateTimer();
    void FormShow() override;
    void FormHide() override;
    // Closing the box only hides it.
    void FormClose() override {}

    // True while OK is held down (its picture is taken away meanwhile).
    bool OkHeld() const { return m_okHeld; }


private:
    void buildSheet();
    QLabel *sheetLabel(const char *name, int left, int top, const QString &text);

    int m_scrollPhase = 4;
    bool m_okHeld = false;
    QPixmap m_okPicture;
};
