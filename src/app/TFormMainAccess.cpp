// The main window for screen readers: every control's role and name, and the
// question and the host's words announced whenever they change.
//
// A screen reader speaks what changes on the control that has the keyboard
// focus and keeps quiet about every other one. So between dialogs the focus
// is on the stage's voice, which says what the studio just said: the host's
// words, a new question and its answers, joined into one utterance (one at a
// time, since each one spoken cuts off the one before).
#include "app/TFormMain.h"

#include "forms/Accessible.h"
#include "forms/AutoSizeLabel.h"
#include "game/GameSession.h"
#include "questionbase/MoneyLadder.h"
#include "widgets/TLCD99.h"

#include <QAccessibleInterface>
#include <QEvent>
#include <QLabel>
#include <QStringList>
#include <QTimer>

#include <array>

namespace {

// What the studio says, as a reader hears it: gathered from everything that
// changed in one turn of the event loop, then said once by the stage's voice.
class StageVoice : public QObject {
public:
    // Owned by `owner`, not by the stage, whose children are its controls.
    StageVoice(QObject *owner, QWidget *stage, const QLabel *host, const QLabel *question,
               std::array<QWidget *, 4> answers)
        : QObject(owner), m_stage(stage), m_voice(new Accessible::Voice(stage)), m_host(host),
          m_question(question), m_answers(answers)
    {
        m_flush.setSingleShot(true);
        m_flush.setInterval(0);
        connect(&m_flush, &QTimer::timeout, this, [this] { flush(); });
        stage->installEventFilter(this);
    }

