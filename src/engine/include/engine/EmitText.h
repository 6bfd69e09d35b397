#pragma once
// Pieces the writers share: a shown line with its marker, laid out as the
// Layout says; hunks gathered into groups that share their context; and
// the finder of section headings ("the function a change is in").

#include "engine/CharacterLcs.h"
#include "engine/Emit.h"

#include <cstdint>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace Emit {

// The marker before a shown line: a flag character and, in the normal and
// context forms, the blank after it.
struct Marker {
    char flag;
    bool spaced;
};

// Writes the marker, the line's text (tabs expanded if asked) and LF; and
// the no-newline mark after a line that lacks its newline. With colours, a
// line marked '<' or '-' is coloured as deleted, '>' or '+' as added, and
// the bytes whose `differs` mark is false are shown in reverse video
// (not when tabs are expanded).
void WriteMarkedLine(OutputSink& out, Marker marker, const LineFile& file, std::int64_t line, const Layout& layout,
                     const std::vector<bool>* differs = nullptr);

// The marks of the changed lines that a hunk pairs, line k of File One's
// with line k of File Two's (as the window shows them side by side): one
// result per pair, none without colours.
[[nodiscard]] std::vector<modVantrel::CharacterDiffResult> PairedLineMarks(const Pair& pair, const LineDiff::Hunk& h,
                                                                           const Layout& layout);

// Writes `text` with its tabs turned into spaces, columns counted from its
// start. A carriage return starts the columns again, after `marker` is
// written again, so the rest lines up under the text once more.
void WriteExpanded(OutputSink& out, std::string_view text, std::int64_t tabSize, std::string_view marker = {});

// Writes `count` copies of `c`, in pieces: a count may be far larger than
// memory (a huge tab size or width).
void WriteRepeated(OutputSink& out, char c, std::int64_t count);

// The character at text[at] (UTF-8, or one byte that is not valid UTF-8):
// sets `length` to its bytes and returns the columns it takes on a
// terminal: 0 for control characters and combining marks, 2 for wide ones.
[[nodiscard]] int CharColumns(std::string_view text, std::size_t at, std::size_t& length);

// Hunks first..last (indexes) shown as one, with the lines of File One
// start1..stop1 and of File Two start2..stop2 (ends exclusive).
struct Group {
    std::size_t first, last;
    std::int64_t start1, stop1, start2, stop2;
};

// The groups of hunks whose gaps are at most twice `context` lines (less
// than `context` before an ignored hunk), leaving out groups of ignored
// hunks alone; any non-negative context will do, up to the largest 64-bit
// value.
[[nodiscard]] std::vector<Group> GroupHunks(const Pair& pair, std::int64_t context);

// "a,b" (1-based, both ends), "a" when a == b.
void AppendSpan(std::string& out, std::int64_t first, std::int64_t count);

// The section heading shown after a hunk header: the nearest line before
// the hunk that matches one of the patterns (basic regular expressions),
// cut to 40 bytes and its trailing blanks. Remembers the last heading
// found, as headings are asked for in order down the file.
class SectionFinder {
public:
    // Throws std::regex_error for a pattern that is not valid.
    explicit SectionFinder(const std::vector<std::string>& patterns);

    // The heading for a hunk whose first shown line of File One is `line`.
    [[nodiscard]] std::string_view Before(const LineFile& file, std::int64_t line) const;

private:
    [[nodiscard]] bool Matches(std::string_view text) const;

    std::vector<std::regex> m_patterns;
    // The usual pattern for C-like files, "^[[:alpha:]$_]", is tested
    // directly, so that a letter outside ASCII counts as one.
    bool m_startsWithLetter = false;
    mutable std::int64_t m_searched = 0;
    mutable std::string m_found;
};

}  // namespace Emit
