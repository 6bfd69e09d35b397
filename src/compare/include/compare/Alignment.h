#pragma once
// Turns the engine's difference blocks into the aligned rows of both grids
// and the list of difference blocks, in one pass over the blocks and one
// over the rows.
//
// Unchanged lines stand side by side; a block shows its lines of File One
// and of File Two from the same row down, and the shorter side is padded
// with filler rows. Fillers facing orphan lines keep the default colour,
// fillers inside a changed block take the changed colour, and each pane
// ends with exactly one empty trailing row.

#include "compare/AlignedRows.h"
#include "engine/LineDiff.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace Alignment {

enum class AlignStatus {
    Ok,
    EmptyBlock,     // a block with no line on either side, or a negative position
    OutOfRange,     // a line beyond its file
    OutOfOrder,     // a block overlapping or preceding an earlier one, or the
                    // unchanged stretch before it differs in length between the files
    CountMismatch,  // the unchanged stretches after the last block differ in length
    TooManyRows,    // the aligned rows would not fit a 32-bit row number
};

struct AlignOutcome {
    AlignStatus status = AlignStatus::Ok;
    // Index of the block that was rejected; -1 when none was (success, or a
    // fault that only shows once every block has been read).
    std::int64_t failedBlock = -1;
    // On success: the aligned rows. On failure: the rows of every block
    // accepted before the fault, then the remaining lines of each file
    // unaligned, then each pane's trailing row; the panes may then differ in
    // length (see PadShorterPane). `blocks` holds the accepted blocks.
    AlignedRows rows;
    [[nodiscard]] bool ok() const { return status == AlignStatus::Ok; }
};

// Hunks are in ascending order with 0-based line positions, as the engine
// gives them. Line counts are those of the line reader the engine used;
// negative counts are rejected as OutOfRange.
[[nodiscard]] AlignOutcome AlignHunks(const std::vector<LineDiff::Hunk>& hunks, std::int32_t lineCountOne,
                                      std::int32_t lineCountTwo);

// Appends empty default-coloured rows to the shorter pane until both panes
// have the same number of rows, as done before reporting that the differences
// could not be shown.
void PadShorterPane(AlignedRows& rows);

// The rows of each pane that a successful alignment of the blocks gives,
// the trailing row included; worked out without building them, so that a
// comparison too large for memory can say what showing it needs.
[[nodiscard]] std::int64_t RowsNeeded(const std::vector<LineDiff::Hunk>& hunks, std::int64_t lineCountOne);

// The grid row (counted from 1) that shows 0-based line `line` of a file
// (side 0: File One, 1: File Two), given the blocks of a successful
// alignment; found by a binary search over the blocks.
[[nodiscard]] std::int32_t RowOfLine(const std::vector<DiffBlock>& blocks, int side, std::int32_t line);

// Short English description of a status, for the detail log.
[[nodiscard]] QString DescribeAlignStatus(AlignStatus status);

}  // namespace Alignment
