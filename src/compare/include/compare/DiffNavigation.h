#pragma once
// Searches behind the first / previous / next / last difference commands.
// They read only the first row of each DiffList entry (the text before the
// first "-", rounded); entries that cannot be read are passed over.
// A null list pointer stands for a DiffList that does not exist yet.

#include <QStringList>
#include <cstdint>
#include <optional>

namespace DiffNavigation {

inline constexpr std::int32_t kNoMoreDiffs = -1;    // no block beyond the current row
inline constexpr std::int32_t kSearchNotRun = -999;  // window busy, or no DiffList

// First row of the first block that starts after currentRow; from a row
// inside a block this is the next block. No wrap to the first block.
[[nodiscard]] std::int32_t GetNextDiff(const QStringList* diffList, std::int32_t currentRow,
                                       bool windowBusy);

// First row of the last block that starts before currentRow; from a row
// inside a block this is the start of that block. No wrap to the last block.
[[nodiscard]] std::int32_t GetPreviousDiff(const QStringList* diffList, std::int32_t currentRow,
                                           bool windowBusy);

// First rows of the first and last entries; nothing when the list does not
// exist, is empty or that entry cannot be read.
[[nodiscard]] std::optional<std::int32_t> firstDiffRow(const QStringList* diffList);
[[nodiscard]] std::optional<std::int32_t> lastDiffRow(const QStringList* diffList);

}  // namespace DiffNavigation
