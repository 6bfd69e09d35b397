#pragma once
// The comparison in words, for those who hear the grids rather than see
// them: what state a row of a pane is in (the colours, fillers, markers and
// folds put into words) and what a move of the current row tells (which
// difference it landed on and what that difference is). Plain English, as
// a screen reader speaks it after the row's own text.

#include <QString>
#include <cstdint>

class ComparisonModel;

namespace RowDescription {

// A row of a pane (side 0: File One, 1: File Two) as words joined by ", ":
// "folded" for a row a fold hides; otherwise "filler" for a row that shows
// no line, then what its line is ("changed", "only in File One",
// "moved to line 12 of File Two", "left out" for a line the filters left
// out, "unchanged"), then "bookmarked" and "marked" when the row is.
// "end" for the trailing row; empty for rows out of range.
[[nodiscard]] QString RowState(const ComparisonModel& model, int side, std::int32_t row);

// What the current row having moved to `row` tells: "Difference 3 of 17:
// lines 40–42 changed" in a difference (with where a moved line went),
// "Unchanged: line 12" outside one, "Folded: ⋯ 1,000 unchanged lines ⋯"
// in a fold, "End of the files" on the trailing row; empty when nothing
// is shown or the row is out of range.
[[nodiscard]] QString Announcement(const ComparisonModel& model, std::int32_t row);

// "line 40" for one line, "lines 40–42" for more (0-based first line and
// a count of at least 1); "no line" for none.
[[nodiscard]] QString LineRange(std::int32_t firstLine, std::int32_t count);

}  // namespace RowDescription
