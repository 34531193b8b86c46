#include "questionbase/Cp1251.h"
#include "questionbase/MoneyLadder.h"
#include "questionbase/PlayTime.h"
#include "questionbase/Random.h"

#include <QStringDecoder>
#include <QTest>

class TestShared : public QObject {
    Q_OBJECT

private slots:
    void codecMatchesSystemDecoderForEveryByte()
    {
        QStringDecoder reference("windows-1251");
        QVERIFY(reference.isValid());
        for (int b = 0; b < 256; ++b) {
            if (b == 0x98)
                continue; // unassigned in the code page; ours keeps it as U+0098
            const char byte = char(b);
            const QString expected = reference.decode(QByteArrayView(&byte, 1));
            QCOMPARE(QString(Cp1251::DecodeByte(std::uint8_t(b))), expected);
        }
    }

    void codecRoundTripsAllBytes()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1251::Encode(Cp1251::Decode(all)), all);
    }

    void codecRefusesCharactersOutsideTheCodePage()
    {
        QVERIFY(Cp1251::CanEncode(QChar(u'Ё')));
        QVERIFY(Cp1251::CanEncode(QChar(u'№')));
        QVERIFY(!Cp1251::CanEncode(QChar(u'ß')));
        QVERIFY(!Cp1251::CanEncode(QChar(0x4E2D)));
        QCOMPARE(Cp1251::Encode(u"я€中"), QByteArray("\xFF\x88?"));
    }

    void flipChar_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("\xBE\xBD\xBC");
        QTest::newRow("digit zero") << QByteArray("0") << QByteArray("\xEF");
        QTest::newRow("fifteen") << QByteArray("15") << QByteArray("\xEE\xEA");
        QTest::newRow("space and last byte swap") << QByteArray(" \xFF") << QByteArray("\xFF ");
    }

    void flipChar()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, stored);
        QByteArray flipped;
        for (char c : plain)
            flipped.append(char(FlipChar(std::uint8_t(c))));
        QCOMPARE(flipped, stored);
    }

    void flipIsItsOwnInverseAndKeepsTextAboveControlBytes()
    {
        for (int c = 0; c < 256; ++c)
            QCOMPARE(int(FlipChar(FlipChar(std::uint8_t(c)))), c);
        for (int c = 32; c < 256; ++c)
            QVERIFY(FlipChar(std::uint8_t(c)) >= 32);
    }

    void randomIntOfZeroIsZero()
    {
        RandomGenerator rng([] { return 12345u; });
        rng.Reseed();
        QCOMPARE(rng.RandomInt(0), 0);
    }

    void randomSequenceFromFixedSeed()
    {
        RandomGenerator rng([] { return 0u; });
        rng.Reseed();
        // seed 0 -> 1 -> 134775814 -> ...; upper 32 bits of seed * 100.
        QCOMPARE(rng.RandomInt(100), 0);          // seed 1
        QCOMPARE(rng.seed(), 1u);
        QCOMPARE(rng.RandomInt(100), 3);          // seed 134775814
        QCOMPARE(rng.seed(), 134775814u);
        const std::uint32_t next = 134775814u * 134775813u + 1u;
        QCOMPARE(rng.RandomInt(100), int((std::uint64_t(next) * 100u) >> 32));
    }

    void reseedsInOneMillisecondRepeatTheDraw()
    {
        std::uint32_t now = 45296789; // 12:34:56.789
        RandomGenerator rng([&now] { return now; });
        rng.Reseed();
        const int first = rng.RandomInt(1000);
        rng.Reseed();
        QCOMPARE(rng.RandomInt(1000), first);
        now += 1;
        rng.Reseed();
        QCOMPARE(rng.seed(), 45296790u);
    }

    void systemClockIsMillisecondsOfTheDay()
    {
        QVERIFY(RandomGenerator::SystemMillisecondsSinceMidnight() < 86400000u);
    }

    void ladderStepsAndSums()
    {
        QCOMPARE(MoneyLadder::SumOfStep(15), 1000000);
        QCOMPARE(MoneyLadder::SumOfStep(5), 1000);
        QCOMPARE(MoneyLadder::StepOfWinnings(32000), 10);
        QCOMPARE(MoneyLadder::StepOfWinnings(0), 0);
        QCOMPARE(MoneyLadder::StepOfWinnings(150), 0);
        for (int s = 0; s <= 15; ++s)
            QCOMPARE(MoneyLadder::StepOfWinnings(MoneyLadder::SumOfStep(s)), s);
    }

    void playTime_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "0:00.0";
        QTest::newRow("1:15.4") << 754 << "1:15.4";
        QTest::newRow("minutes unlimited") << 60000 << "100:00.0";
        QTest::newRow("just under a minute") << 599 << "0:59.9";
    }

    void playTime()
    {
        QFETCH(int, ticks);
        QFETCH(QString, text);
        QCOMPARE(FormatPlayTime(ticks), text);
    }
};

QTEST_GUILESS_MAIN(TestShared)
#include "tst_shared.moc"
