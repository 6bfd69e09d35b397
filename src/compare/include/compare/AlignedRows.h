#pragma once
// The aligned rows of one comparison, as the two result grids show them.
// A row refers to a line of its file by index instead of holding a copy of
// the text, so a million-row comparison costs a few bytes per row.

#include <QStringList>
#include <cstdint>
#include <vector>

namespace Alignment {

// Colour values are 0x00BBGGRR (red in the low byte), as stored in DiffList.
inline constexpr std::uint32_t kOrphanColor = 0x00C4E1FFu;   // RGB(255, 225, 196)
inline constexpr std::uint32_t kChangedColor = 0x00FFDDDDu;  // RGB(221, 221, 255)
// A row without a colour of its own shows the grid's window colour.
inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFFu;
// A row that shows no line (a filler row or the trailing row).
inline constexpr std::int32_t kNoLine = -1;

// The rows of one grid below its header row: entry i describes grid row i + 1.
struct PaneRows {
    std::vector<std::int32_t> line;  // 0-based line index into the file, or kNoLine
    std::vector<std::uint32_t> color;  // kDefaultColor or a colour value
    [[nodiscard]] std::size_t size() const { return line.size(); }
};

struct AlignedRows {
    PaneRows one;  // File One, the left grid
    PaneRows two;  // File Two, the right grid
    // One entry per difference block in ascending row order:
    // "firstRow-rowCount-colourValue", e.g. "6-2-12902911".
    QStringList DiffList;
};

}  // namespace Alignment
