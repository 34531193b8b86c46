#include "app/Keyboard.h"

#include "forms/Fonts.h"
#include "questionbase/GameState.h"
#include "forms/MessageBox.h"
#include "forms/Palette.h"
#include "forms/Press.h"
#include "app/TFormMain.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>

#include <array>
#include <utility>

namespace {

// X11 key codes of the physical keys A B C D and 1 2 3 4 (and the keypad's
// 1 2 3 4): the same keys whatever the layout.
int placeOfX11Code(quint32 code)
{
    switch (code) {
    case 38: case 10: case 87: return 1; // A, 1, keypad 1
    case 56: case 11: case 88: return 2; // B, 2, keypad 2
    case 54: case 12: case 89: return 3; // C, 3, keypad 3
    case 40: case 13: case 83: return 4; // D, 4, keypad 4
    default: return 0;
    }
}

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

constexpr int KeyM_X11 = 58;

bool isKey(const QKeyEvent &event, Qt::Key latin, char16_t cyrillic, quint32 x11Code)
{
    if (onX11() && event.nativeScanCode() != 0)
        return event.nativeScanCode() == x11Code;
    return event.key() == latin || event.key() == int(cyrillic);
}

} // namespace

namespace {

// The key list, as the F1 panel shows it.
const std::pair<const char *, const char *> KeyList[] = {
    {"A B C D, 1 2 3 4", "ответ"},
    {"Ctrl+N", "новая игра"},
    {"Ctrl+Backspace", "забрать деньги"},
    {"F2", "50 на 50"},
    {"F3", "звонок другу"},
    {"F4", "помощь зала"},
    {"Enter", "OK, позвонить"},
    {"↑ ↓, PgUp PgDn", "имя, вопросник"},
    {"0..9  *  #", "телефон"},
    {"M", "звук вкл./выкл."},
    {"F11", "полный экран или окно"},
    {"F1, Esc", "убрать этот список"},
    {"Ctrl+Q", "выход"},
};

} // namespace

QString Keyboard::KeysText()
{
    QString text = QStringLiteral("Клавиши");
    for (const auto &[keys, what] : KeyList)
        text += QStringLiteral("\n%1: %2").arg(QString::fromUtf8(keys), QString::fromUtf8(what));
    return text;
}

namespace {

QString keysTable()
{
    QString html = QStringLiteral("<p align=\"center\" style=\"font-size: 20px; color: rgb(251, 152, 0)\">"
                                  "<b>Клавиши</b></p><table cellspacing=\"0\" cellpadding=\"3\">");
    for (const auto &[keys, what] : KeyList)
        html += QStringLiteral("<tr><td style=\"color: rgb(255, 255, 0)\"><b>%1</b></td>"
                               "<td width=\"18\"></td><td>%2</td></tr>")
                    .arg(QString::fromUtf8(keys).toHtmlEscaped(), QString::fromUtf8(what));
    return html + QStringLiteral("</table>");
}

} // namespace

Keyboard::Keyboard(TFormMain &main) : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("Keyboard"));
    m_keysPanel = new QLabel(&main);
    m_keysPanel->setObjectName(QStringLiteral("KeysPanel"));
    m_keysPanel->setAccessibleName(QStringLiteral("Клавиши"));
    m_keysPanel->setTextFormat(Qt::RichText);
    m_keysPanel->setText(keysTable());
    m_keysPanel->setAccessibleDescription(KeysText());
    m_keysPanel->setFont(GameFont(FontFamily::Tahoma, 15));
    m_keysPanel->setMargin(18);
    m_keysPanel->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background-color: rgb(16, 8, 41);"
        " border: 2px solid rgb(160, 170, 255); border-radius: 14px; }"));
    // The list only informs: the mouse and the countdown go on beneath it.
    m_keysPanel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_keysPanel->hide();
    qApp->installEventFilter(this);
}

int Keyboard::AnswerPlace(const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    if (onX11() && event.nativeScanCode() != 0)
        return placeOfX11Code(event.nativeScanCode());
    switch (event.key()) {
    case Qt::Key_A: case Qt::Key_1: case 0x0424: return 1; // Ф
    case Qt::Key_B: case Qt::Key_2: case 0x0418: return 2; // И
    case Qt::Key_C: case Qt::Key_3: case 0x0421: return 3; // С
    case Qt::Key_D: case Qt::Key_4: case 0x0412: return 4; // В
    default: return 0;
    }
}

int Keyboard::PadKey(const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return -1;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    if (key == Qt::Key_Asterisk)
        return 10;
    if (key == Qt::Key_NumberSign || event.text() == QStringLiteral("№"))
        return 11;
    return -1;
}

bool Keyboard::shown(const QWidget *dialog)
{
    return dialog && dialog->isVisible();
}

QWidget *Keyboard::dialogButton(QWidget *dialog, const char *name) const
{
    return dialog ? dialog->findChild<QWidget *>(QString::fromLatin1(name)) : nullptr;
}

