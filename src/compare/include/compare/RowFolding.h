#pragma once
// Hide Unchanged Lines: runs of unchanged rows far from every difference are
// folded, each into one fold row, so that the grids read like a unified diff
// while staying side by side. A folded view maps the rows it shows to the
// comparison's rows and back; it holds only the list of folds, never a table
// per row, so folding a million-row comparison costs what its folds cost.
//
// Rows are grid rows counted from 1, as in the comparison model. A fold row
// stands where its first row would stand and answers for every row it hides.

#include "compare/AlignedRows.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace RowFolding {

// Rows firstRow .. firstRow + rowCount - 1, shown as one fold row.
struct Fold {
    std::int32_t firstRow = 0;
    std::int32_t rowCount = 0;
    [[nodiscard]] std::int32_t EndRow() const { return firstRow + rowCount; }
    friend bool operator==(const Fold&, const Fold&) = default;
};

// The context sizes the View menu offers.
inline constexpr std::int32_t kContextSizes[] = {0, 3, 10, 25};

// The folds of rows 1 .. lineRows (the rows that show lines; the trailing row
// is never folded) given the difference blocks, ascending and apart: every
// row farther than `context` rows from every block. A run between two blocks
// is folded when it is longer than twice the context; a run before the first
// block or after the last keeps only the context next to the block. Without
// blocks, every row is folded.
[[nodiscard]] std::vector<Fold> UnchangedFolds(const std::vector<Alignment::DiffBlock>& blocks, std::int32_t lineRows,
                                               std::int32_t context);

// The rows a folded grid shows of a comparison of `rowCount` rows.
class FoldedView {
public:
    // Folds ascending, apart, each of at least one row and within the rows.
    FoldedView(std::vector<Fold> folds, std::int32_t rowCount);

    [[nodiscard]] std::int32_t RowCount() const { return m_rowCount; }
    [[nodiscard]] std::int32_t ShownRowCount() const { return m_rowCount - m_hiddenTotal; }
    [[nodiscard]] const std::vector<Fold>& Folds() const { return m_folds; }

    // The row a shown row stands for: a fold row stands for its first row.
    // Shown rows out of range are returned as they are.
    [[nodiscard]] std::int32_t RowOfShown(std::int32_t shown) const;
    // Where a row is shown: a folded row is shown as its fold's row. Rows out
    // of range are returned as they are.
    [[nodiscard]] std::int32_t ShownOfRow(std::int32_t row) const;
    // The fold that hides a row, or null when the row is shown as itself.
    [[nodiscard]] const Fold* FoldOf(std::int32_t row) const;

    // This view with the fold that hides `row` open; null when none does.
    [[nodiscard]] std::shared_ptr<const FoldedView> Opened(std::int32_t row) const;

private:
    // The index of the last fold that starts at or before `row`; -1 for none.
    [[nodiscard]] std::ptrdiff_t LastFoldFrom(std::int32_t row) const;

    std::vector<Fold> m_folds;
    // Rows that the folds before fold i take out of the view:
    // the sum of rowCount - 1 over them.
    std::vector<std::int32_t> m_hiddenBefore;
    std::int32_t m_hiddenTotal = 0;
    std::int32_t m_rowCount = 0;
};

// What a fold row shows: "⋯ 12,345 unchanged lines ⋯".
[[nodiscard]] QString FoldText(std::int32_t rowCount);

}  // namespace RowFolding