    void hostSaid() { m_hostChanged = true; m_flush.start(); }
    void questionShown() { m_questionChanged = true; m_flush.start(); }
    void answersChanged() { m_answersChanged = true; m_flush.start(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The stage comes back when the last dialog or message lets go of it;
        // the focus they held went with them, so the voice takes it and the
        // reader is not left on a control that is gone.
        if (watched == m_stage && event->type() == QEvent::EnabledChange && m_stage->isEnabled())
            QTimer::singleShot(0, this, [this] {
                if (!m_flush.isActive())
                    m_voice->TakeFocus();
            });
        return QObject::eventFilter(watched, event);
    }

private:
    QString answersText() const
    {
        QStringList places;
        for (QWidget *area : m_answers) {
            QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(area);
            const QString name = reader ? reader->text(QAccessible::Name) : QString();
            if (name.size() > 3) // an emptied place reads "C: "
                places << name;
        }
        return places.join(QStringLiteral(". "));
    }

    void flush()
    {
        QStringList parts;
        if (m_hostChanged && !m_host->text().isEmpty())
            parts << m_host->text();
        if (m_questionChanged && !m_question->text().isEmpty())
            parts << m_question->text();
        if (m_questionChanged || m_answersChanged) {
            const QString answers = answersText();
            if (!answers.isEmpty())
                parts << answers;
        }
        m_hostChanged = m_questionChanged = m_answersChanged = false;
        // While a dialog holds the stage the voice waits for it to come back.
        if (!parts.isEmpty())
            m_voice->Say(parts.join(QLatin1Char(' ')));
    }

    QWidget *m_stage;
    Accessible::Voice *m_voice;
    const QLabel *m_host;
    const QLabel *m_question;
    std::array<QWidget *, 4> m_answers;
    QTimer m_flush;
    bool m_hostChanged = false;
    bool m_questionChanged = false;
    bool m_answersChanged = false;
};

QString markerState(const QString &picture)
{
    if (picture == QLatin1String("YELLOW"))
        return QStringLiteral(", текущий вопрос");
    if (picture == QLatin1String("GREEN"))
        return QStringLiteral(", пройден");
    if (picture == QLatin1String("RED"))
        return QStringLiteral(", ошибка");
    return QString();
}

} // namespace

void TFormMain::describeForScreenReaders()
{
    using Accessible::Describe;
    const auto textOf = [](const QLabel *label) { return [label] { return label->text(); }; };

    setAccessibleName(windowTitle());
    // A window of its own to the reader (a frame), which it names when the
    // game comes to the front.
    Describe(this, QAccessible::Window, [this] { return windowTitle(); });
    Describe(LabelQuestion, QAccessible::StaticText, textOf(LabelQuestion));
    LabelQuestion->setAccessibleDescription(QStringLiteral("Вопрос"));
    Describe(LabelDialog, QAccessible::StaticText, textOf(LabelDialog));
    LabelDialog->setAccessibleDescription(QStringLiteral("Ведущий"));
    // Read as text: a reader knows no clock role and would call them
    // "unknown".
    Describe(LabelTimer, QAccessible::StaticText, [this] {
        return LabelTimer->text().isEmpty() ? QStringLiteral("Осталось секунд: нет")
                                            : QStringLiteral("Осталось секунд: ") + LabelTimer->text();
    });
    Describe(LCD99, QAccessible::StaticText, [this] { return QStringLiteral("Время игры ") + LCD99->Value(); });
    Describe(LabelScore, QAccessible::StaticText,
             [this] { return QStringLiteral("Выигрыш: ") + LabelScore->text(); });

    // The answers are read where they are chosen: each place as "A: ...",
    // empty once fifty-fifty has taken its answer away.
    const std::array<QLabel *, 5> areas{nullptr, LabelClkA, LabelClkB, LabelClkC, LabelClkD};
    for (int place = 1; place <= 4; ++place) {
        const QLabel *answer = answerLabel(place);
        const QChar letter(u'A' + (place - 1));
        Describe(areas[place], QAccessible::Button, [answer, letter] {
            return QString(letter) + QStringLiteral(": ") + (answer->isVisibleTo(answer->parentWidget())
                                                               ? answer->text() : QString());
        });
    }
    Describe(LabelPrompt50, QAccessible::Button, QStringLiteral("50 на 50"));
    Describe(LabelPromptTel, QAccessible::Button, QStringLiteral("Звонок другу"));
    Describe(LabelPromptMan, QAccessible::Button, QStringLiteral("Помощь зала"));
    Describe(LabelBtnNewGame, QAccessible::Button, textOf(LabelBtnNewGame));
    Describe(LabelNewName, QAccessible::Button, textOf(LabelNewName));
    Describe(LabelBtnClose, QAccessible::Button, QStringLiteral("Выход"));
    Describe(LabelBtnAbout, QAccessible::Button, QStringLiteral("О программе"));

    // The ladder: each step with its sum and where the game stands on it.
    for (int step = 1; step <= 15; ++step) {
        QLabel *marker = ImagePos[step];
        marker->setProperty("marker", QStringLiteral("NONE"));
        Describe(marker, QAccessible::ListItem, [marker, step] {
            return QStringLiteral("Вопрос %1: %2 рублей").arg(step).arg(MoneyLadder::SumOfStep(step))
                + markerState(marker->property("marker").toString());
        });
    }
    GameSession *session = &m_session;
    connect(session, &GameSession::markerChanged, this, [this](int position, const QString &picture) {
        if (position >= 1 && position <= 15)
            ImagePos[position]->setProperty("marker", picture);
    });
    connect(session, &GameSession::boardCleared, this, [this] {
        for (int step = 1; step <= 15; ++step)
            ImagePos[step]->setProperty("marker", QStringLiteral("NONE"));
    });

    auto *voice = new StageVoice(this, Stage, LabelDialog, LabelQuestion, {LabelClkA, LabelClkB, LabelClkC, LabelClkD});

    // What changes is read out: the new question with its answers, the host.
    connect(session, &GameSession::questionShown, this, [this, voice] {
        Accessible::Announce(LabelQuestion);
        for (QLabel *area : {LabelClkA, LabelClkB, LabelClkC, LabelClkD})
            Accessible::Announce(area);
        voice->questionShown();
    });
    connect(session, &GameSession::answerRemoved, this, [this, voice](int place) {
        const std::array<QLabel *, 5> areas{nullptr, LabelClkA, LabelClkB, LabelClkC, LabelClkD};
        if (place >= 1 && place <= 4)
            Accessible::Announce(areas[place]);
        voice->answersChanged();
    });
    connect(session, &GameSession::hostSaid, this, [this, voice] {
        Accessible::Announce(LabelDialog);
        voice->hostSaid();
    });
}
