#include "game/Ladder.h"

#include "questionbase/MoneyLadder.h"

namespace Ladder {

QString MarkerPicture(Marker marker)
{
    switch (marker) {
    case Marker::Yellow:
        return QStringLiteral("YELLOW");
    case Marker::Green:
        return QStringLiteral("GREEN");
    case Marker::Red:
        return QStringLiteral("RED");
    case Marker::None:
        break;
    }
    return QStringLiteral("NONE");
}

namespace {

QString HostMessage(int questionNumber, const QString &name)
{
    switch (questionNumber) {
    case 1:
        return QStringLiteral("Ну что, ") + name
            + QStringLiteral(", приступим к штурму миллиона? Вот вам вопросик на 100 рублей. Я думаю, "
                             "что вы выиграете эти деньги, ответив на данный вопрос. Удачи!");
    case 2:
        return QStringLiteral("Поздравляю вас, ") + name
            + QStringLiteral("! Вы даете успехи! Вы только-что выиграли 100 рублей, но вы их можете и "
                             "проиграть, ответив неверно на вопрос, который должен удвоить ваш "
                             "выигрыш. А вот и он:");
    case 3:
        return name
            + QStringLiteral(", вы выиграли 200 рублей! Мои вам поздравления! Вот вам вопрос на 300 "
                             "рублей:");
    case 4:
        return name
            + QStringLiteral(", опять вы дали верный ответ! Теперь ваш выигрыш составляет 300 рублей! "
                             "Помните, что вопросы будут еще сложнее, поэтому все ваши подсказки "
                             "постарайтесь сберечь на более трудные вопросы, чем этот.");
    case 5:
        return name
            + QStringLiteral(", вы все-таки выиграли 500 рублей! Впереди вас ждет первая несгораемая "
                             "сумма в 1000 рублей! А вот очередной вопрос:");
    case 6:
        return name
            + QStringLiteral(", вы выиграли первую несгораемую сумму в 1000 рублей! Смелее отвечайте "
                             "на этот вопрос т.к. вы свою \"Штуку\" не потеряете!");
    case 7:
        return name
            + QStringLiteral(", вы удвоили свою первую несгораемую сумму в 1000 рублей! Хотите "
                             "удвоиться еще раз? Тогда отвечайте на этот вопрос:");
    case 8:
        return name
            + QStringLiteral(", теперь ваш выигрыш составляет 4000 рублей! Так держать! Вопросы "
                             "теперь очень трудные, поэтому можете взять одну из подсказок.");
    case 9:
        return QStringLiteral("Становится немного горячо! ") + name
            + QStringLiteral(", теперь 8000 рублей ваши, если вы их не проиграете!");
    case 10:
        return name
            + QStringLiteral(", хотите вторую несгораемую сумму? Тогда отвечайте на этот вопрос:");
    case 11:
        return name
            + QStringLiteral(", считайте, что 32000 уже лежат у вас в кармане т.к. вы выиграли вторую "
                             "несгораемую сумму! Хотите большего? Дерзайте! Вам сейчас нечего "
                             "терять!");
    case 12:
        return name
            + QStringLiteral(", вы удвоили свой выигрыш! Теперь он составляет 64000 рублей! Вот "
                             "вопрос, который может принести вам 125000 рублей:");
    case 13:
        return name
            + QStringLiteral(", 125000 рублей ваши! Прежде, чем отвечать на этот вопрос задумайтесь. "
                             "Ведь ответив неправильно вы теряете 93000 рублей, но ответив верно "
                             "выигрываете 250000 рублей!");
    case 14:
        return QStringLiteral("Сейчас обстановка очень горячая. ") + name
            + QStringLiteral(", берите деньги! Вам что? Мало 250000 рублей?");
    case 15:
        return name
            + QStringLiteral(", вы уже почти миллионер! Может все-таки заберете деньги? Ведь вы "
                             "можете потерять 468000 рублей! Проснитесь!");
    case 16:
        return name
            + QStringLiteral(", вы миллионер! Такое бывает раз в жизни! Это просто чудо! У меня к вам "
                             "возникает вопрос: \"Что вы с ним собираетесь делать?\".");
    default:
        return QString();
    }
}

} // namespace

Step StepFor(int questionNumber, const QString &name)
{
    Step step;
    if (questionNumber < 1 || questionNumber > MoneyLadder::TopStep + 1)
        return step;

    if (questionNumber == 1)
        step.tier = 1;
    else if (questionNumber == 5)
        step.tier = 2;
    else if (questionNumber == 10)
        step.tier = 3;

    step.drawsQuestion = questionNumber <= MoneyLadder::TopStep;
    step.endsGame = !step.drawsQuestion;
    // The prize of the step just won: nothing yet before question 1.
    step.winnings = MoneyLadder::SumOfStep(questionNumber - 1);
    if (questionNumber > 1)
        step.markers.append({questionNumber - 1, Marker::Green});
    if (questionNumber <= MoneyLadder::TopStep)
        step.markers.append({questionNumber, Marker::Yellow});
    step.message = HostMessage(questionNumber, name);
    return step;
}

int SafeSum(int winnings)
{
    if (winnings >= 32000)
        return 32000;
    if (winnings >= 1000)
        return 1000;
    return 0;
}

WrongOutcome WrongAnswer(const GameState &state, const QString &chosen)
{
    WrongOutcome outcome;
    outcome.winnings = SafeSum(state.Winnings);
    outcome.redMarker = state.QuestionNumber;
    outcome.message = state.PlayerName + QStringLiteral(", на ") + QString::number(state.QuestionNumber)
        + QStringLiteral(" вопросе вы ответили ") + chosen
        + QStringLiteral(". К сожалению это был не верный ответ, а правильный ответ это ")
        + state.CurrentQuestion.Answers[1] + QStringLiteral(". Ваш выигрыш составил ")
        + QString::number(outcome.winnings)
        + QStringLiteral(" рублей. Да не расстраивайтесь, а попробуйте еще раз приступить к штурму "
                         "миллиона!");
    return outcome;
}

} // namespace Ladder
