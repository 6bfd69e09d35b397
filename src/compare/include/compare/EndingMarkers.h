#pragma once
// Markers for what the detail pane's text alone would not show: two lines
// that differ in their line ending (CR LF against LF, a missing newline at
// the end of the file) or in a byte-order mark. Each becomes visible text
// at its place, coloured as a difference: the mark as the tag "‹BOM›" at the
// start (where decoding leaves no visible character), the tag "‹CR›" after
// the text for the CR of a CR LF, the tag "‹no newline at end›" after that.
// (A CR inside a line's text shows as an arrow: RowText::WithVisibleSeparators.)
// Tags rather than the control picture U+240D, which common fixed-pitch
// fonts lack.

#include "compare/LineText.h"

#include <array>
#include <cstdint>
#include <vector>

class LineFile;

namespace EndingMarkers {

// What one line has of its storage that the line it is compared with lacks.
struct Ending {
    bool byteOrderMark = false;
    bool crBeforeLf = false;
    bool noNewline = false;
    [[nodiscard]] bool Any() const { return byteOrderMark || crBeforeLf || noNewline; }
    friend bool operator==(const Ending&, const Ending&) = default;
};

// The markers of line `lineOne` of `one` and line `lineTwo` of `two`
// (0-based), compared with each other.
[[nodiscard]] std::array<Ending, 2> Compare(const LineFile& one, std::int64_t lineOne, const LineFile& two,
                                            std::int64_t lineTwo);

// The text shown for a line with its markers, and its character marks
// (true = common) widened to match: every marker character differs.
[[nodiscard]] LineText WithMarkers(const LineText& text, Ending ending, std::vector<bool>& marks);

}  // namespace EndingMarkers
