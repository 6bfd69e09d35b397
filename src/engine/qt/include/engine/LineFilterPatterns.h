#pragma once
// Line filters: regular expressions in QRegularExpression's syntax (Perl
// compatible, on Unicode text). A line that one of them matches anywhere
// takes no part in a comparison. The patterns are compiled once with the
// library under QRegularExpression and matched on the lines' UTF-8 bytes
// as they lie in the files, without a copy; bytes that are not UTF-8 match
// nothing but themselves.

#include "engine/SkippedLines.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class LineFilterPatterns : public LineSkipper {
public:
    ~LineFilterPatterns() override;

    // Compiles every pattern; null, with `error` naming the first pattern
    // that does not compile and why, when one does not.
    [[nodiscard]] static std::shared_ptr<const LineFilterPatterns> Compile(const QStringList& patterns, QString& error);

    // Flags the lines one of the patterns matches. A match the library
    // gives up on (a pattern that would backtrack for ages on a line, past
    // its match limit) is no answer: false, naming the pattern and line.
    bool Flag(const LineFile& file, LineMask& mask, std::string& trouble) const override;

    // What to tell the user of a pattern as it is typed: empty for a good
    // one. `usable` is false for a pattern that cannot be used (empty, or
    // one that does not compile); a pattern that matches every line is
    // usable, but said to be so.
    [[nodiscard]] static QString Problem(const QString& pattern, bool& usable);

private:
    LineFilterPatterns() = default;
    struct Compiled;
    std::vector<std::unique_ptr<Compiled>> m_compiled;
};
