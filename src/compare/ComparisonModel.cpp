#include "compare/ComparisonModel.h"

#include "compare/RowText.h"
#include "engine/LineFile.h"

#include <algorithm>
#include <iterator>
#include <new>

namespace {

// The first row of the first block that starts after `row`.
std::optional<std::int32_t> FirstBlockAfter(const std::vector<Alignment::DiffBlock>& blocks, std::int32_t row)
{
    const auto it = std::upper_bound(blocks.begin(), blocks.end(), row,
                                     [](std::int32_t r, const Alignment::DiffBlock& b) { return r < b.firstRow; });
    return it == blocks.end() ? std::nullopt : std::optional<std::int32_t>(it->firstRow);
}

std::optional<std::int32_t> LastBlockBefore(const std::vector<Alignment::DiffBlock>& blocks, std::int32_t row)
{
    const auto it = std::lower_bound(blocks.begin(), blocks.end(), row,
                                     [](const Alignment::DiffBlock& b, std::int32_t r) { return b.firstRow < r; });
    return it == blocks.begin() ? std::nullopt : std::optional<std::int32_t>(std::prev(it)->firstRow);
}

// A pane's rows to change. Shared with the grids, they are copied; held by
// the model alone (moves are found before the grids take the rows), they
// are taken over. The model makes its rows as objects that are not const,
// so taking them over is allowed.
Alignment::PaneRows TakeRows(std::shared_ptr<const Alignment::PaneRows>& pane)
{
    if (pane.use_count() == 1)
        return std::move(const_cast<Alignment::PaneRows&>(*pane));
    return *pane;
}

}  // namespace

void ComparisonModel::Show(std::shared_ptr<const LineFile> one, std::shared_ptr<const LineFile> two,
                           Alignment::AlignedRows rows)
{
    m_files = {std::move(one), std::move(two)};
    m_panes = {std::make_shared<Alignment::PaneRows>(std::move(rows.one)),
               std::make_shared<Alignment::PaneRows>(std::move(rows.two))};
    m_layoutBlocks = std::move(rows.blocks);
    m_hunks.clear();
    m_blocks.clear();
    std::copy_if(m_layoutBlocks.begin(), m_layoutBlocks.end(), std::back_inserter(m_blocks),
                 [](const Alignment::DiffBlock& b) { return !b.ignored; });
    m_currentRow = 1;
    m_markedRow = 0;
    m_bookmarks.clear();
    m_rowMarks.clear();
    m_moves.clear();
    m_movedRows = {};
    Refold();
}

Alignment::AlignStatus ComparisonModel::Show(std::shared_ptr<const LineFile> one, std::shared_ptr<const LineFile> two,
                                             const std::vector<LineDiff::Hunk>& hunks,
                                             const std::array<std::shared_ptr<const LineMask>, 2>& skipped)
{
    // Callers refuse files of more lines than a row number holds.
    Alignment::AlignOutcome outcome = Alignment::AlignHunks(hunks, static_cast<std::int32_t>(one->LineCount()),
                                                            static_cast<std::int32_t>(two->LineCount()));
    if (!outcome.ok())
        Alignment::PadShorterPane(outcome.rows);
    for (std::size_t side = 0; side < 2; ++side) {
        if (!skipped[side])
            continue;
        Alignment::PaneRows& pane = side == 0 ? outcome.rows.one : outcome.rows.two;
        const LineMask& mask = *skipped[side];
        for (std::size_t r = 0; r < pane.size(); ++r) {
            const std::int32_t line = pane.line[r];
            if (line != Alignment::kNoLine && static_cast<std::size_t>(line) < mask.size()
                && mask[static_cast<std::size_t>(line)])
                pane.color[r] = Alignment::kSkippedColor;
        }
    }
    Show(std::move(one), std::move(two), std::move(outcome.rows));
    m_hunks = hunks;
    return outcome.status;
}

