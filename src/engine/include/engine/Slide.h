#pragma once
// The slide stage: a block of changed lines that has equal lines next to it
// can often move up or down without making the result any larger. This
// stage moves each block to where it reads best: next to a change in the
// other file when possible, not starting with a blank line or a closing
// bracket, otherwise as far down as it goes.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace LineDiff {

// How a line looks to a reader, for choosing where an ambiguous block goes.
enum class LineShape : std::uint8_t { Text, Blank, Closer };

[[nodiscard]] LineShape ShapeOf(std::string_view rawLine);

// One file's side for sliding: `changed` flags every line of the file,
// `same(i, j)` says whether lines i and j of this file are equal, `shape(i)`
// how line i looks.
struct SlideSide {
    std::vector<std::uint8_t>* changed = nullptr;
    std::function<bool(std::int64_t, std::int64_t)> same;
    std::function<LineShape(std::int64_t)> shape;
};

void SlideChanges(SlideSide& one, SlideSide& two);

}  // namespace LineDiff
