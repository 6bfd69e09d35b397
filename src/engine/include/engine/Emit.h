#pragma once
// The emit stage: hunks written as text.
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
#include <string>
#include <string_view>
#include <vector>

// Buffered writing to a stdio stream: small pieces are gathered, large ones
// are written straight from where they are.
class OutputSink {
public:
    explicit OutputSink(std::FILE* out);
    ~OutputSink();
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;

    void Write(std::string_view piece);
    // Writes everything gathered; false when any write failed.
    bool Finish();

private:
    void Flush();

    std::FILE* m_out;
    std::string m_buffer;
    bool m_ok = true;
};

namespace Emit {

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
