#pragma once

#include <cstdint>

// One question of a loaded base, as the place of its line in the base file as
// it was loaded (GameState::Source, or GameState::BaseBytes): the line's first
// byte and its length, without the line end. The level lists, the shuffle and the rotation move these; the text
// is decoded only when the question is drawn, shown or checked.
struct QuestionRef {
    std::uint32_t Offset = 0;
    std::uint32_t Length = 0;

    bool operator==(const QuestionRef &) const = default;
};
