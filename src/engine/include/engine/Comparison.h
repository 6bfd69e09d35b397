#pragma once
// One comparison of two inputs from start to end: recognising the same file
// named twice, telling binary from text by the first block, reading both
// files and finding their hunks. The outcome is typed; text is produced
// only by the writers (Emit.h) or by whoever shows the outcome.

#include "engine/IgnoredLines.h"
#include "engine/InputFile.h"
#include "engine/LineDiff.h"
#include "engine/LineFile.h"
#include "engine/SkippedLines.h"

#include <memory>
#include <vector>

enum class Outcome { Identical, Different, BinaryDiffer, Failed };

// Why a comparison failed.
enum class Trouble { None, File, TooManyLines, OutOfMemory, Skipping };

struct Comparison {
    Outcome outcome = Outcome::Identical;
    Trouble trouble = Trouble::None;
    FileError fileError;      // for Trouble::File
    std::string skipTrouble;  // for Trouble::Skipping: why a line could not be judged
    // The files read (text comparisons only); both set when hunks are.
    std::shared_ptr<const LineFile> files[2];
    // Identical files may hold hunks too, every one of them ignored.
    std::vector<LineDiff::Hunk> hunks;
    // The lines each file skipped (CompareSettings::skipLines), when any.
    std::shared_ptr<const LineMask> skipped[2];
};

struct CompareSettings {
    LineDiff::Settings lines;
    // Compare as text even when a file looks binary.
    bool forceText = false;
    // Read a file that starts with a UTF-16 or UTF-32 byte-order mark as
    // text, decoded to UTF-8; such a file that is not valid in its
    // encoding is judged as if it were not decoded.
    bool decodeUnicode = false;
    // Bytes at the start of a file that decide whether it is binary (a NUL
    // among them); 0 for the whole first block.
    std::size_t binaryProbe = 0;
    // A CR right before an LF is taken out of the text as it is read.
    bool stripTrailingCr = false;
    // Hunks whose lines all match one of these are marked ignored.
    std::shared_ptr<const LinePatterns> ignoreMatching;
    // Lines it flags take no part in the comparison (see SkippedLines.h).
    std::shared_ptr<const LineSkipper> skipLines;

    // True when two files differ exactly when their bytes do.
    [[nodiscard]] bool BytesDecide() const;
};

// Compares two opened inputs; never throws.
[[nodiscard]] Comparison CompareInputs(InputFile& one, InputFile& two, const CompareSettings& settings);
