#pragma once
// The prepare stage: what the search needs to know about two files.
//
// Lines equal at the start and at the end of both files are trimmed off.
// Every other line gets a class number, equal for lines that compare equal
// under the settings, so later stages compare integers instead of text.
// A line whose class never occurs in the other file cannot be part of any
// common subsequence: it is marked changed here and kept out of the search.
// This is exact, and on typical edits it removes most changed lines.

#include "engine/Flags.h"
#include "engine/LineFile.h"
#include "engine/TextNormalizer.h"

#include <cstdint>
#include <vector>

namespace LineDiff {

struct Side {
    // Classes of the lines between the equal ends (line prefix + i).
    std::vector<std::uint32_t> classes;
    // The lines left for the search: their classes, and their index in
    // `classes`; both empty when every line is left (keptAll).
    std::vector<std::uint32_t> kept;
    std::vector<std::uint32_t> keptIndex;
    bool keptAll = false;

    [[nodiscard]] const std::vector<std::uint32_t>& Searched() const { return keptAll ? classes : kept; }
};

struct Prepared {
    std::int64_t prefix = 0;  // lines equal at the start of both files
    std::int64_t suffix = 0;  // lines equal at the end of both files
    std::uint32_t classCount = 0;
    Side one;
    Side two;
    // Every line of each file: 1 for a line set aside as changed.
    Flags changedOne;
    Flags changedTwo;
};

// `horizon` equal lines at each end are kept with the middle (see
// Settings::horizon). With `bytesTrim`, only lines whose bytes are equal are
// trimmed off the ends, as diff trims them: lines equal under the settings
// alone stay in the middle, where a block may slide past them. Throws
// std::length_error when the lines cannot be numbered in 32 bits.
[[nodiscard]] Prepared Prepare(const LineFile& one, const LineFile& two, const TextNormalizer& normalizer,
                               std::int64_t horizon = 0, bool bytesTrim = false);

}  // namespace LineDiff
