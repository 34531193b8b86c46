// The sound generator: the committed cues are what it synthesises today (up
// to a step of the last bit, which another processor's floating point may
// round differently), every cue is levelled alike and none clips, as sox
// measures them.

#include "Synth.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>
#include <cstdlib>

class TestSoundGen : public QObject {
    Q_OBJECT

private slots:
    void committedCuesMatchTheSynthesiser_data();
    void committedCuesMatchTheSynthesiser();
    void cuesAreLevelledAndNeverClip_data();
    void cuesAreLevelledAndNeverClip();
};

namespace {

QString CuePath(const QString &name)
{
    return QStringLiteral(ZORBAN_SOUND_DIR "/") + name + QStringLiteral(".wav");
}

void CueRows()
{
    QTest::addColumn<int>("index");
    const std::vector<Synth::CueRecipe> list = Synth::Catalogue();
    for (int i = 0; i < int(list.size()); ++i)
        QTest::newRow(qPrintable(list[i].name)) << i;
}

} // namespace

void TestSoundGen::committedCuesMatchTheSynthesiser_data() { CueRows(); }

void TestSoundGen::committedCuesMatchTheSynthesiser()
{
    QFETCH(int, index);
    const Synth::CueRecipe cue = Synth::Catalogue()[index];
    QFile file(CuePath(cue.name));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const std::vector<std::int16_t> committed = Synth::DecodeWav(file.readAll());
    const std::vector<std::int16_t> made = Synth::Quantise(cue.render());
    QCOMPARE(committed.size(), made.size());
    int largest = 0;
    for (size_t i = 0; i < made.size(); ++i)
        largest = std::max(largest, std::abs(int(committed[i]) - int(made[i])));
    QVERIFY2(largest <= 2, qPrintable(QStringLiteral("%1 is stale (a sample %2 steps off): run zorban-soundgen")
                                          .arg(cue.name)
                                          .arg(largest)));
}

void TestSoundGen::cuesAreLevelledAndNeverClip_data() { CueRows(); }

void TestSoundGen::cuesAreLevelledAndNeverClip()
{
    QFETCH(int, index);
    const Synth::CueRecipe cue = Synth::Catalogue()[index];
    QProcess sox;
    sox.start(QStringLiteral("sox"), {CuePath(cue.name), QStringLiteral("-n"), QStringLiteral("stats")});
    QVERIFY2(sox.waitForFinished(30000) && sox.exitCode() == 0, "sox could not measure the cue");
    const QString stats = QString::fromLocal8Bit(sox.readAllStandardError());
    auto value = [&](const QString &key) {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^%1\\s+(-?[0-9.]+|-inf)").arg(QRegularExpression::escape(key)),
                               QRegularExpression::MultilineOption)
                .match(stats);
        return m.hasMatch() ? m.captured(1).toDouble() : std::nan("");
    };
    // No sample at full scale, and the peak below the limit the levelling keeps.
    QCOMPARE(value(QStringLiteral("Flat factor")), 0.0);
    const double peak = value(QStringLiteral("Pk lev dB"));
    QVERIFY2(peak <= Synth::PeakLimitDb + 0.1, qPrintable(QString::number(peak)));
    // Loudness within a few decibels of every other cue: sox's RMS counts the
    // silent tail too, so the short cues read a little quieter than they sound.
    const double rms = value(QStringLiteral("RMS lev dB"));
    QVERIFY2(rms <= Synth::TargetRmsDb + 1.0 && rms >= Synth::TargetRmsDb - 8.0, qPrintable(QString::number(rms)));
}

QTEST_GUILESS_MAIN(TestSoundGen)
#include "tst_soundgen.moc"
