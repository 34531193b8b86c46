// The friend's answer and the audience's vote, driven by a fixed clock.
#include "lifelines/LifelineRules.h"
#include "questionbase/Random.h"

#include <QtTest>

#include <cstdint>

using namespace Lifelines;
using namespace Qt::Literals::StringLiterals;

namespace {

// The inverse of the generator's multiplier modulo 2^32 (Newton's iteration).
std::uint32_t inverseMultiplier()
{
    const std::uint32_t a = RandomGenerator::Multiplier;
    std::uint32_t x = a;
    for (int i = 0; i < 5; ++i)
        x *= 2u - a * x;
    return x;
}

// The seed that a reseed must produce so that the next draw has the random
// fraction i / k (rounded up to the next 32-bit step, so that the integer
// part of fraction * n is exactly the integer part of i * n / k).
std::uint32_t seedForFraction(std::uint64_t i, std::uint64_t k)
{
    const std::uint64_t next = ((i << 32) + k - 1) / k;
    return (std::uint32_t(next) - 1u) * inverseMultiplier();
}

// A clock standing still at one millisecond: every reseed gives this seed.
RandomGenerator frozenAt(std::uint32_t seed)
{
    return RandomGenerator([seed] { return seed; });
}

// Divisible by 3..10, so that every probability of the table is a whole
// number of grid points.
constexpr int Grid = 2520 * 4;

struct AnswerCounts {
    std::array<int, 5> byAnswer{};
};

AnswerCounts enumerateFriend(int reliabilityDivisor)
{
    AnswerCounts counts;
    for (int i = 0; i < Grid; ++i) {
        RandomGenerator random = frozenAt(seedForFraction(i, Grid));
        ++counts.byAnswer[FriendAnswer(reliabilityDivisor, random)];
    }
    return counts;
}

} // namespace

class TestLifelineRules : public QObject {
    Q_OBJECT

private slots:
    void fractionSeedReproducesTheDraw();

    void dialState_data();
    void dialState();
    void smallestDivisor_data();
    void smallestDivisor();
    void reliabilityDivisor_data();
    void reliabilityDivisor();

    void friendRightWithTableProbability_data();
    void friendRightWithTableProbability();
    void sevenDigitPrimeNearlyAlwaysWrong();
    void wrongAnswersWithBothReseedsInOneMillisecond_data();
    void wrongAnswersWithBothReseedsInOneMillisecond();
    void secondReseedInALaterMillisecondCanNameAnswerTwo();

    void countdownMessages_data();
    void countdownMessages();
    void noCountdownMessageAtOtherSeconds();
    void callAndRefusalMessages();

    void everyVoteSumsToHundredWithoutNegativeShares();
    void secondShareTakingTheWholeRemainderLeavesZeros();
    void confidentAndScatteredRangesPerTier_data();
    void confidentAndScatteredRangesPerTier();
    void summaryText();
};

void TestLifelineRules::fractionSeedReproducesTheDraw()
{
    // The enumeration below relies on this: the draw of n is the integer
    // part of the fraction times n.
    for (int n : {3, 4, 5, 7, 50, 90}) {
        for (int i = 0; i < Grid; i += 7) {
            RandomGenerator random = frozenAt(seedForFraction(i, Grid));
            random.Reseed();
            QCOMPARE(random.RandomInt(n), int(std::int64_t(i) * n / Grid));
        }
    }
}

void TestLifelineRules::dialState_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("callable");
    QTest::newRow("none") << QString() << int(DialState::Empty) << false;
    QTest::newRow("one") << u"7"_s << int(DialState::Partial) << false;
    QTest::newRow("four") << u"1234"_s << int(DialState::Partial) << false;
    QTest::newRow("five zeros") << u"00000"_s << int(DialState::Complete) << true;
    QTest::newRow("six") << u"123456"_s << int(DialState::Complete) << true;
    QTest::newRow("seven") << u"1234567"_s << int(DialState::Complete) << true;
}

void TestLifelineRules::dialState()
{
    QFETCH(QString, digits);
    QFETCH(int, state);
    QFETCH(bool, callable);
    QCOMPARE(int(StateOfNumber(digits)), state);
    QCOMPARE(IsCallable(digits), callable);
}

