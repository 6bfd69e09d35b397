#include "compare/RowDescription.h"

#include "compare/ComparisonModel.h"

#include <QStringList>
#include <algorithm>

namespace RowDescription {
namespace {

const QString kFileNames[2] = {QStringLiteral("File One"), QStringLiteral("File Two")};

// The difference block that holds a row, and its place among the blocks;
// -1 when the row is in none. The blocks ascend and never overlap.
std::ptrdiff_t BlockIndexOf(const ComparisonModel& model, std::int32_t row)
{
    const std::vector<Alignment::DiffBlock>& blocks = model.Blocks();
    const auto after = std::upper_bound(blocks.begin(), blocks.end(), row,
                                        [](std::int32_t r, const Alignment::DiffBlock& b) { return r < b.firstRow; });
    if (after == blocks.begin())
        return -1;
    const auto block = std::prev(after);
    return row < block->firstRow + block->rowCount ? block - blocks.begin() : -1;
}

// Where the moved line a row shows in a pane went to or came from; empty
// when the row's line did not move.
QString MoveWords(const ComparisonModel& model, int side, std::int32_t row)
{
    const std::vector<ComparisonModel::MovedRows>& runs = model.MovedRowsOf(side);
    const auto after =
        std::upper_bound(runs.begin(), runs.end(), row,
                         [](std::int32_t r, const ComparisonModel::MovedRows& run) { return r < run.firstRow; });
    if (after == runs.begin() || row >= std::prev(after)->firstRow + std::prev(after)->rowCount)
        return {};
    const ComparisonModel::MovedRows& run = *std::prev(after);
    const std::int64_t otherLine = std::int64_t{model.LineOfRow(1 - side, run.otherRow + (row - run.firstRow))} + 1;
    return (side == 0 ? QStringLiteral("moved to line %1 of File Two")
                      : QStringLiteral("moved from line %1 of File One"))
        .arg(otherLine);
}

// What a block is: "lines 40–42 changed", "line 7 only in File Two".
QString BlockWords(const Alignment::DiffBlock& block)
{
    const QString one = LineRange(block.firstLineOne, block.lineCountOne);
    const QString two = LineRange(block.firstLineTwo, block.lineCountTwo);
    if (block.lineCountTwo == 0)
        return one + QStringLiteral(" only in File One");
    if (block.lineCountOne == 0)
        return two + QStringLiteral(" only in File Two");
    if (block.firstLineOne == block.firstLineTwo && block.lineCountOne == block.lineCountTwo)
        return one + QStringLiteral(" changed");
    return QStringLiteral("%1 of File One and %2 of File Two changed").arg(one, two);
}

// The lines a row shows: "line 12" when both files' numbers agree,
// otherwise each file's line that it shows.
QString RowLines(const ComparisonModel& model, std::int32_t row)
{
    const std::int32_t one = model.LineOfRow(0, row);
    const std::int32_t two = model.LineOfRow(1, row);
    if (one == two && one != Alignment::kNoLine)
        return LineRange(one, 1);
    QStringList lines;
    for (int side = 0; side < 2; ++side)
        if (const std::int32_t line = side == 0 ? one : two; line != Alignment::kNoLine)
            lines << LineRange(line, 1) + QStringLiteral(" of ") + kFileNames[side];
    return lines.join(QStringLiteral(", "));
}

}  // namespace

QString LineRange(std::int32_t firstLine, std::int32_t count)
{
    if (count <= 0)
        return QStringLiteral("no line");
    if (count == 1)
        return QStringLiteral("line %1").arg(std::int64_t{firstLine} + 1);
    return QStringLiteral("lines %1\u2013%2").arg(std::int64_t{firstLine} + 1).arg(std::int64_t{firstLine} + count);
}

QString RowState(const ComparisonModel& model, int side, std::int32_t row)
{
    if (row < 1 || row > model.RowCount())
        return {};
    if (model.FoldOf(row))
        return QStringLiteral("folded");
    if (row == model.RowCount())
        return QStringLiteral("end");
    QStringList words;
    if (model.LineOfRow(side, row) == Alignment::kNoLine)
        words << QStringLiteral("filler");
    const QString moved = MoveWords(model, side, row);
    const std::ptrdiff_t block = BlockIndexOf(model, row);
    if (!moved.isEmpty())
        words << moved;
    else if (block >= 0 && model.Blocks()[static_cast<std::size_t>(block)].Orphan())
        words << (model.Blocks()[static_cast<std::size_t>(block)].lineCountTwo == 0
                      ? QStringLiteral("only in File One")
                      : QStringLiteral("only in File Two"));
    else if (block >= 0)
        words << QStringLiteral("changed");
    else if (model.RowColor(side, row) == Alignment::kSkippedColor)
        words << QStringLiteral("left out");
    else
        words << QStringLiteral("unchanged");
    if (model.IsBookmarked(row))
        words << QStringLiteral("bookmarked");
    if (model.MarkedRow() == row)
        words << QStringLiteral("marked");
    return words.join(QStringLiteral(", "));
}

QString Announcement(const ComparisonModel& model, std::int32_t row)
{
    if (!model.Shown() || row < 1 || row > model.RowCount())
        return {};
    if (const RowFolding::Fold* fold = model.FoldOf(row))
        return QStringLiteral("Folded: ") + RowFolding::FoldText(fold->rowCount);
    if (row == model.RowCount())
        return QStringLiteral("End of the files");
    const std::ptrdiff_t block = BlockIndexOf(model, row);
    if (block < 0) {
        const bool leftOut =
            model.RowColor(0, row) == Alignment::kSkippedColor || model.RowColor(1, row) == Alignment::kSkippedColor;
        return (leftOut ? QStringLiteral("Left out: ") : QStringLiteral("Unchanged: ")) + RowLines(model, row);
    }
    QString text = QStringLiteral("Difference %1 of %2: %3")
                       .arg(block + 1)
                       .arg(model.Blocks().size())
                       .arg(BlockWords(model.Blocks()[static_cast<std::size_t>(block)]));
    for (int side = 0; side < 2; ++side)
        if (const QString moved = MoveWords(model, side, row); !moved.isEmpty())
            text +=
                QStringLiteral("; %1's %2 %3").arg(kFileNames[side], LineRange(model.LineOfRow(side, row), 1), moved);
    return text;
}

}  // namespace RowDescription
