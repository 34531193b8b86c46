#include "lifelines/TFormPromptTelephone.h"

#include "forms/Accessible.h"

#include "art/Art.h"
#include "forms/DialogHost.h"
#include "forms/Fonts.h"
#include "game/GameSession.h"
#include "lifelines/LifelineRules.h"
#include "questionbase/Random.h"
#include "forms/Palette.h"
#include "forms/Press.h"
#include "widgets/TThreadedTimer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor &Lime = Palette::Lime;
const QColor &Yellow = Palette::Yellow;
const QColor &Red = Palette::Red;

const QString FirstGreeting = u"Итак, кому будем звонить?"_s;
const QString LaterGreeting = u"А кому сейчас будем звонить?"_s;

// Keypad grid: columns and rows of the key caps, rows read 1 2 3 / 4 5 6 /
// 7 8 9 / * 0 #.
constexpr int KeyColumns[3] = {10, 64, 118};
constexpr int KeyRows[4] = {42, 79, 116, 153};
constexpr QSize KeySize(51, 35);

QPoint KeyPlace(int key)
{
    switch (key) {
    case TFormPromptTelephone::KeyStartNum: return {KeyColumns[0], KeyRows[3]};
    case 0: return {KeyColumns[1], KeyRows[3]};
    case TFormPromptTelephone::KeyReset: return {KeyColumns[2], KeyRows[3]};
    default: return {KeyColumns[(key - 1) % 3], KeyRows[(key - 1) / 3]};
    }
}

QString KeyName(int key)
{
    switch (key) {
    case TFormPromptTelephone::KeyStartNum: return u"StartNum"_s;
    case TFormPromptTelephone::KeyReset: return u"Reset"_s;
    default: return QString::number(key);
    }
}

QString KeyText(int key)
{
    switch (key) {
    case TFormPromptTelephone::KeyStartNum: return u"*"_s;
    case TFormPromptTelephone::KeyReset: return u"#"_s;
    default: return QString::number(key);
    }
}

void SetTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, color);
    label->setPalette(palette);
}

QLabel *MakeText(QWidget *parent, const QString &name, const QRect &rect, const QFont &font,
                 const QColor &color, const QString &text)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(rect);
    label->setFont(font);
    SetTextColor(label, color);
    label->setText(text);
    return label;
}

QLabel *MakePicture(QWidget *parent, const QString &form, const QString &name, const QRect &rect)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(rect);
    label->setPixmap(Art::Picture(form + u'/' + name));
    return label;
}

} // namespace

TFormPromptTelephone::TFormPromptTelephone(GameSession &session, DialogHost &host)
    : DialogPanel(&host, host.DialogSurface(), u"Звонок другу"_s, QSize(576, 228), Palette::Night)
    , m_session(session)
    , m_random(&SystemRandom())
{
    setObjectName(u"TFormPromptTelephone"_s);
    Palette::SetTextColour(this, Palette::White);
    setFont(GameFont(FontFamily::Arial, 11, true));

    buildControls();

    TimerAutoClose = new QTimer(this);
    TimerAutoClose->setObjectName(u"TimerAutoClose"_s);
    TimerAutoClose->setInterval(3000);
    connect(TimerAutoClose, &QTimer::timeout, this, &TFormPromptTelephone::TimerAutoCloseTimer);

    Timer = new TThreadedTimer(this);
    Timer->setObjectName(u"Timer"_s);
    Timer->setThreadPriority(TThreadedTimer::tpHighest);
    Timer->setInterval(1000);
    Timer->setOnTimer([this] { TimerTimer(); });
}

TFormPromptTelephone::~TFormPromptTelephone()
{
    // Stop the worker before the controls that its handler touches go away.
    delete Timer;
    Timer = nullptr;
}

void TFormPromptTelephone::buildControls()
{
    const QString form = objectName();
    ImageForm = MakePicture(this, form, u"ImageForm"_s, QRect(0, 0, 576, 228));

    LabelTitle = MakeText(this, u"LabelTitle"_s, QRect(12, 7, 148, 25),
                          GameFont(FontFamily::Arial, 13, true), Qt::white, u"Звонок другу"_s);
    DragBy(LabelTitle);

    // Key caps first, in reading order of the pad, then the keys over them.
    const int order[KeyCount] = {1, 2, 3, 4, 5, 6, 7, 8, 9, KeyStartNum, 0, KeyReset};
    for (int key : order)
        Image[key] = MakePicture(this, form, u"Image"_s + KeyName(key), QRect(KeyPlace(key), KeySize));
    const QFont keyFont = GameFont(FontFamily::Arial, 21, true);
    for (int key : order) {
        QRect rect(KeyPlace(key), KeySize);
        if (key == 3)
            rect.setWidth(49);
        Label[key] = MakeText(this, u"Label"_s + KeyName(key), rect, keyFont, Qt::white, KeyText(key));
        PressArea *press = PressArea::Of(Label[key]);
        press->setOnPress([this, key](QMouseEvent *) { KeyMouseDown(key); });
        press->setOnRelease([this, key](QMouseEvent *) { KeyMouseUp(key); });
        // A key held while the call was made or the time ran out dials
        // nothing when it comes up.
        press->setOnRestore([this, key] { Image[key]->show(); });
        Accessible::Describe(Label[key], QAccessible::Button, KeyText(key));
    }
    m_voice = new Accessible::Voice(this);
    LabelStartNum->setToolTip(u"Позвонить по данному номеру"_s);
    LabelReset->setToolTip(u"Сброс"_s);

    LabelTimer = MakeText(this, u"LabelTimer"_s, QRect(526, 5, 26, 30),
                          GameFont(FontFamily::TimesNewRoman, 19, true), Lime, u"30"_s);
    LabelTimer->setCursor(Qt::WaitCursor);
    LabelNumber = MakeText(this, u"LabelNumber"_s, QRect(32, 192, 113, 26),
                           GameFont(FontFamily::Arial, 16, true), Qt::white, QString());
    LabelDialog = MakeText(this, u"LabelDialog"_s, QRect(192, 24, 369, 193),
                           GameFont(FontFamily::TimesNewRoman, 24), Qt::white, FirstGreeting);
    LabelDialog->setWordWrap(true);
}

