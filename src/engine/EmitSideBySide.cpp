// The side-by-side form: File One's line on the left, File Two's on the
// right, and a mark in the gutter between them: ' ' common, '|' changed,
// '<' only on the left, '>' only on the right, '(' a common line shown on
// the left alone, ')' on the right alone (beside an ignored hunk); '\' or
// '/' a changed pair whose left or right line lacks its newline. The right
// half starts at a tab stop, so tabs in it line up; a line too long for its
// half is cut.

#include "engine/Emit.h"
#include "engine/EmitText.h"

#include <algorithm>

namespace Emit {

namespace {

constexpr std::int64_t kGutter = 3;

class Rows {
public:
    Rows(OutputSink& out, const Pair& pair, const SideBySide& form, const Layout& layout)
        : m_out(out), m_pair(pair), m_form(form), m_layout(layout)
    {
        // Widths past any screen's are cut to one that cannot overflow.
        constexpr std::int64_t kLargest = std::int64_t{1} << 48;
        const std::int64_t width = std::min(form.width, kLargest);
        m_tabSize = std::min(layout.tabSize, kLargest);
        const std::int64_t step = layout.expandTabs ? 1 : m_tabSize;
        const std::int64_t offset = (width + step + kGutter) / (2 * step) * step;
        m_half = std::max<std::int64_t>(0, std::min(offset - kGutter, width - offset));
        m_right = m_half > 0 ? offset : width;
        m_separator = (m_half + m_right - 1) / 2;
    }

    // The common lines i..stop1 and j..stop2 (ends exclusive). An ignored
    // hunk leaves the two runs of different lengths: they are paired off
    // from the top and the rest shown on its side, as diff shows them.
    void Common(std::int64_t i, std::int64_t stop1, std::int64_t j, std::int64_t stop2)
    {
        if (m_form.suppressCommon)
            return;
        if (!m_form.leftColumn) {
            for (; i < stop1 && j < stop2; ++i, ++j)
                Row(i, j, ' ');
            for (; j < stop2; ++j)
                Row(-1, j, ')');
        }
        for (; i < stop1; ++i)
            Row(i, -1, '(');
    }

    void Changed(const LineDiff::Hunk& h)
    {
        const std::int64_t paired = std::min(h.count1, h.count2);
        for (std::int64_t k = 0; k < paired; ++k) {
            const bool left = m_pair.one.LineLacksNewline(h.first1 + k);
            const bool right = m_pair.two.LineLacksNewline(h.first2 + k);
            Row(h.first1 + k, h.first2 + k, left == right ? '|' : left ? '\\' : '/');
        }
        for (std::int64_t k = paired; k < h.count1; ++k)
            Row(h.first1 + k, -1, '<');
        for (std::int64_t k = paired; k < h.count2; ++k)
            Row(-1, h.first2 + k, '>');
    }

private:
    // Appends the characters of `text` that fall between column `start`
    // and column `limit`; returns the column the row has reached. A
    // carriage return goes back to the start of the line, and blanks then
    // lead back to where the half begins.
    std::int64_t Half(std::string_view text, std::int64_t start, std::int64_t limit)
    {
        std::int64_t column = start;   // where the text has got to
        std::int64_t reached = start;  // where the row has got to
        for (std::size_t at = 0; at < text.size();) {
            const char c = text[at];
            std::size_t length = 1;
            std::int64_t next = column;
            if (c == '\t') {
                column = Tab(column, start, limit, reached);
                ++at;
                continue;
            }
            if (c == '\r') {
                m_out.Write(text.substr(at, 1));
                Pad(0, start);
                next = start;
            } else if (c == '\b') {
                column = Backspace(column, start, limit, reached);
                ++at;
                continue;
            } else {
                next = column + CharColumns(text, at, length);
                if (next <= limit)
                    m_out.Write(text.substr(at, length));
            }
            if (next <= limit || c == '\r')
                reached = next;
            column = next;
            at += length;
        }
        return reached;
    }

    // A tab at `column`, written where the row has got that far: expanded,
    // as blanks up to its stop or the limit; else as a tab that stops
    // short of the limit. Tab stops count from where the half begins.
    // Returns the new column.
    std::int64_t Tab(std::int64_t column, std::int64_t start, std::int64_t limit, std::int64_t& reached)
    {
        const std::int64_t stop = column + m_tabSize - (column - start) % m_tabSize;
        if (column != reached)
            return stop;
        if (m_layout.expandTabs) {
            const std::int64_t filled = std::max(reached, std::min(stop, limit));
            WriteRepeated(m_out, ' ', filled - reached);
            reached = filled;
        } else if (stop < limit) {
            m_out.Write("\t");
            reached = stop;
        }
        return stop;
    }

    // A backspace at `column`: nothing to go back over at the start of the
    // half; within the half it goes back one column, as blanks when the
    // row has not got that far (a tab was cut off); past the limit it only
    // moves the column. Returns the new column.
    std::int64_t Backspace(std::int64_t column, std::int64_t start, std::int64_t limit, std::int64_t& reached)
    {
        if (column == start)
            return column;
        const std::int64_t back = column - 1;
        if (back >= limit)
            return back;
        if (reached <= back)
            WriteRepeated(m_out, ' ', back - reached);
        else
            m_out.Write("\b");
        reached = back;
        return back;
    }

    // Blanks from column `from` to `to`: tabs while a whole tab fits,
    // unless tabs are expanded, then spaces.
    void Pad(std::int64_t from, std::int64_t to)
    {
        const std::int64_t firstStop = from + m_tabSize - from % m_tabSize;
        if (!m_layout.expandTabs && firstStop <= to) {
            const std::int64_t tabs = 1 + (to - firstStop) / m_tabSize;
            WriteRepeated(m_out, '\t', tabs);
            from = firstStop + (tabs - 1) * m_tabSize;
        }
        if (to > from)
            WriteRepeated(m_out, ' ', to - from);
    }

    // One output row: line i of File One and line j of File Two (-1: none).
    void Row(std::int64_t i, std::int64_t j, char mark)
    {
        std::int64_t column = i >= 0 ? Half(m_pair.one.RawLine(i), 0, m_half) : 0;
        if (mark != ' ') {
            Pad(column, m_separator);
            m_out.Write(std::string_view(&mark, 1));
            column = m_separator + 1;
        }
        if (j >= 0 && !m_pair.two.RawLine(j).empty()) {
            Pad(column, m_right);
            Half(m_pair.two.RawLine(j), m_right, m_right + m_half);
        }
        // The row lacks its newline where every line in it does.
        const bool lacking = (i < 0 || m_pair.one.LineLacksNewline(i)) && (j < 0 || m_pair.two.LineLacksNewline(j));
        if (!lacking)
            m_out.Write("\n");
    }

    OutputSink& m_out;
    const Pair& m_pair;
    const SideBySide& m_form;
    const Layout& m_layout;
    std::int64_t m_tabSize = 8;
    std::int64_t m_half = 0;
    std::int64_t m_right = 0;
    std::int64_t m_separator = 0;
};

}  // namespace

void WriteSideBySide(OutputSink& out, const Pair& pair, const SideBySide& form, const Layout& layout)
{
    Rows rows(out, pair, form, layout);
    std::int64_t i = 0;
    std::int64_t j = 0;
    for (const LineDiff::Hunk& h : pair.hunks) {
        if (h.ignored)
            continue;
        rows.Common(i, h.first1, j, h.first2);
        rows.Changed(h);
        i = h.first1 + h.count1;
        j = h.first2 + h.count2;
    }
    rows.Common(i, pair.one.LineCount(), j, pair.two.LineCount());
}

}  // namespace Emit
