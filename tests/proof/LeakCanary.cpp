// A deliberate leak in the game's own code, run by the address-sanitizer
// build: the leak checker must report it, so a leak that creeps into the
// game cannot pass the suite unseen (the suppressions for the libraries'
// one-time allocations do not cover it).
#include "questionbase/GameState.h"

#include <cstdio>

namespace {

// The last owner; cleared below, so nothing points at the state any more.
GameState *volatile g_owner = nullptr;

// Loses a whole game state, the way a forgotten owner would.
[[gnu::noinline]] GameState *AbandonGameState()
{
    auto *state = new GameState;
    state->PlayerName = QStringLiteral("Утечка");
    state->LevelQuestions[1].resize(3);
    return state;
}

// Overwrites the stack below the caller, so no stale copy of the pointer
// there keeps the state reachable for the leak checker.
[[gnu::noinline]] void ScrubStack()
{
    volatile char scratch[16384];
    for (int i = 0; i < int(sizeof scratch); ++i)
        scratch[i] = 0;
}

} // namespace

int main()
{
    g_owner = AbandonGameState();
    std::printf("abandoned a game state for %d questions\n", int(g_owner->LevelQuestions[1].size()));
    g_owner = nullptr;
    ScrubStack();
    return 0;
}
