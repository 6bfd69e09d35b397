#pragma once
// What the program says about a file in words: its name as text and how
// its text is stored. The window's tooltips and messages, the reports of
// the window and of vantrel-diff all say it so.

#include "engine/LineFile.h"
#include "engine/TextFacts.h"

#include <string>
#include <string_view>

namespace FileText {

// A name's text in UTF-8. A name on this system is a string of bytes that
// need not be valid UTF-8: what is valid reads as itself, each byte outside
// a valid sequence is written as \xHH (two upper-case hex digits), and a
// backslash that would otherwise read as the start of such an escape, or
// of "\\", is written as "\\", so that the bytes can be got back.
[[nodiscard]] std::string ReadableName(std::string_view bytes);

// "UTF-8", "UTF-8 with BOM", "UTF-16 LE", ..., "Windows-1252".
[[nodiscard]] std::string_view EncodingName(TextEncoding encoding);

// "3 CR LF, 2 LF": the count of each kind of line ending that occurs.
[[nodiscard]] std::string EndingCounts(const TextFacts& facts);

// "CR LF (Windows)", "LF (Unix)", "CR (classic Mac)", "none", or for more
// than one kind "mixed (3 CR LF, 2 LF)".
[[nodiscard]] std::string EndingsName(const TextFacts& facts);

// Three lines: the encoding, the line endings, the number of lines (and
// whether the last one lacks its newline).
[[nodiscard]] std::string Summary(const LineFile& file);

}  // namespace FileText
