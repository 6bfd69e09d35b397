#pragma once
// Geometry of the difference bar: where each difference block is painted, where
// the current-row mark goes and which row a click selects. All lengths are in
// the bar's own units; H is the bar's height rounded to a whole number and N
// the number of grid rows below the header (the trailing row included).
//
// The row step S = H / N is computed in double precision and kept in single
// precision; products with S are then taken in double precision, and every
// rounding goes to the nearest whole number, halves to the even neighbour.
// These details decide on which unit a band or mark lands, so they are kept.

#include "compare/AlignedRows.h"

#include <cstdint>
#include <vector>

namespace DiffBar {

struct Band {
    std::int32_t top = 0;     // first line of the band
    std::int32_t height = 0;  // lines top .. top + height - 1 are painted
    std::uint32_t color = 0;  // colour value, red in the low byte
};

[[nodiscard]] float RowStep(std::int32_t barHeight, std::int32_t rowCount);

// The band of one block, or a band of height 0 when there is nothing to
// paint (no rows, a block without rows). A block always gets at least one
// line, and a band never reaches below the bar: otherwise a one-row block in
// a long comparison, or a block on the last rows, would not show at all.
[[nodiscard]] Band BandForBlock(std::int64_t firstRow, std::int64_t rowCount, std::uint32_t color,
                                std::int32_t gridRows, std::int32_t barHeight);

// One band per block, in the blocks' order.
[[nodiscard]] std::vector<Band> BandsForBlocks(const std::vector<Alignment::DiffBlock>& blocks, std::int32_t gridRows,
                                               std::int32_t barHeight);

// Height of the current-row mark: [S x (row - 1)].
[[nodiscard]] std::int32_t CurrentRowMarkY(std::int32_t currentRow, std::int32_t gridRows, std::int32_t barHeight);

// Row under a click at height y: [y / S] in single precision, row 1 for 0.
// Kept within 1 .. gridRows, so a click on the very bottom edge or outside
// the bar during a drag never names a row that does not exist.
[[nodiscard]] std::int32_t RowAtBarY(float y, std::int32_t gridRows, std::int32_t barHeight);

}  // namespace DiffBar
