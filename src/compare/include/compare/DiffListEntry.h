#pragma once
// One DiffList entry: "firstRow-rowCount-colourValue", e.g. "6-2-12902911".
// Alignment writes the entries; the difference bar and navigation read them.

#include <QString>
#include <cstdint>
#include <optional>

namespace Alignment {

struct DiffListEntry {
    std::int64_t firstRow = 0;  // grid row, counted from 1
    std::int64_t rowCount = 0;
    std::int64_t color = 0;  // colour value, red in the low byte
};

[[nodiscard]] QString formatDiffListEntry(std::int64_t firstRow, std::int64_t rowCount,
                                          std::uint32_t color);

// Each of the three fields is read as a decimal number and rounded to a whole
// number, halves to the even neighbour. Returns nothing when the entry does
// not have three numeric fields.
[[nodiscard]] std::optional<DiffListEntry> parseDiffListEntry(const QString& entry);

// Only the text before the first "-", read the same way; navigation needs no
// more than this.
[[nodiscard]] std::optional<std::int64_t> diffListEntryFirstRow(const QString& entry);

// x rounded to the nearest whole number, halves to the even neighbour.
[[nodiscard]] std::int64_t roundHalfEven(double x);

}  // namespace Alignment
