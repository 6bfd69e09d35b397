#pragma once
// The aligned rows of one comparison, as the two result grids show them.
// A row refers to a line of its file by index instead of holding a copy of
// the text, so a million-row comparison costs a few bytes per row.

#include <cstdint>
#include <vector>

namespace Alignment {

// Colour values are 0x00BBGGRR (red in the low byte).
inline constexpr std::uint32_t kOrphanColor = 0x00C4E1FFu;   // RGB(255, 225, 196)
inline constexpr std::uint32_t kChangedColor = 0x00FFDDDDu;  // RGB(221, 221, 255)
// A line the line filters left out of the comparison: grey, never a
// difference's colour.
inline constexpr std::uint32_t kSkippedColor = 0x00E0E0E0u;  // RGB(224, 224, 224)
// A line that left one place of the files and arrived at another
// (MovedLines): a difference of its own colour.
inline constexpr std::uint32_t kMovedColor = 0x00D4F2D4u;  // RGB(212, 242, 212)
// A row without a colour of its own shows the grid's window colour.
inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFFu;
// A row that shows no line (a filler row or the trailing row).
inline constexpr std::int32_t kNoLine = -1;

// The rows of one grid below its header row: entry i describes grid row i + 1.
struct PaneRows {
    std::vector<std::int32_t> line;    // 0-based line index into the file, or kNoLine
    std::vector<std::uint32_t> color;  // kDefaultColor or a colour value
    [[nodiscard]] std::size_t size() const { return line.size(); }
};

// One difference block: rows firstRow .. firstRow + rowCount - 1 (grid rows,
// counted from 1) and the lines of each file they show. A block of lines
// that only one file has is an orphan block; any other is a changed block.
// An ignored block (blank lines, or lines the filters left out) is laid
// out like any other but is no difference: its rows keep their colour.
struct DiffBlock {
    std::int32_t firstRow = 0;
    std::int32_t rowCount = 0;
    std::int32_t firstLineOne = 0;  // 0-based; where the block stands when it has no line
    std::int32_t lineCountOne = 0;
    std::int32_t firstLineTwo = 0;
    std::int32_t lineCountTwo = 0;
    bool ignored = false;
    [[nodiscard]] bool Orphan() const { return lineCountOne == 0 || lineCountTwo == 0; }
    [[nodiscard]] std::uint32_t Color() const { return Orphan() ? kOrphanColor : kChangedColor; }
    friend bool operator==(const DiffBlock&, const DiffBlock&) = default;
};

struct AlignedRows {
    PaneRows one;  // File One, the left grid
    PaneRows two;  // File Two, the right grid
    // In ascending row order, blocks never overlapping; ignored ones too.
    std::vector<DiffBlock> blocks;
};

}  // namespace Alignment