QWidget *Keyboard::targetFor(const QKeyEvent &event) const
{
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (shown(m_main.FormNewNameGamer()))
            return dialogButton(m_main.FormNewNameGamer(), "LabelBtnOk");
        if (shown(m_main.FormTop5()))
            return dialogButton(m_main.FormTop5(), "LabelBtnOk");
        // Dials like "*": a screen reader takes the keypad's "*" for itself.
        if (shown(m_main.FormPromptTelephone()))
            return dialogButton(m_main.FormPromptTelephone(), "LabelStartNum");
        return nullptr;
    }
    if (key == Qt::Key_Escape && shown(m_main.FormAbout()))
        return dialogButton(m_main.FormAbout(), "ImageOk");
    // The arrows beside the name and the base; the name box takes every
    // other key while the new-game dialog is up.
    if (shown(m_main.FormNewNameGamer())) {
        QWidget *dialog = m_main.FormNewNameGamer();
        switch (key) {
        case Qt::Key_Up: return dialogButton(dialog, "LabelNextN1");
        case Qt::Key_Down: return dialogButton(dialog, "LabelNextN2");
        case Qt::Key_PageUp: return dialogButton(dialog, "LabelBckB");
        case Qt::Key_PageDown: return dialogButton(dialog, "LabelNxtB");
        default: return nullptr;
        }
    }
    if (shown(m_main.FormPromptTelephone())) {
        const int pad = PadKey(event);
        if (pad < 0)
            return nullptr;
        static const char *const names[] = {"Label0", "Label1", "Label2", "Label3", "Label4", "Label5",
                                            "Label6", "Label7", "Label8", "Label9", "LabelStartNum", "LabelReset"};
        return dialogButton(m_main.FormPromptTelephone(), names[pad]);
    }
    const bool playing = m_main.state().GameActive;
    if (ctrl && isKey(event, Qt::Key_N, u'Т', 57))
        return playing ? nullptr : m_main.LabelBtnNewGame;
    if (ctrl && key == Qt::Key_Backspace)
        return playing ? m_main.LabelBtnNewGame : nullptr;
    if (!ctrl) {
        switch (key) {
        case Qt::Key_F2: return m_main.LabelPrompt50;
        case Qt::Key_F3: return m_main.LabelPromptTel;
        case Qt::Key_F4: return m_main.LabelPromptMan;
        default: break;
        }
        const std::array<QLabel *, 5> places{nullptr, m_main.LabelClkA, m_main.LabelClkB,
                                             m_main.LabelClkC, m_main.LabelClkD};
        if (const int place = AnswerPlace(event))
            return places[place];
    }
    return nullptr;
}

bool Keyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != &m_main)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    // A message waiting for its answer takes every key but F11: the game may
    // change its window under the message, which stays up.
    const bool f11 = key->key() == Qt::Key_F11 && !(key->modifiers() & Qt::ControlModifier);
    if (MessageShown(&m_main) && !f11)
        return false;
    return event->type() == QEvent::KeyPress ? keyPressed(key) : keyReleased(key);
}

int Keyboard::heldKey(const QKeyEvent &event)
{
    // Scan codes and Qt's key codes never meet: a scan code is kept above
    // every key code.
    constexpr int scanCodeMark = 1 << 30;
    if (event.nativeScanCode() != 0)
        return scanCodeMark | int(event.nativeScanCode());
    return event.key();
}

bool Keyboard::keyPressed(QKeyEvent *event)
{
    const int key = heldKey(*event);
    if (event->isAutoRepeat())
        return m_held.contains(key) || m_heldActions.contains(key);
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int qtKey = event->key();

    std::function<void()> action;
    if (ctrl && isKey(*event, Qt::Key_Q, u'Й', 24))
        action = [this] { m_main.close(); };
    else if (qtKey == Qt::Key_F1 && !ctrl)
        action = [this] { toggleKeysPanel(); };
    else if (qtKey == Qt::Key_F11 && !ctrl)
        action = [this] { if (m_toggleWindow) m_toggleWindow(); };
    else if (qtKey == Qt::Key_Escape && m_keysPanel->isVisible())
        action = [this] { m_keysPanel->hide(); };
    else if (!ctrl && !shown(m_main.FormNewNameGamer()) && isKey(*event, Qt::Key_M, u'Ь', KeyM_X11))
        action = [this] { if (m_toggleSound) m_toggleSound(); };
    if (action) {
        m_heldActions.insert(key, std::move(action));
        return true;
    }

    QWidget *target = targetFor(*event);
    if (!target)
        return false;
    // Any key that plays puts the key list away.
    m_keysPanel->hide();
    m_held.insert(key, target);
    PressArea::Of(target)->keyPress();
    return true;
}

bool Keyboard::keyReleased(QKeyEvent *event)
{
    const int key = heldKey(*event);
    if (event->isAutoRepeat())
        return m_held.contains(key) || m_heldActions.contains(key);
    if (auto action = m_heldActions.take(key); action) {
        action();
        return true;
    }
    if (!m_held.contains(key))
        return false;
    const QPointer<QWidget> target = m_held.take(key);
    if (target)
        PressArea::Of(target)->keyRelease();
    return true;
}

void Keyboard::toggleKeysPanel()
{
    if (m_keysPanel->isVisible()) {
        m_keysPanel->hide();
        return;
    }
    m_keysPanel->adjustSize();
    const QRect area = m_main.rect();
    m_keysPanel->move(area.center() - m_keysPanel->rect().center());
    m_keysPanel->raise();
    m_keysPanel->show();
}
