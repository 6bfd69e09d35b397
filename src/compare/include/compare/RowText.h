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
[[nodiscard]] bool isValidUtf8(QByteArrayView bytes);

// The line's characters, decoded exactly as the engine decodes them
// (TextDecoding::DecodeLine): UTF-8 when valid, otherwise Windows-1252 with
// the five unassigned bytes kept as the control characters of their value.
[[nodiscard]] QString decodeLine(QByteArrayView bytes);

// The text with each TAB replaced by three spaces.
[[nodiscard]] QString widenTabs(QStringView text);

// decodeLine followed by widenTabs: the line as the grid and the detail pane
// show it, without the number.
[[nodiscard]] QString lineText(QByteArrayView bytes);

// " N.text" for line number N (counted from 1), built in one string of its
// final length.
[[nodiscard]] QString rowText(std::int64_t lineNumber, QByteArrayView bytes);

}  // namespace RowText
