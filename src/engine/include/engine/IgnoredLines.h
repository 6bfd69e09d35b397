#pragma once
// Differences that do not count: a hunk whose every line is blank (when the
// settings ask for that) or matches one of a set of patterns is marked
// ignored. It stays in the list, so that whoever lines the two files up
// keeps its place; the writers leave it out as GNU diff leaves such a
// change out.

#include "engine/LineDiff.h"
#include "engine/LineFile.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Regular expressions of the POSIX basic kind, with the GNU additions
// (\| \+ \? and the rest), as the C library reads them.
class LinePatterns {
public:
    LinePatterns();
    ~LinePatterns();
    LinePatterns(const LinePatterns&) = delete;
    LinePatterns& operator=(const LinePatterns&) = delete;

    // Adds `pattern`; false, with the library's reason in `error`, when it
    // does not compile.
    bool Add(const std::string& pattern, std::string& error);
    [[nodiscard]] bool Empty() const { return m_compiled.empty(); }
    // True when one of the patterns matches somewhere in `line`.
    [[nodiscard]] bool Matches(std::string_view line) const;

private:
    struct Compiled;
    std::vector<std::unique_ptr<Compiled>> m_compiled;
};

// Marks each hunk whose lines are all blank (Settings::ignoreBlankLines) or
// match `patterns` (none when null). Only the lines of the hunks are read.
void MarkIgnoredHunks(std::vector<LineDiff::Hunk>& hunks, const LineFile& one, const LineFile& two,
                      const LineDiff::Settings& settings, const LinePatterns* patterns);
