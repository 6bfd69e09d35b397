#pragma once
// The line comparison as a whole: two loaded files in, difference blocks
// (hunks) out. It runs in four stages, each in its own file:
//   prepare (Prepare.cpp)   trim equal ends, give lines class numbers,
//                           set aside lines that only one side has;
//   search (MiddleSnake.cpp) find the changed lines among the rest;
//   slide (Slide.cpp)       move ambiguous blocks to where they read best;
//   emit (Emit.cpp)         write the hunks as normal or unified output.

#include "engine/Flags.h"
#include "engine/LineFile.h"

#include <cstdint>
#include <vector>

namespace LineDiff {

// One difference block; positions are 0-based line indexes.
struct Hunk {
    std::int64_t first1 = 0;  // first line of File One in the block
    std::int64_t count1 = 0;  // lines of File One in the block (0: insertion)
    std::int64_t first2 = 0;
    std::int64_t count2 = 0;
    // Every line of the block is one the settings say to ignore (blank, or
    // matching a pattern): shown as unchanged where output allows, and no
    // difference between the files.
    bool ignored = false;
    friend bool operator==(const Hunk&, const Hunk&) = default;
};

struct Settings {
    bool ignoreCase = false;
    bool ignoreWhiteSpace = false;
    // Always find a smallest result, however long it takes (off by
    // default: very different files then get a good, fast result).
    bool minimal = false;
    // The cost at which the search settles for a guess (see
    // MiddleSnakeSearch::kCutoff); 0 for the default. Tests lower it to
    // exercise the guesses on small inputs.
    std::int64_t cutoff = 0;
    // Equal lines left at each end of the changed middle for the search and
    // the placement of blocks, as GNU diff keeps as many as its output's
    // context: a block next to the end can then slide into them, and
    // unified output matches diff -u.
    std::int64_t horizon = 0;
    // Place ambiguous blocks where GNU diff places them (see
    // SlideSide::diffPlacement), not where they read best.
    bool diffPlacement = false;
    // A last line without LF equals the same text with one.
    bool ignoreFinalNewline = false;
    // (New settings go last: callers list the first ones in order.)
    // A run of white space equals any other run, and white space at the
    // end of a line is ignored (weaker than ignoreWhiteSpace).
    bool ignoreSpaceChange = false;
    // White space at the end of a line is ignored.
    bool ignoreTrailingSpace = false;
    // A tab equals the spaces that reach the same tab stop; columns are
    // counted in bytes, stops every `tabSize` columns.
    bool ignoreTabExpansion = false;
    std::int64_t tabSize = 8;
    // A CR before the LF is not part of a line, and a last line without LF
    // equals the same text with one: line endings never make lines differ.
    bool ignoreLineEndings = false;
    // A hunk whose lines are all blank is marked ignored (Hunk::ignored).
    // Blank means empty, or only white space when white space at the end
    // of a line is ignored anyway.
    bool ignoreBlankLines = false;
};

// The hunks that turn `one` into `two`, in order. Throws std::bad_alloc
// when memory runs out and std::length_error when the files have too many
// lines to number.
[[nodiscard]] std::vector<Hunk> FindHunks(const LineFile& one, const LineFile& two, const Settings& settings);

// The difference blocks described by the two flag vectors (1 = changed).
[[nodiscard]] std::vector<Hunk> CollectHunks(const Flags& changedA, const Flags& changedB);

}  // namespace LineDiff
