#pragma once
// The rows of two files and their hunks, as the window's grids lay them
// out, for the HTML report: unchanged lines side by side; a hunk's lines of
// each file from the same row down, line k of File One's beside line k of
// File Two's, the shorter side padded with fillers. A hunk's rows are
// changed when it has lines on both sides (its fillers too), one-sided
// when it has lines on one, and plain when it is ignored; a line the
// comparison left out (a line filter) is shown as skipped.

#include "engine/HtmlReport.h"
#include "engine/LineDiff.h"
#include "engine/LineFile.h"
#include "engine/SkippedLines.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

class HunkRows final : public HtmlReport::RowSource {
public:
    // The files, hunks and masks are kept by reference: they must outlive
    // the rows. `ignoreCase` is how the characters of changed line pairs
    // are compared; `skipped` flags the lines each file left out (none).
    HunkRows(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks, bool ignoreCase,
             std::array<const LineMask*, 2> skipped = {});

    [[nodiscard]] std::int64_t RowCount() const override { return m_rows; }
    // Rows are found walking forward through the hunks, as the writer asks
    // for them in ascending order.
    void Fill(std::int64_t index, HtmlReport::Row& row) override;

    // The rows of the hunks that are not ignored with `context` rows around
    // each, overlapping or touching stretches joined into one span.
    [[nodiscard]] std::vector<HtmlReport::Span> ChangeSpans(std::int64_t context) const;

private:
    static std::int64_t Height(const LineDiff::Hunk& h) { return std::max(h.count1, h.count2); }
    void Pass();
    void Mark(HtmlReport::Row& row) const;

    const LineFile& m_one;
    const LineFile& m_two;
    const std::vector<LineDiff::Hunk>& m_hunks;
    bool m_ignoreCase;
    std::array<const LineMask*, 2> m_skipped;
    std::int64_t m_rows;
    std::size_t m_hunk = 0;         // the hunk at or after the rows asked for
    std::int64_t m_hunkRow = 0;     // its first row
    std::int64_t m_stretchRow = 0;  // the first row of the unchanged lines before it
    std::int64_t m_line1 = 0;       // their first lines
    std::int64_t m_line2 = 0;
};
