// The ranges random questions are drawn from, one record per difficulty level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct LevelRecord {
    std::int32_t divisorMin = 0;
    std::int32_t divisorMax = 0;
    std::int32_t dividendMin = 0;
    std::int32_t dividendMax = 0;
};

// In file order: position i is the level for difficulty index i.
using LevelTable = std::vector<LevelRecord>;

// The difficulties Beginner to Expert use the first five records; no others are kept.
inline constexpr std::size_t usedLevelCount = 5;
