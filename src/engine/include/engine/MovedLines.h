#pragma once
// Moved lines: a run of lines that File One lost in one place and File Two
// gained in another, line for line equal under the comparison's own rules.
// Only the lines of the difference blocks are looked at (and hashed), so
// finding moves costs what the differences cost, not what the files do.
//
// A block counts as moved when it is long enough to mean something: at
// least 3 lines holding a letter or digit, or fewer lines holding at least
// 20 letters and digits together, so that a lone "}" or blank line never
// counts. A block may come in pieces of one offset at most 3 lines apart,
// where the comparison matched some of its lines (blank ones, braces) with
// equal lines elsewhere. No line belongs to two moves. A lost run is paired
// with the longest equal run gained, the earliest of equally long ones; what
// is left of a block beside a move stays an ordinary change. A run that File
// Two gained while File One kept it (a copy) is no move: only lost lines pair.

#include "engine/LineDiff.h"
#include "engine/LineFile.h"
#include "engine/SkippedLines.h"
#include "engine/TextNormalizer.h"

#include <cstdint>
#include <vector>

namespace MovedLines {

struct Move {
    std::int64_t lineOne = 0;  // first line (0-based) File One lost
    std::int64_t lineTwo = 0;  // first line File Two gained
    std::int64_t count = 0;
    friend bool operator==(const Move&, const Move&) = default;
};

// Lines of a run below this many need kMinAlnum letters and digits.
inline constexpr std::int64_t kMinLines = 3;
inline constexpr std::int64_t kMinAlnum = 20;

// The moves between the files given the blocks that differ (ignored hunks
// take no part, nor do lines the filters skipped), ascending by lineOne.
[[nodiscard]] std::vector<Move> Find(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks,
                                     const TextNormalizer& normalizer, const LineMask* skippedOne = nullptr,
                                     const LineMask* skippedTwo = nullptr);

}  // namespace MovedLines