void TestLifelineRules::smallestDivisor_data()
{
    QTest::addColumn<uint>("n");
    QTest::addColumn<uint>("divisor");
    QTest::newRow("zero") << 0u << 2u;
    QTest::newRow("one has none: treated as two") << 1u << 2u;
    QTest::newRow("two") << 2u << 2u;
    QTest::newRow("three") << 3u << 3u;
    QTest::newRow("square of a prime") << 49u << 7u;
    QTest::newRow("odd multiple of five") << 12345u << 3u;
    QTest::newRow("smallest five") << 25u << 5u;
    QTest::newRow("7777777") << 7777777u << 7u;
    QTest::newRow("1234567 = 127 * 9721") << 1234567u << 127u;
    QTest::newRow("five-digit prime") << 99991u << 99991u;
    QTest::newRow("largest seven-digit prime") << 9999991u << 9999991u;
    QTest::newRow("largest dialled value") << 9999999u << 3u;
}

void TestLifelineRules::smallestDivisor()
{
    QFETCH(uint, n);
    QFETCH(uint, divisor);
    QCOMPARE(uint(SmallestDivisor(n)), divisor);
}

void TestLifelineRules::reliabilityDivisor_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("tier");
    QTest::addColumn<int>("divisor");
    QTest::newRow("00000 tier 1") << u"00000"_s << 1 << 3;
    QTest::newRow("00001 tier 1 stays at 3") << u"00001"_s << 1 << 3;
    QTest::newRow("0000001 tier 3") << u"0000001"_s << 3 << 5;
    QTest::newRow("leading zeros ignored") << u"0000007"_s << 2 << 9;
    QTest::newRow("seven digits odd") << u"1234567"_s << 3 << 130;
}

void TestLifelineRules::reliabilityDivisor()
{
    QFETCH(QString, digits);
    QFETCH(int, tier);
    QFETCH(int, divisor);
    QCOMPARE(ReliabilityDivisor(digits, tier), divisor);
}

void TestLifelineRules::friendRightWithTableProbability_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("tier");
    QTest::addColumn<int>("outOf"); // right with probability 3 / outOf
    const struct {
        const char *name;
        QString digits;
        int divisor;
    } numbers[] = {
        {"00000", u"00000"_s, 2},
        {"even", u"1234568"_s, 2},
        {"even six digits", u"999998"_s, 2},
        {"00001", u"00001"_s, 2},
        {"odd, by three", u"12345"_s, 3},
        {"smallest five", u"00025"_s, 5},
        {"prime seven", u"0000007"_s, 7},
    };
    for (const auto &number : numbers) {
        for (int tier = 1; tier <= 3; ++tier) {
            QTest::addRow("%s tier %d", number.name, tier)
                << number.digits << tier << number.divisor + tier;
        }
    }
}

void TestLifelineRules::friendRightWithTableProbability()
{
    QFETCH(QString, digits);
    QFETCH(int, tier);
    QFETCH(int, outOf);
    const int divisor = ReliabilityDivisor(digits, tier);
    QCOMPARE(divisor, outOf);
    const AnswerCounts counts = enumerateFriend(divisor);
    // Every point of the fraction's range names exactly one answer...
    QCOMPARE(counts.byAnswer[0], 0);
    QCOMPARE(counts.byAnswer[1] + counts.byAnswer[2] + counts.byAnswer[3] + counts.byAnswer[4], Grid);
    // ...and the correct one on exactly 3 / divisor of the range.
    QCOMPARE(counts.byAnswer[1], 3 * Grid / outOf);
}

