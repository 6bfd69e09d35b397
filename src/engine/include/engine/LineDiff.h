#pragma once
// The core of the line comparison: given two sequences of line classes
// (equal lines share a class), find which lines are changed so that the
// unchanged ones form a longest common subsequence, or one close to it.

#include <cstdint>
#include <functional>
#include <vector>

namespace LineDiff {

// One difference block; positions are 0-based line indexes.
struct Hunk {
    std::int64_t first1 = 0;  // first line of File One in the block
    std::int64_t count1 = 0;  // lines of File One in the block (0: insertion)
    std::int64_t first2 = 0;
    std::int64_t count2 = 0;
    friend bool operator==(const Hunk&, const Hunk&) = default;
};

// Sets changedA[i] / changedB[j] to 1 for the lines outside the common
// subsequence found. Both flag vectors must be sized like a and b and hold
// zeros. Class ids must be below classCount. With `minimal` the result is
// a longest common subsequence; otherwise the search gives up on very
// costly regions and settles for a good split, so time stays near linear.
void MarkChanges(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                 std::uint32_t classCount, bool minimal,
                 std::vector<std::uint8_t>& changedA, std::vector<std::uint8_t>& changedB);

// How a line looks to a reader, for choosing where an ambiguous block goes.
enum class LineShape : std::uint8_t { Text, Blank, Closer };

// One file's side for sliding: `same(i, j)` says whether lines i and j of
// this file are equal, `shape(i)` how line i looks.
struct SlideSide {
    std::vector<std::uint8_t>* changed = nullptr;
    std::function<bool(std::int64_t, std::int64_t)> same;
    std::function<LineShape(std::int64_t)> shape;
};

// Moves blocks of changed lines up or down over equal lines (which keeps
// the result just as small) to where they read best: next to a change in
// the other file when possible, not starting with a blank line or a
// closing bracket, otherwise as far down as they go.
void SlideChanges(SlideSide& one, SlideSide& two);

// The difference blocks described by the two flag vectors.
[[nodiscard]] std::vector<Hunk> CollectHunks(const std::vector<std::uint8_t>& changedA,
                                             const std::vector<std::uint8_t>& changedB);

}  // namespace LineDiff
