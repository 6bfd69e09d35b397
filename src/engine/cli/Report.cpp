#include "Report.h"

#include "engine/CharacterMarks.h"
#include "engine/FileText.h"
#include "engine/HtmlReport.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// The rows of two files and their hunks, as the window lays them out:
// unchanged lines side by side; a hunk's lines of each file from the same
// row down, line k of File One's beside line k of File Two's, the shorter
// side padded with fillers. A hunk's rows are changed when it has lines on
// both sides (its fillers too), one-sided when it has lines on one, and
// plain when it is ignored. Rows are found walking forward through the
// hunks, as the writer asks for them in ascending order.
class HunkRows final : public HtmlReport::RowSource {
public:
    HunkRows(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks, bool ignoreCase)
        : m_one(one), m_two(two), m_hunks(hunks), m_ignoreCase(ignoreCase), m_rows(one.LineCount())
    {
        for (const LineDiff::Hunk& h : hunks)
            m_rows += std::max<std::int64_t>(h.count1, h.count2) - h.count1;
        m_hunkRow = hunks.empty() ? m_rows : hunks.front().first1;
    }

    [[nodiscard]] std::int64_t RowCount() const override { return m_rows; }

    void Fill(std::int64_t index, HtmlReport::Row& row) override
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
            const HtmlReport::Shade shade = changed ? HtmlReport::Shade::Changed : HtmlReport::Shade::OneSided;
            left.shade = h.ignored || (left.line < 0 && !changed) ? HtmlReport::Shade::Plain : shade;
            right.shade = h.ignored || (right.line < 0 && !changed) ? HtmlReport::Shade::Plain : shade;
        }
        if (left.line >= 0)
            left.text = m_one.Line(left.line);
        if (right.line >= 0)
            right.text = m_two.Line(right.line);
        if (left.shade == HtmlReport::Shade::Changed && left.line >= 0 && right.line >= 0) {
            // Without the memory to compare two long lines, the row shows
            // them unmarked, as the window does.
            try {
                modVantrel::CharacterDiffResult marks =
                    CharacterMarks::MarkUtf8Lines(left.text, right.text, m_ignoreCase);
                left.marks = std::move(marks.marks1);
                right.marks = std::move(marks.marks2);
            } catch (const std::bad_alloc&) {
                left.marks.clear();
                right.marks.clear();
            }
        }
    }

private:
    static std::int64_t Height(const LineDiff::Hunk& h) { return std::max(h.count1, h.count2); }

    // Goes on to the unchanged lines after the current hunk and the hunk
    // after them.
    void Pass()
    {
        const LineDiff::Hunk& h = m_hunks[m_hunk];
        m_stretchRow = m_hunkRow + Height(h);
        m_line1 = h.first1 + h.count1;
        m_line2 = h.first2 + h.count2;
        ++m_hunk;
        m_hunkRow = m_hunk < m_hunks.size() ? m_stretchRow + (m_hunks[m_hunk].first1 - m_line1) : m_rows;
    }

    const LineFile& m_one;
    const LineFile& m_two;
    const std::vector<LineDiff::Hunk>& m_hunks;
    bool m_ignoreCase;
    std::int64_t m_rows;
    std::size_t m_hunk = 0;         // the hunk at or after the rows asked for
    std::int64_t m_hunkRow = 0;     // its first row
    std::int64_t m_stretchRow = 0;  // the first row of the unchanged lines before it
    std::int64_t m_line1 = 0;       // their first lines
    std::int64_t m_line2 = 0;
};

// What the options ignored, in the window's words where it has the same
// option, and in words of their own for the others.
std::vector<std::string> IgnoredNames(const CommandLine& cmd)
{
    const LineDiff::Settings& lines = cmd.settings.lines;
    const std::pair<bool, const char*> flags[] = {{lines.ignoreCase, "case"},
                                                  {lines.ignoreWhiteSpace, "white space"},
                                                  {lines.ignoreSpaceChange, "white space changes"},
                                                  {lines.ignoreTrailingSpace, "white space at line ends"},
                                                  {lines.ignoreTabExpansion, "tab expansion"},
                                                  {cmd.settings.stripTrailingCr, "carriage returns at line ends"},
                                                  {lines.ignoreBlankLines, "blank lines"}};
    std::vector<std::string> names;
    for (const auto& [on, name] : flags)
        if (on)
            names.emplace_back(name);
    if (cmd.ignorePatterns.empty())
        return names;
    std::string patterns;
    for (const std::string& pattern : cmd.ignorePatterns)
        patterns += (patterns.empty() ? "'" : ", '") + FileText::ReadableName(pattern) + "'";
    names.push_back(
        (cmd.ignorePatterns.size() == 1 ? "changes whose lines all match " : "changes whose lines all match one of ")
        + patterns);
    return names;
}

// A file as the heading names it: its label, or its name and time.
HtmlReport::FileHeading HeadingOf(const CommandLine& cmd, std::size_t side, const Operand& operand,
                                  const InputFile& file, const LineFile& lines)
{
    HtmlReport::FileHeading heading{FileText::ReadableName(operand.path), std::nullopt, FileText::Summary(lines)};
    if (cmd.labels.size() > side)
        heading.name = FileText::ReadableName(cmd.labels[side]);
    else if (!operand.absent && operand.path != "-")
        heading.modified = file.ModificationTime().seconds;
    return heading;
}

}  // namespace

void WriteReport(OutputSink& out, const CommandLine& cmd, const Comparison& c, const Operand (&operands)[2],
                 const InputFile (&files)[2])
{
    HtmlReport::Heading heading{
        {HeadingOf(cmd, 0, operands[0], files[0], *c.files[0]), HeadingOf(cmd, 1, operands[1], files[1], *c.files[1])},
        IgnoredNames(cmd)};
    HunkRows rows(*c.files[0], *c.files[1], c.hunks, cmd.settings.lines.ignoreCase);
    HtmlReport::Write(out, heading, rows);
}
