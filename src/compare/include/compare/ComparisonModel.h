#pragma once
// What the main window shows of a comparison, apart from its widgets: both
// files as the engine read them, their aligned rows, the difference blocks,
// the marked row, the bookmarks and the remembered search texts. The
// window paints from it and asks it every search; nothing here needs a
// display.
//
// The files and rows of a comparison are immutable and shared, so copying
// a model is cheap and the grids paint from the very rows searched here.

#include "compare/AlignedRows.h"
#include "compare/Alignment.h"
#include "compare/CharacterDiff.h"
#include "compare/LineText.h"
#include "compare/RowFolding.h"
#include "compare/RowSearch.h"
#include "engine/MovedLines.h"
#include "engine/SkippedLines.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class LineFile;

class ComparisonModel {
public:
    enum class FindDirection { Next, Previous, Both };

    // Shows a comparison: both files (File One, File Two) and their aligned
    // rows. Marked row and bookmarks start afresh; search texts stay.
    void Show(std::shared_ptr<const LineFile> one, std::shared_ptr<const LineFile> two, Alignment::AlignedRows rows);
    // Shows both files as the engine read them, aligned by the blocks it
    // found between them. Blocks that do not fit the files are shown as far
    // as they could be placed, both panes padded to one length, and the
    // fault is returned. Lines flagged in `skipped` (none for null masks)
    // took no part in the comparison: their rows are grey.
    Alignment::AlignStatus Show(std::shared_ptr<const LineFile> one, std::shared_ptr<const LineFile> two,
                                const std::vector<LineDiff::Hunk>& hunks,
                                const std::array<std::shared_ptr<const LineMask>, 2>& skipped = {});
    // Shows nothing; search texts stay.
    void Clear();

    [[nodiscard]] bool Shown() const { return m_panes[0] != nullptr; }
    // Grid rows below the header, the trailing row included; 0 when nothing
    // is shown.
    [[nodiscard]] std::int32_t RowCount() const;
    // side: 0 for File One, 1 for File Two.
    [[nodiscard]] const std::shared_ptr<const LineFile>& File(int side) const { return m_files[Index(side)]; }
    [[nodiscard]] const std::shared_ptr<const Alignment::PaneRows>& Pane(int side) const
    {
        return m_panes[Index(side)];
    }
    // The differences: blocks that are not ignored, which the bar shows and
    // F7 visits.
    [[nodiscard]] const std::vector<Alignment::DiffBlock>& Blocks() const { return m_blocks; }
    // The engine's hunks the rows were laid out from, ignored ones too;
    // none for rows shown without them.
    [[nodiscard]] const std::vector<LineDiff::Hunk>& Hunks() const { return m_hunks; }
    // The 0-based line a row shows, or kNoLine (fillers, rows out of range).
    [[nodiscard]] std::int32_t LineOfRow(int side, std::int32_t row) const;
    // A row's colour value in a pane; kDefaultColor for rows without one
    // and rows out of range.
    [[nodiscard]] std::uint32_t RowColor(int side, std::int32_t row) const;
    // " 12.text" for a row that shows a line, empty otherwise.
    [[nodiscard]] QString RowText(int side, std::int32_t row) const;
    // The line a row shows, as the detail pane shows and compares it; empty
    // for rows that show no line.
    [[nodiscard]] LineText LineTextOf(int side, std::int32_t row) const;

    // True for a row of a changed block that shows a line of each file:
    // the rows whose differing characters are marked.
    [[nodiscard]] bool IsChangedLinePair(std::int32_t row) const;
    // Which characters of such a row's two lines differ (ShownCharacterDiffs
    // within its usual budgets), worked out on first need and kept until
    // another comparison is shown or none; asked with the other ignoreCase,
    // every row is worked out afresh. Null for any other row.
    const modVantrel::CharacterDiffResult* RowMarks(std::int32_t row, bool ignoreCase);
    // The marks RowMarks has kept for the row and ignoreCase; never works
    // any out.
    [[nodiscard]] const modVantrel::CharacterDiffResult* KnownRowMarks(std::int32_t row, bool ignoreCase) const;
    [[nodiscard]] std::size_t KnownRowMarkCount() const { return m_rowMarks.size(); }

    // The current row: where the commands start from and whose lines the
    // detail pane shows. Row 1 when a comparison is shown or none is.
    [[nodiscard]] std::int32_t CurrentRow() const { return m_currentRow; }
    void SetCurrentRow(std::int32_t row) { m_currentRow = row; }

    // The row the selection refresh last marked; 0 for none.
    [[nodiscard]] std::int32_t MarkedRow() const { return m_markedRow; }
    void SetMarkedRow(std::int32_t row) { m_markedRow = row; }