void ComparisonModel::Clear()
{
    m_files = {};
    m_panes = {};
    m_blocks.clear();
    m_layoutBlocks.clear();
    m_hunks.clear();
    m_currentRow = 1;
    m_markedRow = 0;
    m_bookmarks.clear();
    m_rowMarks.clear();
    m_moves.clear();
    m_movedRows = {};
    m_folds.reset();
}

void ComparisonModel::ShowMoves(std::vector<MovedLines::Move> moves)
{
    if (!Shown() || (moves.empty() && m_moves.empty()))
        return;
    std::array<Alignment::PaneRows, 2> panes = {TakeRows(m_panes[0]), TakeRows(m_panes[1])};
    for (std::size_t side = 0; side < 2; ++side)
        for (const MovedRows& run : m_movedRows[side]) {
            const auto block =
                std::upper_bound(m_layoutBlocks.begin(), m_layoutBlocks.end(), run.firstRow,
                                 [](std::int32_t r, const Alignment::DiffBlock& b) { return r < b.firstRow; });
            const std::uint32_t color =
                block == m_layoutBlocks.begin() ? Alignment::kChangedColor : std::prev(block)->Color();
            std::fill_n(panes[side].color.begin() + (run.firstRow - 1), run.rowCount, color);
        }
    m_moves = std::move(moves);
    m_movedRows = {};
    for (const MovedLines::Move& move : m_moves) {
        const std::int32_t rowOne = Alignment::RowOfLine(m_layoutBlocks, 0, static_cast<std::int32_t>(move.lineOne));
        const std::int32_t rowTwo = Alignment::RowOfLine(m_layoutBlocks, 1, static_cast<std::int32_t>(move.lineTwo));
        const auto count = static_cast<std::int32_t>(move.count);
        m_movedRows[0].push_back({rowOne, count, rowTwo});
        m_movedRows[1].push_back({rowTwo, count, rowOne});
    }
    std::sort(m_movedRows[1].begin(), m_movedRows[1].end(),
              [](const MovedRows& a, const MovedRows& b) { return a.firstRow < b.firstRow; });
    for (std::size_t side = 0; side < 2; ++side)
        for (const MovedRows& run : m_movedRows[side])
            std::fill_n(panes[side].color.begin() + (run.firstRow - 1), run.rowCount, Alignment::kMovedColor);
    m_panes = {std::make_shared<Alignment::PaneRows>(std::move(panes[0])),
               std::make_shared<Alignment::PaneRows>(std::move(panes[1]))};
    // A moved line is no changed line beside its neighbour: its marks go.
    m_rowMarks.clear();
}

const ComparisonModel::MovedRows* ComparisonModel::MovedRowsAt(int side, std::int32_t row) const
{
    const std::vector<MovedRows>& runs = m_movedRows[Index(side)];
    const auto after = std::upper_bound(runs.begin(), runs.end(), row,
                                        [](std::int32_t r, const MovedRows& run) { return r < run.firstRow; });
    if (after == runs.begin() || row >= std::prev(after)->firstRow + std::prev(after)->rowCount)
        return nullptr;
    return &*std::prev(after);
}

std::optional<std::int32_t> ComparisonModel::OtherEndOfMove(std::int32_t row) const
{
    for (int side = 0; side < 2; ++side)
        if (const MovedRows* run = MovedRowsAt(side, row))
            return run->otherRow + (row - run->firstRow);
    return std::nullopt;
}

QString ComparisonModel::MoveText(std::int32_t row) const
{
    QStringList texts;
    if (const MovedRows* run = MovedRowsAt(0, row))
        texts << QStringLiteral("Moved to line %1 of File Two")
                     .arg(std::int64_t{LineOfRow(1, run->otherRow + (row - run->firstRow))} + 1);
    if (const MovedRows* run = MovedRowsAt(1, row))
        texts << QStringLiteral("Moved from line %1 of File One")
                     .arg(std::int64_t{LineOfRow(0, run->otherRow + (row - run->firstRow))} + 1);
    return texts.join(u'\n');
}

