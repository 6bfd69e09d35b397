#pragma once
// Finding a text in the rows of one result pane, as Find does: a row matches
// when its text (" 12.line", TABs widened to three spaces, the number
// included) contains the search text, letter case ignored the way QString
// ignores it. Filler rows never match.
//
// Row texts are not formed for the search. The file's bytes are scanned
// for the search text itself when it is ASCII, otherwise for its longest
// ASCII stretch, which every matching row must contain; only the lines the
// scan cannot judge alone (a hit of a part of the text, a TAB where the
// text has a blank, a character whose case folds into ASCII, a match that
// may begin in the line number) are read as rows.

#include "compare/AlignedRows.h"
#include "compare/ByteSearch.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LineFile;

namespace RowSearch {

enum class Direction { Down, Up };

// A search text prepared once for any number of panes and rows.
class Needle {
public:
    explicit Needle(const QString& text);

    // The text as rows are matched against it: TABs widened, as in rows.
    [[nodiscard]] const QString& Text() const { return m_text; }
    // True when no row can ever match (an empty text, or one holding a line
    // feed, which no row has).
    [[nodiscard]] bool MatchesNothing() const { return m_matchesNothing; }
    // The reference test of one row text.
    [[nodiscard]] bool MatchesRowText(const QString& rowText) const;

private:
    friend class PaneSearch;
    QString m_text;
    bool m_matchesNothing = false;
    bool m_ascii = false;
    // What the bytes are scanned for: the whole text when it is ASCII
    // (a hit is then a match), else a part every match contains; none
    // when the text has no usable ASCII part.
    std::optional<ByteSearch::FoldedNeedle> m_scan;
    bool m_scanHasBlank = false;       // a widened TAB can take part in a hit
    bool m_scanFoldsFromWide = false;  // a non-ASCII character can fold into it
    bool m_mayStartInNumber = false;   // a match can begin inside " 12."
};

// Where a matching row's line shows the text found, in the line's own text
// (what follows the row's first period, as the detail pane shows it).
struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

// The first match in the row text that reaches into the line; of a match
// that begins in the number only its part in the line. Nothing when no
// match reaches the line.
[[nodiscard]] std::optional<Span> MatchInLine(const Needle& needle, QStringView rowText);

// Rows firstRow..lastRow of the pane (grid rows, counted from 1) in the
// given direction; the first matching row in that order, if any.
// `side` is 0 for File One, 1 for File Two.
[[nodiscard]] std::optional<std::int32_t> FindInPane(const LineFile& file, const Alignment::PaneRows& pane,
                                                     const std::vector<Alignment::DiffBlock>& blocks, int side,
                                                     const Needle& needle, std::int32_t firstRow, std::int32_t lastRow,
                                                     Direction direction);

}  // namespace RowSearch
