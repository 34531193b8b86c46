// The main window for screen readers: every control's role and name, and the
// question and the host's words announced whenever they change.
#include "app/TFormMain.h"

#include "forms/Accessible.h"
#include "forms/AutoSizeLabel.h"
#include "game/GameSession.h"
#include "questionbase/MoneyLadder.h"
#include "widgets/TLCD99.h"

#include <QLabel>

namespace {

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
    Describe(LabelQuestion, QAccessible::StaticText, textOf(LabelQuestion));
    LabelQuestion->setAccessibleDescription(QStringLiteral("Вопрос"));
    Describe(LabelDialog, QAccessible::StaticText, textOf(LabelDialog));
    LabelDialog->setAccessibleDescription(QStringLiteral("Ведущий"));
    Describe(LabelTimer, QAccessible::Clock, [this] {
        return LabelTimer->text().isEmpty() ? QStringLiteral("Осталось секунд: нет")
                                            : QStringLiteral("Осталось секунд: ") + LabelTimer->text();
    });
    Describe(LCD99, QAccessible::Clock, [this] { return QStringLiteral("Время игры ") + LCD99->Value(); });
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

    // What changes is read out: the new question with its answers, the host.
    connect(session, &GameSession::questionShown, this, [this] {
        Accessible::Announce(LabelQuestion);
        for (QLabel *area : {LabelClkA, LabelClkB, LabelClkC, LabelClkD})
            Accessible::Announce(area);
    });
    connect(session, &GameSession::answerRemoved, this, [this](int place) {
        const std::array<QLabel *, 5> areas{nullptr, LabelClkA, LabelClkB, LabelClkC, LabelClkD};
        if (place >= 1 && place <= 4)
            Accessible::Announce(areas[place]);
    });
    connect(session, &GameSession::hostSaid, this, [this] { Accessible::Announce(LabelDialog); });
}
