#pragma once
// Where things stand on a printed page, as pure functions of the page and
// font sizes (all in the device's own units, measured from the top left
// corner of its printable area).
//
// Every page carries the same header: the title at the very top, the path
// at 5% of the page height, an empty line, a rule, an empty line; then the
// rows, one line each, until a row would start at or below 90% of the
// height.

#include <QString>
#include <QtGlobal>
#include <cstdint>

namespace PageLayout {

struct Metrics {
    double pageWidth = 0;
    double pageHeight = 0;
    double lineHeight = 0;  // one printed line, the same for every face used
    double charWidth = 0;   // one character cell of the fixed-pitch font
};

// Top of the path line.
[[nodiscard]] double PathTop(double pageHeight);
// The rule lies one empty line below the path line.
[[nodiscard]] double RuleY(const Metrics& page);
// Top of the first row of every page: one more empty line below the rule.
[[nodiscard]] double FirstRowTop(const Metrics& page);
// A row whose top has reached 90% of the page height (rounded to single
// precision, as the limit always was) goes to the next page.
[[nodiscard]] bool BreaksBefore(double rowTop, double pageHeight);
// Rows that fit on one page below the header; at least 1, so that a page
// too small for its header still makes progress.
[[nodiscard]] int RowsPerPage(const Metrics& page);
// Pages a pane of `rows` rows takes; at least 1 (an empty pane still prints
// its header).
[[nodiscard]] qint64 PageCount(qint64 rows, int rowsPerPage);
// Characters of a row that fit across the page; what runs past the right
// edge would be lost anyway, so a row is cut there before it is printed.
[[nodiscard]] int CharsThatFit(const Metrics& page);
// text cut to at most `chars` characters, never between the two halves of
// a surrogate pair.
[[nodiscard]] QString CutToWidth(const QString& text, int chars);
// The title line: "Vantrel - ", then "Page N" and "  [date]" as asked for.
[[nodiscard]] QString HeaderTitle(bool pageNumbers, bool dateTime, qint64 page, const QString& printDate);
// A row with a background colour of its own (any value but 0) prints bold.
[[nodiscard]] bool PrintsBold(std::uint32_t cellBackColor);

}  // namespace PageLayout