void ComparisonModel::SetFolding(std::optional<std::int32_t> context)
{
    m_foldingContext = context;
    Refold();
}

void ComparisonModel::Refold()
{
    m_folds.reset();
    if (!m_foldingContext || !Shown())
        return;
    // The trailing row shows no line and is never folded.
    std::vector<RowFolding::Fold> folds = RowFolding::UnchangedFolds(m_blocks, RowCount() - 1, *m_foldingContext);
    if (!folds.empty())
        m_folds = std::make_shared<const RowFolding::FoldedView>(std::move(folds), RowCount());
}

const RowFolding::Fold* ComparisonModel::FoldOf(std::int32_t row) const
{
    return m_folds ? m_folds->FoldOf(row) : nullptr;
}

bool ComparisonModel::Unfold(std::int32_t row)
{
    if (!FoldOf(row))
        return false;
    m_folds = m_folds->Opened(row);
    if (m_folds && m_folds->Folds().empty())
        m_folds.reset();
    return true;
}

std::int32_t ComparisonModel::RowCount() const
{
    return m_panes[0] ? static_cast<std::int32_t>(m_panes[0]->size()) : 0;
}

std::int32_t ComparisonModel::LineOfRow(int side, std::int32_t row) const
{
    const auto& pane = Pane(side);
    if (!pane || row < 1 || static_cast<std::size_t>(row) > pane->size())
        return Alignment::kNoLine;
    return pane->line[static_cast<std::size_t>(row - 1)];
}

std::uint32_t ComparisonModel::RowColor(int side, std::int32_t row) const
{
    const auto& pane = Pane(side);
    if (!pane || row < 1 || static_cast<std::size_t>(row) > pane->size())
        return Alignment::kDefaultColor;
    return pane->color[static_cast<std::size_t>(row - 1)];
}

QString ComparisonModel::RowText(int side, std::int32_t row) const
{
    const std::int32_t line = LineOfRow(side, row);
    const auto& file = File(side);
    if (line == Alignment::kNoLine || !file || line >= file->LineCount())
        return {};
    return RowText::Format(std::int64_t{line} + 1, file->Line(line));
}

LineText ComparisonModel::LineTextOf(int side, std::int32_t row) const
{
    const std::int32_t line = LineOfRow(side, row);
    const auto& file = File(side);
    if (line == Alignment::kNoLine || !file || line >= file->LineCount())
        return {};
    return LineText::FromBytes(file->Line(line), file);
}

bool ComparisonModel::IsChangedLinePair(std::int32_t row) const
{
    if (!Shown() || row < 1 || row > RowCount())
        return false;
    const auto index = static_cast<std::size_t>(row - 1);
    return m_panes[0]->color[index] == Alignment::kChangedColor && m_panes[0]->line[index] != Alignment::kNoLine
           && m_panes[1]->color[index] == Alignment::kChangedColor && m_panes[1]->line[index] != Alignment::kNoLine;
}

const modVantrel::CharacterDiffResult* ComparisonModel::RowMarks(std::int32_t row, bool ignoreCase)
{
    if (!IsChangedLinePair(row))
        return nullptr;
    if (ignoreCase != m_rowMarksIgnoreCase) {
        m_rowMarks.clear();
        m_rowMarksIgnoreCase = ignoreCase;
    }
    if (const auto known = m_rowMarks.find(row); known != m_rowMarks.end())
        return &known->second;
    modVantrel::CharacterDiffResult marks;
    try {
        marks = modVantrel::ShownCharacterDiffs(LineTextOf(0, row), LineTextOf(1, row), ignoreCase);
    } catch (const std::bad_alloc&) {
        // No memory for the comparison: the row shows no marks rather than
        // asking again at every paint.
        marks = {};
    }
    return &m_rowMarks.emplace(row, std::move(marks)).first->second;
}

