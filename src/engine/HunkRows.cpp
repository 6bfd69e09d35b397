#include "engine/HunkRows.h"

#include "engine/CharacterMarks.h"

#include <algorithm>
#include <new>
#include <utility>

using HtmlReport::Shade;

HunkRows::HunkRows(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks, bool ignoreCase,
                   std::array<const LineMask*, 2> skipped)
    : m_one(one), m_two(two), m_hunks(hunks), m_ignoreCase(ignoreCase), m_skipped(skipped), m_rows(one.LineCount())
{
    for (const LineDiff::Hunk& h : hunks)
        m_rows += Height(h) - h.count1;
    m_hunkRow = hunks.empty() ? m_rows : hunks.front().first1;
}

void HunkRows::Fill(std::int64_t index, HtmlReport::Row& row)
{
    while (m_hunk < m_hunks.size() && index >= m_hunkRow + Height(m_hunks[m_hunk]))
        Pass();
    HtmlReport::Cell& left = row.cells[0];
    HtmlReport::Cell& right = row.cells[1];
    if (m_hunk == m_hunks.size() || index < m_hunkRow) {
        left.line = m_line1 + (index - m_stretchRow);
        right.line = m_line2 + (index - m_stretchRow);
    } else {
        const LineDiff::Hunk& h = m_hunks[m_hunk];
        const std::int64_t k = index - m_hunkRow;
        left.line = k < h.count1 ? h.first1 + k : -1;
        right.line = k < h.count2 ? h.first2 + k : -1;
        const bool changed = h.count1 > 0 && h.count2 > 0;
        const Shade shade = changed ? Shade::Changed : Shade::OneSided;
        left.shade = h.ignored || (left.line < 0 && !changed) ? Shade::Plain : shade;
        right.shade = h.ignored || (right.line < 0 && !changed) ? Shade::Plain : shade;
    }
    for (std::size_t side = 0; side < 2; ++side) {
        HtmlReport::Cell& cell = row.cells[side];
        const LineMask* mask = m_skipped[side];
        if (cell.line < 0)
            continue;
        cell.text = (side == 0 ? m_one : m_two).Line(cell.line);
        if (mask && static_cast<std::size_t>(cell.line) < mask->size() && (*mask)[static_cast<std::size_t>(cell.line)])
            cell.shade = Shade::Skipped;
    }
    Mark(row);
}

// The differing characters of a changed line pair. Without the memory to
// compare two long lines, the row shows them unmarked, as the window does.
void HunkRows::Mark(HtmlReport::Row& row) const
{
    HtmlReport::Cell& left = row.cells[0];
    HtmlReport::Cell& right = row.cells[1];
    if (left.shade != Shade::Changed || right.shade != Shade::Changed || left.line < 0 || right.line < 0)
        return;
    try {
        modVantrel::CharacterDiffResult marks = CharacterMarks::MarkUtf8Lines(left.text, right.text, m_ignoreCase);
        left.marks = std::move(marks.marks1);
        right.marks = std::move(marks.marks2);
    } catch (const std::bad_alloc&) {
        left.marks.clear();
        right.marks.clear();
    }
}

// Goes on to the unchanged lines after the current hunk and the hunk after
// them.
void HunkRows::Pass()
{
    const LineDiff::Hunk& h = m_hunks[m_hunk];
    m_stretchRow = m_hunkRow + Height(h);
    m_line1 = h.first1 + h.count1;
    m_line2 = h.first2 + h.count2;
    ++m_hunk;
    m_hunkRow = m_hunk < m_hunks.size() ? m_stretchRow + (m_hunks[m_hunk].first1 - m_line1) : m_rows;
}

std::vector<HtmlReport::Span> HunkRows::ChangeSpans(std::int64_t context) const
{
    std::vector<HtmlReport::Span> spans;
    std::int64_t fillers = 0;  // the rows the hunks before add to File One's lines
    for (const LineDiff::Hunk& h : m_hunks) {
        const std::int64_t row = h.first1 + fillers;
        fillers += Height(h) - h.count1;
        if (h.ignored)
            continue;
        const std::int64_t first = std::max<std::int64_t>(0, row - context);
        const std::int64_t end = std::min(m_rows, row + Height(h) + context);
        if (!spans.empty() && first <= spans.back().first + spans.back().count)
            spans.back().count = end - spans.back().first;
        else
            spans.push_back({first, end - first});
    }
    return spans;
}