void TestLifelineRules::sevenDigitPrimeNearlyAlwaysWrong()
{
    const int divisor = ReliabilityDivisor(u"9999991"_s, 1);
    QCOMPARE(divisor, 9999992);
    const AnswerCounts counts = enumerateFriend(divisor);
    // 3 in ten million: only the very bottom of the range is right.
    QVERIFY(counts.byAnswer[1] <= 1);
    // For a divisor this large the wrong answers come close to equal chances.
    for (int answer = 2; answer <= 4; ++answer)
        QVERIFY2(qAbs(counts.byAnswer[answer] - Grid / 3) <= 1, qPrintable(QString::number(answer)));

    // Also over the real range of the clock: a whole day, one millisecond in 997.
    int right = 0;
    int calls = 0;
    for (std::uint32_t ms = 0; ms < 86'400'000u; ms += 997u) {
        RandomGenerator random = frozenAt(ms);
        right += FriendAnswer(divisor, random) == 1;
        ++calls;
    }
    QVERIFY(calls > 80'000);
    QVERIFY(right <= 2);
}

void TestLifelineRules::wrongAnswersWithBothReseedsInOneMillisecond_data()
{
    QTest::addColumn<int>("divisor");
    QTest::addColumn<int>("answer2");
    QTest::addColumn<int>("answer3");
    QTest::addColumn<int>("answer4");
    // Divisor 4: wrong only for fractions from 3/4 on, and then 3 * u >= 2.25.
    QTest::newRow("4") << 4 << 0 << 0 << Grid / 4;
    // Divisor 5: wrong from 3/5 on; answer 3 below 2/3, answer 4 above:
    // one wrong call in six names answer 3.
    QTest::newRow("5") << 5 << 0 << Grid / 15 << Grid / 3;
    // Up to 9 the wrong range starts at 1/3 or later: never answer 2.
    QTest::newRow("9") << 9 << 0 << Grid / 3 << Grid / 3;
}

void TestLifelineRules::wrongAnswersWithBothReseedsInOneMillisecond()
{
    QFETCH(int, divisor);
    QFETCH(int, answer2);
    QFETCH(int, answer3);
    QFETCH(int, answer4);
    const AnswerCounts counts = enumerateFriend(divisor);
    QCOMPARE(counts.byAnswer[2], answer2);
    QCOMPARE(counts.byAnswer[3], answer3);
    QCOMPARE(counts.byAnswer[4], answer4);
}

void TestLifelineRules::secondReseedInALaterMillisecondCanNameAnswerTwo()
{
    // When the millisecond turns between the two reseeds the second draw
    // starts afresh, so even divisor 4 can name answer 2.
    QSet<int> named;
    for (int i = 0; i < Grid; ++i) {
        const std::uint32_t first = seedForFraction(i, Grid);
        int calls = 0;
        RandomGenerator random([&] { return calls++ == 0 ? first : first + 1u; });
        named.insert(FriendAnswer(4, random));
        QVERIFY(calls <= 2);
    }
    QVERIFY(named.contains(1));
    QVERIFY(named.contains(2));
    QVERIFY(named.contains(4));
}

void TestLifelineRules::countdownMessages_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("message");
    const QString e = u"Иван"_s;
    QTest::newRow("20 empty") << 20 << int(DialState::Empty)
        << e + u", просто наберите 5-7 значный номер телефона своего друга, нажимая на кнопки с цифрами"_s;
    QTest::newRow("20 complete") << 20 << int(DialState::Complete)
        << u"Чего тормозите, "_s + e + u"? Жмите позвонить (*) и все!"_s;
    QTest::newRow("20 partial") << 20 << int(DialState::Partial)
        << e + u", лучше поспешите с набором номера т.к. время истекает!"_s;
    QTest::newRow("10 empty") << 10 << int(DialState::Empty)
        << u"Хватит раздумывать, кому позвонить, "_s + e
            + u". Тыркайте цифры наугад! Времени осталось очень мало!!!"_s;
    QTest::newRow("10 complete") << 10 << int(DialState::Complete)
        << e + u", хватит тормозить!!! Жмите позвонить (*) без раздумываний, и побыстрее! Времени осталось очень мало!"_s;
    QTest::newRow("10 partial") << 10 << int(DialState::Partial)
        << e + u", набирайте любой номер! Вы же так хорошо начали! Времени осталось уже меньше 10-ти секунд!"_s;
    QTest::newRow("time-out empty") << 0 << int(DialState::Empty)
        << u"Поздравляю вас, "_s + e
            + u"!!! Время вышло, а вы даже циферки не набрали! Эта игра для более интеллектуальных людей, чем вы!"_s;
    QTest::newRow("time-out complete") << 0 << int(DialState::Complete)
        << e + u", вы даже очень затормозили! Времечко то ваше вышло! Мои вам соболезнования..."_s;
    QTest::newRow("time-out partial") << 0 << int(DialState::Partial)
        << e + u", вы же так хорошо начали... и плохо кончили! Время вышло..."_s;
}

void TestLifelineRules::countdownMessages()
{
    QFETCH(int, seconds);
    QFETCH(int, state);
    QFETCH(QString, message);
    QCOMPARE(CountdownMessage(seconds, DialState(state), u"Иван"_s), message);
}

void TestLifelineRules::noCountdownMessageAtOtherSeconds()
{
    for (int seconds : {29, 21, 19, 11, 9, 1, -1})
        QVERIFY(CountdownMessage(seconds, DialState::Partial, u"Иван"_s).isEmpty());
}

void TestLifelineRules::callAndRefusalMessages()
{
    QCOMPARE(CallMessage(u"Ольга"_s, u"0012345"_s, u"Париж"_s),
             u"Ольга, вы позвонили своему другу по номеру 0012345. Насчет данного вопроса он думает, "
             "что верный ответ это Париж"_s);
    QCOMPARE(CallRefusedMessage(u"Ольга"_s),
             u"Ольга, прежде, чем позвонить, надо набрать 5-7 значный номер."_s);
}

