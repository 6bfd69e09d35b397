#pragma once
// Which characters of two counterpart lines differ, for the window: the
// comparison of CharacterLcs.h over the lines as the window holds them.
//
// Characters are compared as Unicode code points (a surrogate pair is one
// character and both its halves get the same mark), so two different
// characters never count as equal. With ignoreCase each code point is
// compared by its simple upper-case mapping, which keeps positions stable.

#include "compare/LineText.h"
#include "engine/CharacterLcs.h"

#include <QStringView>
#include <cstdint>
#include <string_view>
#include <vector>

namespace modVantrel {

// One mark per UTF-16 position of each line. The budgets are parameters so that tests can reach the other methods with
// short lines; callers use the defaults.
[[nodiscard]] CharacterDiffResult CompareCharacters(QStringView line1, QStringView line2, bool ignoreCase,
                                                    std::int64_t cellBudget = kLcsTableCellBudget,
                                                    std::int64_t workBudget = kLcsWorkBudget);

// The same for the detail pane's lines; two lines of one byte per character
// are compared as they are held, without a copy.
[[nodiscard]] CharacterDiffResult CompareCharacters(const LineText& line1, const LineText& line2, bool ignoreCase,
                                                    std::int64_t cellBudget = kLcsTableCellBudget,
                                                    std::int64_t workBudget = kLcsWorkBudget);

// The marks the grids and the detail pane show for a changed line pair:
// CompareCharacters, then the cleanup of CharacterMarks::Tidy over the
// characters, so that rewritten text is marked by whole words and runs
// rather than by the letters two sentences share by chance.
[[nodiscard]] CharacterDiffResult ShownCharacterDiffs(const LineText& line1, const LineText& line2, bool ignoreCase);

// The detail pane's entry point: fills marks1 and marks2 (one per UTF-16
// position of line1 and line2) and returns the LCS length in characters.
// The lengths are taken from the texts themselves.
[[nodiscard]] std::int32_t StringDiffs(QStringView line1, QStringView line2, bool ignoreCase, std::vector<bool>& marks1,
                                       std::vector<bool>& marks2);
[[nodiscard]] std::int32_t StringDiffs(const LineText& line1, const LineText& line2, bool ignoreCase,
                                       std::vector<bool>& marks1, std::vector<bool>& marks2);

}  // namespace modVantrel