QString TFormPromptTelephone::DialledNumber() const
{
    return LabelNumber->text();
}

void TFormPromptTelephone::setKeysEnabled(bool enabled)
{
    for (QLabel *key : Label)
        key->setEnabled(enabled);
}

void TFormPromptTelephone::setTimerColor(const QColor &color)
{
    SetTextColor(LabelTimer, color);
}

void TFormPromptTelephone::KeyMouseDown(int key)
{
    Image[key]->hide(); // the orange oval of the background shows: the key is down
}

void TFormPromptTelephone::KeyMouseUp(int key)
{
    Image[key]->show();
    if (key == KeyStartNum)
        pressStartNum();
    else if (key == KeyReset)
        LabelNumber->clear();
    else
        pressDigit(key);
}

void TFormPromptTelephone::pressDigit(int digit)
{
    const QString number = LabelNumber->text();
    if (number.size() >= Lifelines::MaxDialledDigits) {
        QApplication::beep();
        return;
    }
    LabelNumber->setText(number + QString::number(digit));
}

void TFormPromptTelephone::pressStartNum()
{
    const QString number = LabelNumber->text();
    if (!Lifelines::IsCallable(number)) {
        say(Lifelines::CallRefusedMessage(m_session.state().PlayerName));
        return;
    }
    TimerAutoClose->start();
    Timer->setEnabled(false);
    emit callMade();

    m_reliabilityDivisor = Lifelines::ReliabilityDivisor(number, m_session.state().DifficultyTier);
    const int answer = Lifelines::FriendAnswer(m_reliabilityDivisor, *m_random);
    m_friendAnswer = m_session.state().CurrentQuestion.Answers[answer];
    say(Lifelines::CallMessage(m_session.state().PlayerName, number, m_friendAnswer));
    setKeysEnabled(false);
}

void TFormPromptTelephone::TimerTimer()
{
    --m_callSecondsLeft;
    const Lifelines::DialState dialState = Lifelines::StateOfNumber(LabelNumber->text());
    if (m_callSecondsLeft == 20) {
        setTimerColor(Yellow);
        say(Lifelines::CountdownMessage(20, dialState, m_session.state().PlayerName));
    }
    if (m_callSecondsLeft == 10) {
        setTimerColor(Red);
        say(Lifelines::CountdownMessage(10, dialState, m_session.state().PlayerName));
    }
    if (m_callSecondsLeft == 0) {
        Timer->setEnabled(false);
        TimerAutoClose->start();
        setKeysEnabled(false);
        say(Lifelines::CountdownMessage(0, dialState, m_session.state().PlayerName));
    }
    LabelTimer->setText(QString::number(m_callSecondsLeft));
}

void TFormPromptTelephone::TimerAutoCloseTimer()
{
    hide();
}

void TFormPromptTelephone::say(const QString &line)
{
    LabelDialog->setText(line);
    m_voice->Say(line);
}

void TFormPromptTelephone::FormShow()
{
    Timer->setEnabled(true);
    HoldStage();
    // The focus comes to the dialog, so that a screen reader names it and
    // reads its first line; the later lines are said by its voice.
    setFocus(Qt::OtherFocusReason);
}

void TFormPromptTelephone::FormHide()
{
    ReleaseStage();
    m_session.LeaveHostMessage(LabelDialog->text());
    TimerAutoClose->stop();
    // The countdown too: a dialog hidden by other means than its own
    // auto-close must not tick on unseen.
    Timer->setEnabled(false);
    setKeysEnabled(true);
    // A key held down while the keys were disabled never saw its release;
    // show every key cap again so the pad opens unpressed next time.
    for (QLabel *image : Image)
        image->show();
    m_friendAnswer.clear();
    setTimerColor(Lime);
    LabelTimer->setText(u"30"_s);
    LabelDialog->setText(LaterGreeting);
    m_callSecondsLeft = Lifelines::CallSeconds;
}
