#pragma once
// A longest common subsequence in linear space, for line pairs whose full
// table would not fit the memory budget. Used by CharacterLcs only.
//
// Divide and conquer on the middle of an optimal edit path (found by searching
// forwards from the start and backwards from the end at once, diagonal by
// diagonal): each half is solved the same way, and small halves through the
// full table with its tie rule. On long lines, stretches of 32 characters
// that occur once in each line, in the same order, are fixed as matches first.

#include <cstdint>
#include <string_view>
#include <vector>

namespace modVantrel::detail {

struct LinearLcsOutcome {
    std::int32_t length = 0;
    bool complete = true;   // false when the work budget ran out somewhere
    bool anchored = false;  // unique common stretches were fixed as matches first
};

// Marks (sized by the caller, all false) are set for the matched characters.
// Char is char32_t (code points) or char (one byte per character).
template <class Char>
[[nodiscard]] LinearLcsOutcome LinearSpaceLcs(std::basic_string_view<Char> one, std::basic_string_view<Char> two,
                                              std::vector<bool>& marks1, std::vector<bool>& marks2,
                                              std::int64_t cellBudget, std::int64_t workBudget);

// The table rule on one stretch, with marks written at the given offsets.
// Returns the number of matches.
template <class Char>
[[nodiscard]] std::int32_t TableLcs(std::basic_string_view<Char> one, std::basic_string_view<Char> two,
                                    std::vector<bool>& marks1, std::size_t offset1, std::vector<bool>& marks2,
                                    std::size_t offset2);

}  // namespace modVantrel::detail
