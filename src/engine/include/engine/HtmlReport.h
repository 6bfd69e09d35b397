#pragma once
// A comparison as one HTML page that needs nothing else to be read: both
// files side by side (line numbers, filler rows, the colours of changed and
// one-sided lines, the differing characters of changed line pairs,
// bookmarks) under a heading naming both files with their times, their
// encoding and line-ending facts, what the comparison ignored, and a
// legend. Styles for the screen and for print are in the page; it holds no
// script and names nothing outside it.
//
// The writer does not know where its rows come from: the window gives the
// rows of its grids, vantrel-diff the rows of its hunks. Each row is asked
// for when it is written, so writing holds one row beyond what the caller
// holds, however long the files.

#include "engine/Emit.h"
#include "engine/Unicode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace HtmlReport {

// The colour of a cell.
enum class Shade : std::uint8_t {
    Plain,
    Changed,   // a line of a changed block, or a filler inside one
    OneSided,  // a line that only one file has
    Skipped,   // a line the comparison left out (the window's line filters)
    Moved,     // a line that left one place and arrived at another
};

struct Cell {
    std::int64_t line = -1;  // 0-based; -1 for a filler, which shows no line
    Shade shade = Shade::Plain;
    std::string_view text;  // the line's bytes as read, without its ending
    // One mark per byte of `text`, true for a byte of a common character;
    // bytes past the marks are not marked, so none are without marks.
    std::vector<bool> marks;
};

struct Row {
    std::array<Cell, 2> cells;  // File One's, File Two's
    bool bookmarked = false;
};

class RowSource {
public:
    virtual ~RowSource() = default;
    [[nodiscard]] virtual std::int64_t RowCount() const = 0;
    // Fills `row` with row `index` (0 <= index < RowCount()); rows are
    // asked for in ascending order.
    virtual void Fill(std::int64_t index, Row& row) = 0;
};

// Rows first .. first + count - 1.
struct Span {
    std::int64_t first = 0;
    std::int64_t count = 0;
};

struct FileHeading {
    std::string name;                      // UTF-8 (FileText::ReadableName)
    std::optional<std::int64_t> modified;  // seconds since 1970, shown in local time
    std::string facts;                     // FileText::Summary
};

struct Heading {
    std::array<FileHeading, 2> files;
    // What the comparison ignored, as "case", "white space" (none: nothing).
    std::vector<std::string> ignored;
    // The legend names bookmarks and lines left out of the comparison.
    bool bookmarks = false;
    bool skipped = false;
    bool moved = false;
};

// Writes the page with the rows of `spans` (ascending, apart, inside the
// source's rows). The rows before, between and after them stand as one
// row each, "⋯ N unchanged lines ⋯".
void Write(OutputSink& out, const Heading& heading, RowSource& rows, const std::vector<Span>& spans);
// Writes the page with every row.
void Write(OutputSink& out, const Heading& heading, RowSource& rows);

// The parts the page is made of, for a page that holds comparisons among
// other things (the folder report). The page's start: its title (UTF-8,
// escaped here) and styles, the report's own followed by `moreStyle`, up
// to the opened body.
void WritePageStart(OutputSink& out, std::string_view title, std::string_view moreStyle = {});
// The body and the page closed.
void WritePageEnd(OutputSink& out);
// The table naming both files, with their times and facts.
void WriteFiles(OutputSink& out, const std::array<FileHeading, 2>& files);
// What the colours of the rows mean; `heading` tells which are used.
void WriteLegend(OutputSink& out, const Heading& heading);
// The table of rows, as Write writes it.
void WriteRows(OutputSink& out, RowSource& rows, const std::vector<Span>& spans);

// Seconds since 1970 in local time, "2024-05-01 13:45:00"; empty when the
// system cannot tell it.
[[nodiscard]] std::string LocalTime(std::int64_t seconds);

// "ignoring case, white space and blank lines"; empty for none.
[[nodiscard]] std::string Ignoring(const std::vector<std::string>& names);

// UTF-8 text as HTML shows it literally: &, <, >, " and ' escaped.
[[nodiscard]] std::string Escaped(std::string_view text);

// Calls each(at, length, c) for every character of a line as the page
// (and the window's grids) read it: a valid UTF-8 line by its sequences,
// any other line one character per byte, read as Windows-1252.
template <class Each>
void ForEachCharacter(std::string_view bytes, Each&& each)
{
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = begin + bytes.size();
    const bool utf8 = Unicode::IsValidUtf8(bytes);
    for (const unsigned char* p = begin; p < end;) {
        char32_t c = Unicode::FromWindows1252(*p);
        int length = utf8 && *p >= 0x80 ? Unicode::DecodeUtf8(p, end, c) : 1;
        length = length > 0 ? length : 1;
        each(static_cast<std::size_t>(p - begin), static_cast<std::size_t>(length), c);
        p += length;
    }
}

}  // namespace HtmlReport
