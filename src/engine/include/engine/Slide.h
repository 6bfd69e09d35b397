#pragma once
// The slide stage: a block of changed lines that has equal lines next to it
// can often move up or down without making the result any larger. This
// stage moves each block to where it reads best: next to a change in the
// other file when possible, not starting with a blank line or a closing
// bracket, otherwise as far down as it goes. (The command-line program
// places them as GNU diff does instead: see SlideSide::diffPlacement.)

#include "engine/Flags.h"
#include "engine/LineFile.h"
#include "engine/TextNormalizer.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace LineDiff {

// How a line looks to a reader, for choosing where an ambiguous block goes.
enum class LineShape : std::uint8_t { Text, Blank, Closer };

[[nodiscard]] LineShape ShapeOf(std::string_view rawLine);

// One file's side for sliding: `changed` flags every line of the file.
// Lines prefix .. prefix + classes.size() - 1 have class numbers, which
// decide their equality; the lines around them (a block may slide into
// them) are compared as text.
struct SlideSide {
    Flags& changed;
    const LineFile& file;
    const std::vector<std::uint32_t>& classes;
    std::int64_t prefix;
    const TextNormalizer& normalizer;
    // Place blocks as GNU diff does: within the lines that have classes,
    // next to a change in the other file when possible, else as far down
    // as they go, whatever lines they start with.
    bool diffPlacement = false;

    [[nodiscard, gnu::always_inline]] bool Same(std::int64_t i, std::int64_t j) const
    {
        const auto mid = static_cast<std::int64_t>(classes.size());
        if (i >= prefix && j >= prefix && i < prefix + mid && j < prefix + mid)
            return classes[static_cast<std::size_t>(i - prefix)] == classes[static_cast<std::size_t>(j - prefix)];
        return normalizer.Same({file.RawLine(i), file.LineLacksNewline(i)},
                               {file.RawLine(j), file.LineLacksNewline(j)});
    }
    [[nodiscard]] LineShape Shape(std::int64_t i) const { return ShapeOf(file.RawLine(i)); }
};

void SlideChanges(const SlideSide& one, const SlideSide& two);

}  // namespace LineDiff
