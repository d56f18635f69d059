// A level table as rows of its four numbers, which compare and print as they are: the
// level tests' way of saying what a table holds.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "lesson/LevelTable.h"

using LevelRows = std::vector<std::array<std::int32_t, 4>>;

inline LevelRows rowsOf(const LevelTable& table) {
    LevelRows rows;
    for (const LevelRecord& r : table) {
        rows.push_back({r.divisorMin, r.divisorMax, r.dividendMin, r.dividendMax});
    }
    return rows;
}
