#include "compare/RowFolding.h"

#include <algorithm>
#include <stdexcept>

namespace RowFolding {

std::vector<Fold> UnchangedFolds(const std::vector<Alignment::DiffBlock>& blocks, std::int32_t lineRows,
                                 std::int32_t context)
{
    const std::int64_t keep = std::max(context, 0);
    std::vector<Fold> folds;
    const auto add = [&](std::int64_t first, std::int64_t last) {
        last = std::min<std::int64_t>(last, lineRows);
        if (first <= last)
            folds.push_back({static_cast<std::int32_t>(first), static_cast<std::int32_t>(last - first + 1)});
    };
    // The unchanged run before each block, then the one after the last.
    std::int64_t runStart = 1;
    bool afterBlock = false;
    for (const Alignment::DiffBlock& block : blocks) {
        if (block.rowCount <= 0)
            continue;
        add(afterBlock ? runStart + keep : runStart, std::int64_t{block.firstRow} - 1 - keep);
        runStart = std::int64_t{block.firstRow} + block.rowCount;
        afterBlock = true;
    }
    add(afterBlock ? runStart + keep : runStart, lineRows);
    return folds;
}

FoldedView::FoldedView(std::vector<Fold> folds, std::int32_t rowCount)
    : m_folds(std::move(folds)), m_rowCount(std::max(rowCount, 0))
{
    m_hiddenBefore.reserve(m_folds.size());
    std::int32_t end = 1;
    for (const Fold& fold : m_folds) {
        if (fold.rowCount < 1 || fold.firstRow < end || fold.EndRow() - 1 > m_rowCount)
            throw std::invalid_argument("FoldedView: folds out of order or beyond the rows");
        m_hiddenBefore.push_back(m_hiddenTotal);
        m_hiddenTotal += fold.rowCount - 1;
        end = fold.EndRow();
    }
}

std::ptrdiff_t FoldedView::LastFoldFrom(std::int32_t row) const
{
    const auto after = std::upper_bound(m_folds.begin(), m_folds.end(), row,
                                        [](std::int32_t r, const Fold& fold) { return r < fold.firstRow; });
    return (after - m_folds.begin()) - 1;
}

std::int32_t FoldedView::RowOfShown(std::int32_t shown) const
{
    if (shown < 1 || shown > ShownRowCount())
        return shown;
    // Fold i is shown at firstRow - hiddenBefore[i], which grows with i.
    std::size_t low = 0;
    std::size_t high = m_folds.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (m_folds[middle].firstRow - m_hiddenBefore[middle] <= shown)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == 0)
        return shown;
    const std::size_t i = low - 1;
    const Fold& fold = m_folds[i];
    if (shown == fold.firstRow - m_hiddenBefore[i])
        return fold.firstRow;
    return shown + m_hiddenBefore[i] + fold.rowCount - 1;
}

std::int32_t FoldedView::ShownOfRow(std::int32_t row) const
{
    if (row < 1 || row > m_rowCount)
        return row;
    const std::ptrdiff_t i = LastFoldFrom(row);
    if (i < 0)
        return row;
    const Fold& fold = m_folds[static_cast<std::size_t>(i)];
    const std::int32_t hidden = m_hiddenBefore[static_cast<std::size_t>(i)];
    return row < fold.EndRow() ? fold.firstRow - hidden : row - hidden - (fold.rowCount - 1);
}

const Fold* FoldedView::FoldOf(std::int32_t row) const
{
    const std::ptrdiff_t i = LastFoldFrom(row);
    if (i < 0 || row >= m_folds[static_cast<std::size_t>(i)].EndRow())
        return nullptr;
    return &m_folds[static_cast<std::size_t>(i)];
}

std::shared_ptr<const FoldedView> FoldedView::Opened(std::int32_t row) const
{
    const Fold* fold = FoldOf(row);
    if (!fold)
        return nullptr;
    std::vector<Fold> kept;
    kept.reserve(m_folds.size() - 1);
    for (const Fold& other : m_folds)
        if (&other != fold)
            kept.push_back(other);
    return std::make_shared<const FoldedView>(std::move(kept), m_rowCount);
}

QString FoldText(std::int32_t rowCount)
{
    // Digits grouped in threes with commas, whatever the locale, like the
    // program's other texts.
    QString digits = QString::number(rowCount);
    for (qsizetype at = digits.size() - 3; at > (digits.startsWith(QLatin1Char('-')) ? 1 : 0); at -= 3)
        digits.insert(at, QLatin1Char(','));
    const QString lines = rowCount == 1 ? QStringLiteral("unchanged line") : QStringLiteral("unchanged lines");
    return QStringLiteral("\u22EF %1 %2 \u22EF").arg(digits, lines);
}

}  // namespace RowFolding
