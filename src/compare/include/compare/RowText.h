#pragma once
// The text a grid row shows for a line of a file: a space, the 1-based line
// number, a period and the line with each TAB widened to three spaces, e.g.
// " 12.abc". Rows keep only the line's index; this is formed when a row is
// painted or asked for.

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace RowText {

// The engine's own test (TextNormalizer::IsValidUtf8). True when the bytes
// are well-formed UTF-8: no overlong forms, no encoded surrogates, nothing
// above U+10FFFF, no truncated sequence.
[[nodiscard]] bool IsValidUtf8(QByteArrayView bytes);

// The line's characters, decoded exactly as the engine decodes them
// (TextDecoding::DecodeLine): UTF-8 when valid, otherwise Windows-1252 with
// the five unassigned bytes kept as the control characters of their value.
[[nodiscard]] QString DecodeLine(QByteArrayView bytes);

// The text with each TAB replaced by three spaces.
[[nodiscard]] QString WidenTabs(QStringView text);

// DecodeLine followed by WidenTabs: the line as the grid and the detail pane
// show it, without the number.
[[nodiscard]] QString ShownLine(QByteArrayView bytes);

// " N.text" for line number N (counted from 1), built in one string of its
// final length.
[[nodiscard]] QString Format(std::int64_t lineNumber, QByteArrayView bytes);

// The text with each line separator (U+2028), paragraph separator (U+2029)
// and CR replaced by a symbol that stands for it (U+21B5, U+00B6, and the
// arrow U+2190, which fixed-pitch fonts have, unlike the picture U+240D), so
// that a line is laid out as one line and a CR that ends no line (one not
// followed by LF) can be seen; lengths and positions stay.
[[nodiscard]] QString WithVisibleSeparators(QString text);

// The line's own text in a row text such as " 12.abc": what follows the
// first period, or the whole text when it holds none.
[[nodiscard]] QString LineOfRowText(QStringView rowText);

// The first columns of a text as a grid row shows it, and whether the text
// goes on after them.
struct Part {
    QString text;
    bool more = false;
    friend bool operator==(const Part&, const Part&) = default;
};

// A column is one cell of a fixed-pitch font: each character (a surrogate
// pair is one) starts a column, except the zero-width ones (non-spacing and
// enclosing marks, format characters such as ZWJ or bidi controls), which
// ride on the column before them. So that a run of zero-width characters
// cannot make a part long, a part holds at most this many UTF-16 units per
// column (plus one column's worth).
inline constexpr qsizetype kUnitsPerColumnLimit = 8;

// The text's first `columns` columns, never splitting a surrogate pair.
[[nodiscard]] Part LeadingColumns(QStringView text, qsizetype columns);

// LeadingColumns(Format(lineNumber, bytes), columns), decoding and widening
// only a bounded prefix of the bytes, so the cost does not grow with the
// line's length. `utf8` is IsValidUtf8(bytes), which the caller may know
// without looking at every byte again.
[[nodiscard]] Part FormatPart(std::int64_t lineNumber, QByteArrayView bytes, bool utf8, qsizetype columns);

}  // namespace RowText
