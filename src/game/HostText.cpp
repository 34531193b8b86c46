#include "game/HostText.h"

namespace HostText {

QString TakeMoney(const GameState &state)
{
    return state.PlayerName + QStringLiteral(", на ") + QString::number(state.QuestionNumber)
        + QStringLiteral(" вопросе вы прекратили игру и забрали деньги. Вы так и не решились "
                         "что-нибудь ответить, а верный ответ был ")
        + state.CurrentQuestion.Answers[1] + QStringLiteral(". Ваш выигрыш составил ")
        + QString::number(state.Winnings) + QStringLiteral(" рублей.");
}

QString Greeting(const QString &name)
{
    return QStringLiteral("Приветствую вас, ") + name
        + QStringLiteral(", на всемиизвестной, а также любимой телеигре \"Зорбан!\"! Теперь мы можем "
                         "начать игру!");
}

QString FiftyFifty(const QString &name)
{
    return name
        + QStringLiteral(", вы выбрали подсказку \"50 на 50\". Компьютер убрал два неверных "
                         "варианта. Надеюсь, что это вам поможет");
}

QString LoadFailure(const QString &name, const QString &webSite)
{
    return name
        + QStringLiteral(", по необъяснимой причине произошел сбой при чтении файла вопросной базы. "
                         "Скачайте новую вопросную базу с моего сайта ")
        + webSite
        + QStringLiteral(". Вопросные базы это файлы с расширением *.QA и они должны находиться в "
                         "папке QA из каталога программы");
}

QString WriteFailure()
{
    return QStringLiteral("Ошибка! Невозможно произвести чтение\\запись в файлы программы!");
}

} // namespace HostText
