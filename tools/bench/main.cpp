// zorban-bench: how long a base takes to load, shuffle, rewrite and check,
// each against its floor measured in the same run: reading the bytes and
// flipping each of them (load, check), writing the same bytes and syncing
// them (rewrite).
//
//   zorban-bench [BASE.QA]
//   zorban-bench --write-base PATH
//
// Without a file it generates a base of 150 000 questions in a scratch
// folder. Prints one "name: value unit" line per figure. With --write-base
// it only writes that generated base to PATH (for measuring the game itself
// with a big base) and exits.
#include "BaseCheck.h"
#include "QaBaseTool.h"
#include "questionbase/BaseFile.h"
#include "questionbase/BaseFileModel.h"
#include "questionbase/BaseLoader.h"
#include "questionbase/Cp1251.h"
#include "questionbase/GameState.h"
#include "questionbase/Random.h"
#include "SyntheticBase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The best of `runs` runs of `work`, in milliseconds: wall-clock time, and
// the processor time of this process (user + system), which a busy shared
// machine inflates far less.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double cpuNow()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

Timing bestOf(int runs, const std::function<void()> &work)
{
    Timing best{1e300, 1e300};
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        const double cpu0 = cpuNow();
        clock.start();
        work();
        best.wall = std::min(best.wall, double(clock.nsecsElapsed()) / 1e6);
        best.cpu = std::min(best.cpu, cpuNow() - cpu0);
    }
    return best;
}

void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.2f %s\n", name, value, unit);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && qstrcmp(argv[1], "--write-base") == 0) {
        if (argc < 3) {
            std::fprintf(stderr, "zorban-bench: --write-base needs a file name\n");
            return 2;
        }
        const QString target = QString::fromLocal8Bit(argv[2]);
        QFile out(target);
        const QByteArray bytes = SerializeBaseFile(SyntheticBaseModel(150000));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
            std::fprintf(stderr, "zorban-bench: cannot write %s\n", qPrintable(target));
            return 1;
        }
        return 0;
    }
    QTemporaryDir scratch;
    QString path;
    if (argc >= 2) {
        path = QString::fromLocal8Bit(argv[1]);
    } else {
        path = scratch.filePath(QStringLiteral("Bench.QA"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(SerializeBaseFile(SyntheticBaseModel(150000))) < 0) {
            std::fprintf(stderr, "zorban-bench: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    const qint64 bytes = QFile(path).size();
    GameState state;
    std::int32_t gamesPlayed = 0;
    if (auto failure = LoadBase(path, state, &gamesPlayed)) {
        std::fprintf(stderr, "zorban-bench: %s: line %d, field %d: %s\n", qPrintable(path), failure->Line,
                     failure->Field, qPrintable(failure->Reason));
        return 1;
    }
    qint64 questions = 0;
    for (int level = 1; level <= GameState::Levels; ++level)
        questions += state.LevelCounts[level];

    // The read floor: read the file and flip every byte, nothing else. Any
    // load must at least read the bytes and touch each of them once.
    volatile qint64 sink = 0;
    const QByteArray nativePath = QFile::encodeName(path);
    const Timing readFloor = bestOf(5, [&] {
        const int fd = ::open(nativePath.constData(), O_RDONLY);
        if (fd < 0)
            return;
        QByteArray raw(bytes, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < raw.size()) {
            const ssize_t n = ::read(fd, raw.data() + got, size_t(raw.size() - got));
            if (n <= 0)
                break;
            got += n;
        }
        ::close(fd);
        // FlipChar eight bytes at a time: (287 - c) mod 256 is (~c + 32) mod
        // 256, added byte by byte without carries between the bytes.
        char *data = raw.data();
        const qsizetype words = raw.size() / 8;
        std::uint64_t sum = 0;
        for (qsizetype i = 0; i < words; ++i) {
            std::uint64_t w;
            std::memcpy(&w, data + 8 * i, 8);
            w = ~w;
            w = ((w & 0x7F7F7F7F7F7F7F7FULL) + 0x2020202020202020ULL) ^ (w & 0x8080808080808080ULL);
            std::memcpy(data + 8 * i, &w, 8);
            sum ^= w;
        }
        for (qsizetype i = 8 * words; i < raw.size(); ++i)
            data[i] = char(FlipChar(std::uint8_t(data[i])));
        sink = sink + qint64(sum);
    });

    // The write floor: write the same bytes to a new file in the scratch
    // folder and sync them, as every safe rewrite must.
    QByteArray fileBytes;
    {
        QFile in(path);
        if (in.open(QIODevice::ReadOnly))
            fileBytes = in.readAll();
    }
    const QString floorPath = scratch.filePath(QStringLiteral("Floor.QA"));
    const Timing writeFloor = bestOf(5, [&] {
        QFile out(floorPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        out.write(fileBytes);
        out.flush();
        ::fsync(out.handle());
        out.close();
        QFile::remove(floorPath);
    });

    // The progress callback does what the window's does minus painting: it
    // computes the gauge value every time.
    int gauge = 0;
    const BaseProgress progress = [&gauge](std::int64_t n, std::int64_t total) { gauge = GaugeValue(n, total); };

    const Timing load = bestOf(5, [&] { LoadBase(path, state, &gamesPlayed, progress); });

    RandomGenerator random;
    const Timing shuffle = bestOf(3, [&] { ShuffleLevels(state, random, progress); });

    QByteArray header;
    ReadLeaderboard(path, &header, state.Leaders, &gamesPlayed);
    const QString copy = scratch.filePath(QStringLiteral("Rewrite.QA"));
    QFile::copy(path, copy);
    const Timing rewrite = bestOf(5, [&] { RewriteBase(copy, header, state, gamesPlayed, progress); });

    // "qabase check": reading the file as the tool does and every finding
    // about it (without the editorial lints, which only run on a base
    // without errors and are measured apart, below).
    qsizetype findings = 0;
    const Timing check = bestOf(3, [&] {
        QByteArray read;
        if (!ReadToolFile(path, &read))
            findings = CheckBaseBytes(read).size();
    });

    print("questions", double(questions), "count");
    print("file_size", double(bytes) / 1024.0 / 1024.0, "MiB");
    auto figure = [](const char *name, const Timing &t) {
        std::printf("%s: %.2f ms (processor %.2f ms)\n", name, t.wall, t.cpu);
    };
    auto ratio = [](const char *name, const Timing &t, const Timing &floor) {
        std::printf("%s: %.2f x (processor %.2f x)\n", name, t.wall / floor.wall, t.cpu / floor.cpu);
    };
    figure("read_floor", readFloor);
    figure("write_floor", writeFloor);
    figure("load", load);
    ratio("load_ratio_to_read_floor", load, readFloor);
    figure("shuffle", shuffle);
    figure("rewrite", rewrite);
    ratio("rewrite_ratio_to_write_floor", rewrite, writeFloor);
    figure("check", check);
    ratio("check_ratio_to_read_floor", check, readFloor);
    print("check_findings", double(findings), "count");
    sink = sink + gauge;
    return 0;
}