    // Bookmarked rows, ascending, each once.
    [[nodiscard]] const std::vector<std::int32_t>& Bookmarks() const { return m_bookmarks; }
    [[nodiscard]] bool IsBookmarked(std::int32_t row) const;
    // Adds or removes one row's bookmark; false when it was already so, or
    // when the row is not one of the comparison's.
    bool AddBookmark(std::int32_t row);
    bool RemoveBookmark(std::int32_t row);
    void ClearBookmarks() { m_bookmarks.clear(); }
    // The nearest bookmarked row after / before a row; never the row itself.
    [[nodiscard]] std::optional<std::int32_t> NextBookmark(std::int32_t row) const;
    [[nodiscard]] std::optional<std::int32_t> PreviousBookmark(std::int32_t row) const;

    // The first row after / before `row` that starts a difference block.
    [[nodiscard]] std::optional<std::int32_t> NextDiff(std::int32_t row) const;
    [[nodiscard]] std::optional<std::int32_t> PreviousDiff(std::int32_t row) const;
    [[nodiscard]] std::optional<std::int32_t> FirstDiff() const;
    [[nodiscard]] std::optional<std::int32_t> LastDiff() const;

    // Find from `row`, which itself is never tested: Next tests the rows
    // below it in File One's pane, then the same rows in File Two's;
    // Previous the rows above it, upward, likewise; Both does Next and, when
    // that finds nothing, Previous.
    [[nodiscard]] std::optional<std::int32_t> Find(const QString& text, FindDirection direction,
                                                   std::int32_t row) const;

    // Moved lines: the rows that show a moved line take the moved colour in
    // their pane (the others keep their block's), and each knows where its
    // line moved from or to. Replaces the moves shown before; none shows
    // none. Moves are in the files' lines, as MovedLines finds them.
    void ShowMoves(std::vector<MovedLines::Move> moves);
    [[nodiscard]] const std::vector<MovedLines::Move>& Moves() const { return m_moves; }
    // The rows of a pane that show the lines of one move, and the first row
    // of its other end (in the other pane).
    struct MovedRows {
        std::int32_t firstRow = 0;
        std::int32_t rowCount = 0;
        std::int32_t otherRow = 0;
        friend bool operator==(const MovedRows&, const MovedRows&) = default;
    };
    // Ascending by row; side 0 for File One, 1 for File Two.
    [[nodiscard]] const std::vector<MovedRows>& MovedRowsOf(int side) const { return m_movedRows[Index(side)]; }
    // The row at the other end of the move a row's line belongs to (File
    // One's line first); none for a row that shows no moved line.
    [[nodiscard]] std::optional<std::int32_t> OtherEndOfMove(std::int32_t row) const;
    // "Moved to line N of File Two" or "Moved from line N of File One" for
    // each of a row's lines that moved (one per line); empty when none did.
    [[nodiscard]] QString MoveText(std::int32_t row) const;

    // Hide Unchanged Lines: with a context size, the rows of every comparison
    // shown farther than that from each difference are folded (see
    // RowFolding); without one, nothing is. Kept across comparisons; setting
    // it folds the shown comparison afresh, closing the folds opened.
    void SetFolding(std::optional<std::int32_t> context);
    [[nodiscard]] std::optional<std::int32_t> FoldingContext() const { return m_foldingContext; }
    // The rows the grids show; null while nothing is folded.
    [[nodiscard]] const std::shared_ptr<const RowFolding::FoldedView>& Folds() const { return m_folds; }
    // The fold that hides a row; null when the row is shown as itself.
    [[nodiscard]] const RowFolding::Fold* FoldOf(std::int32_t row) const;
    // Opens the fold that hides a row; false when none does.
    bool Unfold(std::int32_t row);

    // Texts of successful finds, oldest first; kept across comparisons.
    [[nodiscard]] const QStringList& SearchTexts() const { return m_searchTexts; }
    void AddSearchText(const QString& text) { m_searchTexts.append(text); }

private:
    [[nodiscard]] static std::size_t Index(int side) { return side == 0 ? 0 : 1; }
    void Refold();
    // The move run of a pane that holds a row; null when none does.
    [[nodiscard]] const MovedRows* MovedRowsAt(int side, std::int32_t row) const;
    [[nodiscard]] std::optional<std::int32_t> FindOneWay(const RowSearch::Needle& needle,
                                                         RowSearch::Direction direction, std::int32_t firstRow,
                                                         std::int32_t lastRow) const;

    std::array<std::shared_ptr<const LineFile>, 2> m_files;
    std::array<std::shared_ptr<const Alignment::PaneRows>, 2> m_panes;
    std::vector<Alignment::DiffBlock> m_blocks;
    // Every block laid out, ignored ones too: where each line's row is.
    std::vector<Alignment::DiffBlock> m_layoutBlocks;
    std::vector<LineDiff::Hunk> m_hunks;
    std::int32_t m_currentRow = 1;
    std::int32_t m_markedRow = 0;
    std::vector<std::int32_t> m_bookmarks;
    QStringList m_searchTexts;
    std::vector<MovedLines::Move> m_moves;
    std::array<std::vector<MovedRows>, 2> m_movedRows;
    std::optional<std::int32_t> m_foldingContext;
    std::shared_ptr<const RowFolding::FoldedView> m_folds;
    std::unordered_map<std::int32_t, modVantrel::CharacterDiffResult> m_rowMarks;
    bool m_rowMarksIgnoreCase = false;
};
