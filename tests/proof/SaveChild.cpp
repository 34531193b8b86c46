// A stand-in for the end of a game, run as a child process by the proof
// tests: it loads the base given on the command line as BeginGame does, plays
// one "draw" per level (the first question goes to the back), enters a result
// into the leaderboard and rewrites the base as FinishGame does.
//
// Exit codes: 0 written, 2 load failed, 3 rewrite failed (reported, not crashed).
#include "questionbase/BaseLoader.h"
#include "questionbase/GameState.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zorban-savechild BASE.QA [FILE-SIZE-LIMIT]\n");
        return 64;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (argc >= 3) {
        // Writing past the limit must fail the write, not kill the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = std::strtoull(argv[2], nullptr, 10);
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
    }

    GameState state;
    std::int32_t gamesPlayed = 0;
    if (LoadBase(path, state, &gamesPlayed))
        return 2;
    for (int level = 1; level <= GameState::Levels; ++level) {
        auto &list = state.LevelQuestions[level];
        if (list.size() > 2)
            list.move(1, list.size() - 1);
    }
    QByteArray header;
    std::int32_t storedGames = 0;
    if (ReadLeaderboard(path, &header, state.Leaders, &storedGames))
        return 2;
    state.Leaders[6] = BestTable{QStringLiteral("Проверка"), 7, 1234};
    RankLeaders(state.Leaders);
    // Tell a watching parent that the rewrite starts now.
    std::fputs("writing\n", stdout);
    std::fflush(stdout);
    if (RewriteBase(path, header, state, NextGamesPlayed(storedGames)))
        return 3;
    return 0;
}