void TestLifelineRules::everyVoteSumsToHundredWithoutNegativeShares()
{
    for (int tier = 1; tier <= 3; ++tier) {
        for (int i = 0; i < Grid; ++i) {
            const std::uint32_t seed = seedForFraction(i, Grid);
            // Both reseeds in one millisecond, and the millisecond turning between them.
            RandomGenerator same = frozenAt(seed);
            int calls = 0;
            RandomGenerator turning([&] { return seed + std::uint32_t(calls++); });
            for (RandomGenerator *random : {&same, &turning}) {
                const AudienceShares shares = AudienceVote(tier, *random);
                QCOMPARE(shares[0], 0);
                QCOMPARE(shares[1] + shares[2] + shares[3] + shares[4], 100);
                for (int answer = 1; answer <= 4; ++answer)
                    QVERIFY(shares[answer] >= 0);
                QVERIFY(shares[1] >= 1 && shares[1] <= 90);
                QVERIFY(shares[2] >= 1);
            }
        }
    }
}

void TestLifelineRules::secondShareTakingTheWholeRemainderLeavesZeros()
{
    int found = 0;
    for (std::uint32_t ms = 0; ms < 2'000'000u && found < 5; ++ms) {
        RandomGenerator random = frozenAt(ms);
        const AudienceShares shares = AudienceVote(3, random);
        if (shares[1] + shares[2] != 100)
            continue;
        ++found;
        QCOMPARE(shares[3], 0);
        QCOMPARE(shares[4], 0);
    }
    QVERIFY2(found > 0, "no vote in the range gave the second answer the whole remainder");
}

void TestLifelineRules::confidentAndScatteredRangesPerTier_data()
{
    QTest::addColumn<int>("tier");
    QTest::addColumn<int>("confidentMax");
    QTest::addColumn<int>("scatteredMin");
    QTest::newRow("tier 1") << 1 << 90 << 38;
    QTest::newRow("tier 2") << 2 << 75 << 26;
    QTest::newRow("tier 3") << 3 << 60 << 13;
}

void TestLifelineRules::confidentAndScatteredRangesPerTier()
{
    QFETCH(int, tier);
    QFETCH(int, confidentMax);
    QFETCH(int, scatteredMin);
    int confident = 0;
    int lowestScattered = 100;
    int highestScattered = 0;
    int highestConfident = 0;
    bool secondAnswerLeads = false;
    for (int i = 0; i < Grid; ++i) {
        // The branch follows the first draw of four: r + tier <= 3 is confident.
        const bool isConfident = i * 4 / Grid + tier <= 3;
        RandomGenerator random = frozenAt(seedForFraction(i, Grid));
        const AudienceShares shares = AudienceVote(tier, random);
        if (isConfident) {
            ++confident;
            QVERIFY(shares[1] >= 50);
            QVERIFY(shares[1] <= confidentMax);
            highestConfident = qMax(highestConfident, shares[1]);
        } else {
            QVERIFY(shares[1] >= scatteredMin);
            QVERIFY(shares[1] <= 50);
            lowestScattered = qMin(lowestScattered, shares[1]);
            highestScattered = qMax(highestScattered, shares[1]);
            secondAnswerLeads = secondAnswerLeads || shares[2] > shares[1];
        }
    }
    // Confident with probability 3/4, 1/2 and 1/4 at tiers 1, 2 and 3.
    QCOMPARE(confident, (4 - tier) * Grid / 4);
    QCOMPARE(lowestScattered, scatteredMin);
    QCOMPARE(highestScattered, 50);
    QVERIFY(highestConfident > 50);
    QVERIFY(secondAnswerLeads);
}

void TestLifelineRules::summaryText()
{
    const QString summary = AudienceSummary(u"Пётр"_s, 62, 20, 11, 7);
    QCOMPARE(summary,
             u"Пётр, вы выбрали подсказку \"помощь зала\". 62% зала считает, что верный вариант ответа A, "
             "20% считает, что верный ответ B, 11% думает, что \u0421 и наконец 7%, что D. "
             "Прислушаетесь ли вы к большинству?"_s);
    // A, B and D are Latin; the C is the Cyrillic Es.
    QVERIFY(summary.contains(u"ответа A,"_s));
    QVERIFY(summary.contains(QChar(0x0421)));
    QVERIFY(!summary.contains(u"что C "_s));
}

QTEST_GUILESS_MAIN(TestLifelineRules)
#include "tst_lifelinerules.moc"
