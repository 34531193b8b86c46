#pragma once

#include <QString>

#include <array>
#include <cstdint>

// One question of a base. Answers[1] is always the correct answer;
// Answers[0] is unused so that the indexes read as they do in the game (1 to 4).
struct QABase {
    QString Question;
    std::array<QString, 5> Answers;
    std::int32_t SubjectIndex = 0; // 0 or less: no particular subject
    std::int32_t AuthorIndex = 0;  // 0 or less: unknown author

    bool operator==(const QABase &) const = default;
};