const modVantrel::CharacterDiffResult* ComparisonModel::KnownRowMarks(std::int32_t row, bool ignoreCase) const
{
    if (ignoreCase != m_rowMarksIgnoreCase)
        return nullptr;
    const auto known = m_rowMarks.find(row);
    return known == m_rowMarks.end() ? nullptr : &known->second;
}

bool ComparisonModel::IsBookmarked(std::int32_t row) const
{
    return std::binary_search(m_bookmarks.begin(), m_bookmarks.end(), row);
}

bool ComparisonModel::AddBookmark(std::int32_t row)
{
    if (row < 1 || row > RowCount())
        return false;
    const auto it = std::lower_bound(m_bookmarks.begin(), m_bookmarks.end(), row);
    if (it != m_bookmarks.end() && *it == row)
        return false;
    m_bookmarks.insert(it, row);
    return true;
}

bool ComparisonModel::RemoveBookmark(std::int32_t row)
{
    const auto it = std::lower_bound(m_bookmarks.begin(), m_bookmarks.end(), row);
    if (it == m_bookmarks.end() || *it != row)
        return false;
    m_bookmarks.erase(it);
    return true;
}

std::optional<std::int32_t> ComparisonModel::NextBookmark(std::int32_t row) const
{
    const auto it = std::upper_bound(m_bookmarks.begin(), m_bookmarks.end(), row);
    return it == m_bookmarks.end() ? std::nullopt : std::optional<std::int32_t>(*it);
}

std::optional<std::int32_t> ComparisonModel::PreviousBookmark(std::int32_t row) const
{
    const auto it = std::lower_bound(m_bookmarks.begin(), m_bookmarks.end(), row);
    return it == m_bookmarks.begin() ? std::nullopt : std::optional<std::int32_t>(*std::prev(it));
}

std::optional<std::int32_t> ComparisonModel::NextDiff(std::int32_t row) const
{
    return FirstBlockAfter(m_blocks, row);
}

std::optional<std::int32_t> ComparisonModel::PreviousDiff(std::int32_t row) const
{
    return LastBlockBefore(m_blocks, row);
}

std::optional<std::int32_t> ComparisonModel::FirstDiff() const
{
    return m_blocks.empty() ? std::nullopt : std::optional<std::int32_t>(m_blocks.front().firstRow);
}

std::optional<std::int32_t> ComparisonModel::LastDiff() const
{
    return m_blocks.empty() ? std::nullopt : std::optional<std::int32_t>(m_blocks.back().firstRow);
}

std::optional<std::int32_t> ComparisonModel::Find(const QString& text, FindDirection direction, std::int32_t row) const
{
    if (!Shown())
        return std::nullopt;
    const RowSearch::Needle needle(text);
    // The trailing row shows no line; rows beyond it do not exist.
    const std::int32_t last = RowCount();
    std::optional<std::int32_t> found;
    if (direction != FindDirection::Previous)
        found = FindOneWay(needle, RowSearch::Direction::Down, row + 1, last);
    if (!found && direction != FindDirection::Next)
        found = FindOneWay(needle, RowSearch::Direction::Up, 1, row - 1);
    return found;
}

std::optional<std::int32_t> ComparisonModel::FindOneWay(const RowSearch::Needle& needle, RowSearch::Direction direction,
                                                        std::int32_t firstRow, std::int32_t lastRow) const
{
    // File One's pane is searched whole before File Two's: a match there
    // wins over a nearer one in File Two.
    for (int side = 0; side < 2; ++side) {
        if (!File(side) || !Pane(side))
            continue;
        if (const auto row = RowSearch::FindInPane(*File(side), *Pane(side), m_layoutBlocks, side, needle, firstRow,
                                                   lastRow, direction))
            return row;
    }
    return std::nullopt;
}
