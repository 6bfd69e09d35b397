#pragma once
// Lines that take no part in a comparison. Whoever asks for them flags
// them line by line (a pattern they match, say); the two files are then
// compared as if those lines were not there, and the result is given in
// the files' own line numbers. Skipped lines that fall between unchanged
// lines form blocks of their own, marked ignored, so that both files still
// line up; a skipped line amid a changed block's lines stays in the block.

#include "engine/LineDiff.h"
#include "engine/LineFile.h"

#include <cstdint>
#include <string>
#include <vector>

// One flag per line of a file: 1 for a line to skip.
using LineMask = std::vector<std::uint8_t>;

class LineSkipper {
public:
    LineSkipper() = default;
    virtual ~LineSkipper() = default;
    LineSkipper(const LineSkipper&) = delete;
    LineSkipper& operator=(const LineSkipper&) = delete;

    // Flags the lines of `file` to skip (`mask` gets one entry per line).
    // False, with the reason in `trouble`, when a line could not be judged:
    // nothing may then be compared.
    virtual bool Flag(const LineFile& file, LineMask& mask, std::string& trouble) const = 0;
};

// The file without its flagged lines, each kept line as it was (its CR
// and whether it lacks a final LF); `kept` gets each kept line's index in
// `file`.
[[nodiscard]] std::shared_ptr<const LineFile> WithoutSkipped(const LineFile& file, const LineMask& mask,
                                                             std::vector<std::int64_t>& kept);

// Hunks between the files without their skipped lines, given in the lines
// of the whole files (`lineCount` lines each, `kept` as WithoutSkipped gave
// it). A block's own lines keep their ignored mark; the skipped lines
// outside every block's first and last line form ignored blocks.
[[nodiscard]] std::vector<LineDiff::Hunk> HunksOfWholeFiles(const std::vector<LineDiff::Hunk>& hunks,
                                                            const std::vector<std::int64_t> kept[2],
                                                            const std::int64_t lineCount[2]);
