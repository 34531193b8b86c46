#include "lifelines/LifelineRules.h"

#include "questionbase/Random.h"

using namespace Qt::Literals::StringLiterals;

namespace Lifelines {

DialState StateOfNumber(const QString &digits)
{
    if (digits.isEmpty())
        return DialState::Empty;
    if (IsCallable(digits))
        return DialState::Complete;
    return DialState::Partial;
}

bool IsCallable(const QString &digits)
{
    return digits.size() >= MinCallDigits && digits.size() <= MaxDialledDigits;
}

std::uint32_t SmallestDivisor(std::uint32_t n)
{
    if (n < 2 || n % 2 == 0)
        return 2;
    // Odd n >= 3: trial division up to the square root; no divisor there means
    // n is prime and divides itself.
    for (std::uint32_t d = 3; std::uint64_t(d) * d <= n; d += 2) {
        if (n % d == 0)
            return d;
    }
    return n;
}

std::uint32_t DialledValue(const QString &digits)
{
    std::uint32_t value = 0;
    for (const QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            continue; // the keypad only dials digits
        value = value * 10 + std::uint32_t(ch.unicode() - u'0');
    }
    return value;
}

int ReliabilityDivisor(const QString &digits, int tier)
{
    return int(SmallestDivisor(DialledValue(digits))) + tier;
}

int FriendAnswer(int reliabilityDivisor, RandomGenerator &random)
{
    random.Reseed();
    const int r = random.RandomInt(reliabilityDivisor) + 1;
    if (r <= 3)
        return 1;
    // Usually the same millisecond as the first reseed, so this draw repeats
    // its random fraction: the wrong answers are far from equally likely.
    random.Reseed();
    return 2 + random.RandomInt(3);
}

QString CallRefusedMessage(const QString &playerName)
{
    return playerName + u", прежде, чем позвонить, надо набрать 5-7 значный номер."_s;
}

QString CallMessage(const QString &playerName, const QString &digits, const QString &friendAnswer)
{
    return playerName + u", вы позвонили своему другу по номеру "_s + digits
        + u". Насчет данного вопроса он думает, что верный ответ это "_s + friendAnswer;
}

QString CountdownMessage(int secondsLeft, DialState state, const QString &playerName)
{
    struct Pieces {
        const char16_t *before;
        const char16_t *after;
    };
    // Rows: empty, complete, partial.
    static constexpr Pieces At20[] = {
        {u"", u", просто наберите 5-7 значный номер телефона своего друга, нажимая на кнопки с цифрами"},
        {u"Чего тормозите, ", u"? Жмите позвонить (*) и все!"},
        {u"", u", лучше поспешите с набором номера т.к. время истекает!"},
    };
    static constexpr Pieces At10[] = {
        {u"Хватит раздумывать, кому позвонить, ", u". Тыркайте цифры наугад! Времени осталось очень мало!!!"},
        {u"", u", хватит тормозить!!! Жмите позвонить (*) без раздумываний, и побыстрее! Времени осталось очень мало!"},
        {u"", u", набирайте любой номер! Вы же так хорошо начали! Времени осталось уже меньше 10-ти секунд!"},
    };
    static constexpr Pieces AtTimeOut[] = {
        {u"Поздравляю вас, ", u"!!! Время вышло, а вы даже циферки не набрали! Эта игра для более интеллектуальных людей, чем вы!"},
        {u"", u", вы даже очень затормозили! Времечко то ваше вышло! Мои вам соболезнования..."},
        {u"", u", вы же так хорошо начали... и плохо кончили! Время вышло..."},
    };

    const Pieces *table = nullptr;
    switch (secondsLeft) {
    case 20: table = At20; break;
    case 10: table = At10; break;
    case 0: table = AtTimeOut; break;
    default: return QString();
    }
    int row = 0;
    switch (state) {
    case DialState::Empty: row = 0; break;
    case DialState::Complete: row = 1; break;
    case DialState::Partial: row = 2; break;
    }
    return QString::fromUtf16(table[row].before) + playerName + QString::fromUtf16(table[row].after);
}

int ConfidentShareLimit(int tier)
{
    if (tier <= 1)
        return 90;
    if (tier == 2)
        return 75;
    return 60;
}

AudienceShares AudienceVote(int tier, RandomGenerator &random)
{
    AudienceShares shares{};
    random.Reseed();
    const int t = random.RandomInt(4) + tier;
    int &correct = shares[1];
    if (t <= 3) {
        // A confident audience: the correct answer gets at least half.
        random.Reseed();
        const int limit = ConfidentShareLimit(tier);
        do {
            correct = random.RandomInt(limit) + 1;
        } while (correct < 50);
    } else {
        // A scattered audience: at most half for the correct answer.
        random.Reseed();
        correct = random.RandomInt(50) + 1;
    }
    int rest = 100 - correct;
    shares[2] = random.RandomInt(rest) + 1;
    rest -= shares[2];
    if (rest == 0) {
        shares[3] = 0;
        shares[4] = 0;
    } else {
        shares[3] = random.RandomInt(rest) + 1;
        shares[4] = rest - shares[3];
    }
    return shares;
}

QString AudienceSummary(const QString &playerName, int a, int b, int c, int d)
{
    // A, B and D are Latin capitals; the letter before " и наконец " is the
    // Cyrillic Es, as the host has always said it.
    return playerName + u", вы выбрали подсказку \"помощь зала\". "_s + QString::number(a)
        + u"% зала считает, что верный вариант ответа A, "_s + QString::number(b)
        + u"% считает, что верный ответ B, "_s + QString::number(c)
        + u"% думает, что \u0421 и наконец "_s + QString::number(d)
        + u"%, что D. Прислушаетесь ли вы к большинству?"_s;
}

} // namespace Lifelines
