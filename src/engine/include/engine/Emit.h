#pragma once
// The emit stage: hunks written as text. Normal and unified output are
// written here (Emit.cpp); the context, side-by-side and script forms each
// have a file of their own.
//
// Normal output: per hunk a command line (LaR, RdL, RcR with 1-based line
// numbers), the "< " lines of File One, "---", and the "> " lines of File
// Two. Unified output: "---"/"+++" headers, then hunks of changes with
// lines of context around them. Both mark a last line without LF with
// "\ No newline at end of file", so `patch` rebuilds File Two exactly.
// Lines go from the loaded files to the output without being copied whole.

#include "engine/InputFile.h"
#include "engine/LineDiff.h"
#include "engine/LineFile.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Buffered writing to a stdio stream or to any writer: small pieces are
// gathered, large ones are written straight from where they are.
class OutputSink {
public:
    // Writes all of a piece, or returns false.
    using Writer = std::function<bool(std::string_view)>;

    explicit OutputSink(std::FILE* out);
    explicit OutputSink(Writer writer);
    ~OutputSink();
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;

    void Write(std::string_view piece);
    // Writes everything gathered; false when any write failed.
    bool Finish();

private:
    void Flush();
    bool Put(std::string_view piece);

    std::FILE* m_out = nullptr;
    Writer m_writer;
    std::string m_buffer;
    bool m_ok = true;
};

namespace Emit {

// The colours of --color in GNU diff's palette: each coloured piece starts
// with lc + its parameters + rc and ends with lc + rs + rc. Headers (hd),
// added (ad) and deleted (de) lines and hunk headers (ln) are coloured;
// the differing characters of paired changed lines are shown in reverse
// video. `ec` is read and not used, as by diff.
struct Palette {
    std::string lc = "\033[";
    std::string rc = "m";
    std::string ec;
    std::string rs = "0";
    std::string hd = "1";
    std::string ad = "32";
    std::string de = "31";
    std::string ln = "36";
    bool ignoreCase = false;  // how the characters of paired lines compare
    [[nodiscard]] std::string Start(std::string_view parameters) const
    {
        std::string out = lc;
        out.append(parameters).append(rc);
        return out;
    }
    [[nodiscard]] std::string Reset() const { return Start(rs); }
};

// How each shown line of a file is laid out.
struct Layout {
    bool expandTabs = false;  // tabs become spaces
    bool initialTab = false;  // a tab, not a space, after the marker
    std::int64_t tabSize = 8;
    bool suppressBlankEmpty = false;  // no blank after the marker of an empty line
    const Palette* colors = nullptr;  // none: no colour (normal and unified forms)
};

struct SideBySide {
    std::int64_t width = 130;
    bool leftColumn = false;      // common lines shown once, on the left
    bool suppressCommon = false;  // common lines not shown
};

// What every writer is given: the two files and the hunks between them.
struct Pair {
    const LineFile& one;
    const LineFile& two;
    const std::vector<LineDiff::Hunk>& hunks;
};

class SectionFinder;

// The unified and context forms: lines of context, the two header lines'
// text, and the finder of the section heading shown after each hunk's
// header (none when null).
struct ContextForm {
    std::int64_t lines = 3;
    std::string_view header1;
    std::string_view header2;
    const SectionFinder* sections = nullptr;
    Layout layout;
};

void WriteNormal(OutputSink& out, const Pair& pair, const Layout& layout);
void WriteUnified(OutputSink& out, const Pair& pair, const ContextForm& form);
void WriteContext(OutputSink& out, const Pair& pair, const ContextForm& form);
// An ed script, last change first. It cannot say that a line lacks its
// newline: such a line is written as if it had one.
void WriteEd(OutputSink& out, const Pair& pair);
// RCS form: "dL N" and "aL N" commands, every line as it is.
void WriteRcs(OutputSink& out, const Pair& pair);
// The merged file: both versions, changes inside #ifndef/#ifdef NAME.
void WriteIfdef(OutputSink& out, const Pair& pair, std::string_view name);
void WriteSideBySide(OutputSink& out, const Pair& pair, const SideBySide& form, const Layout& layout);

// The result lines of the normal output, one at a time: the output is the
// concatenation of head + text + LF for every line.
class NormalLines {
public:
    struct Line {
        std::string_view head;  // "< ", "> " or empty
        std::string_view text;
    };

    NormalLines(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks);

    [[nodiscard]] std::int64_t Count() const { return m_count; }
    // Line `index` (0 <= index < Count()). A command line is formed in
    // `scratch`, which the returned text may point into.
    [[nodiscard]] Line At(std::int64_t index, std::string& scratch) const;

private:
    const LineFile& m_one;
    const LineFile& m_two;
    const std::vector<LineDiff::Hunk>& m_hunks;
    // Index of each hunk's command line among the result lines.
    std::vector<std::int64_t> m_hunkStart;
    std::int64_t m_count = 0;
};

void WriteNormal(OutputSink& out, const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks);

// Writes "--- header1", "+++ header2" and the hunks with `context` lines of
// context (hunks whose gap is at most twice that are joined); any
// non-negative `context` will do, up to the largest 64-bit value.
void WriteUnified(OutputSink& out, const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks,
                  std::int64_t context, std::string_view header1, std::string_view header2);

// "2024-05-01 13:45:07.123456789 +0200": a time as unified headers show
// it, in the local time zone.
[[nodiscard]] std::string HeaderTime(FileTime time);

}  // namespace Emit
