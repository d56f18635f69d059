// A teacher's class list: one pupil's name a line, in any script, UTF-8 (a byte-order
// mark is skipped). Blank lines and lines starting with "#" are the teacher's own;
// spaces around a name are dropped and a name given twice is listed once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Enough for any class; the rest of a longer list is not shown.
inline constexpr std::size_t largestClass = 60;
// A longer name is cut to this many UTF-16 units, which still fits its button.
inline constexpr std::size_t longestPupilName = 40;

std::vector<std::u16string> readClassList(const std::string& text);
