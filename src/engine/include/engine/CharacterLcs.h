#pragma once
// Which characters of two counterpart lines differ, found through a longest
// common subsequence (LCS) of their characters: the window's detail pane and
// grids, and vantrel-diff's coloured output, mark the characters whose mark
// is false. Standard C++ only; the characters come as code points
// (char32_t) or as one byte per character (char).
//
// While the table of the two lines (without their common suffix) fits
// kLcsTableCellBudget cells, the result follows the table rule below exactly.
// Longer pairs use a linear-space method that still finds a longest common
// subsequence but may place matches differently; if even that would take more
// than its work budget, the parts it could not settle are reported as
// differing (see LcsMethod).

#include <cstdint>
#include <string_view>
#include <vector>

namespace modVantrel {

// How a table cell was reached. A match always takes the diagonal; otherwise
// the larger neighbour is taken, and on a tie the step goes to (i - 1, j),
// which leaves the character of line one unmatched.
enum class LcsDirection : std::uint8_t {
    None = 0,      // row 0 and column 0; never followed
    Up = 1,        // from (i - 1, j): character i of line one is not used
    Left = 2,      // from (i, j - 1): character j of line two is not used
    Diagonal = 3,  // from (i - 1, j - 1): characters i and j match
};

// Cells of the full table at most; 16 M cells take 16 MB (one byte of
// direction per cell; lengths are kept for two rows only).
inline constexpr std::int64_t kLcsTableCellBudget = 16LL * 1024 * 1024;
// Steps the linear-space method may take before it gives up on what is left;
// with the rest of the work this keeps a pair of 1 MB lines near 0.1 s.
inline constexpr std::int64_t kLcsWorkBudget = 8LL * 1000 * 1000;

// Directions of the (len1 + 1) x (len2 + 1) table.
class LCSTable {
public:
    LCSTable(std::int32_t len1, std::int32_t len2);
    [[nodiscard]] std::int32_t len1() const { return m_len1; }
    [[nodiscard]] std::int32_t len2() const { return m_len2; }
    [[nodiscard]] LcsDirection direction(std::int32_t i, std::int32_t j) const
    {
        return static_cast<LcsDirection>(m_cells[index(i, j)]);
    }
    void setDirection(std::int32_t i, std::int32_t j, LcsDirection d)
    {
        m_cells[index(i, j)] = static_cast<std::uint8_t>(d);
    }

private:
    [[nodiscard]] std::size_t index(std::int32_t i, std::int32_t j) const
    {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(m_len2 + 1) + static_cast<std::size_t>(j);
    }
    std::int32_t m_len1;
    std::int32_t m_len2;
    std::vector<std::uint8_t> m_cells;
};

// Fills the table of line one against line two; returns the LCS length.
// The table must have been made with the lengths of the two lines.
[[nodiscard]] std::int32_t FillLCSMatrix(std::u32string_view one, std::u32string_view two, LCSTable& table);

// Walks back from cell (i, j) towards (0, 0), setting mark i - 1 of line one
// and j - 1 of line two for every match met. Marks must be sized already.
// A loop, so line length is not limited by the stack.
void GetLocationOfDiffs(const LCSTable& table, std::vector<bool>& marks1, std::vector<bool>& marks2, std::int32_t i,
                        std::int32_t j);

enum class LcsMethod {
    Table,        // the full table: the tie rule holds everywhere
    LinearSpace,  // a longest common subsequence, matches possibly placed otherwise
    Anchored,     // lines over 64 K characters: stretches of 32 characters found
                  // once in each line are fixed as matches; between them, longest
    Partial,      // the work budget ran out: a common subsequence, perhaps not longest
};

struct CharacterDiffResult {
    // One mark per character position of each line: true = common, false = differs.
    std::vector<bool> marks1;
    std::vector<bool> marks2;
    std::int32_t length = 0;  // characters in the common subsequence
    LcsMethod method = LcsMethod::Table;
};

// The comparison of two character sequences, one mark per element. The
// budgets are parameters so that tests can reach the other methods with
// short lines; callers use the defaults.
template <class Char>
[[nodiscard]] CharacterDiffResult CompareSequences(std::basic_string_view<Char> one, std::basic_string_view<Char> two,
                                                   std::int64_t cellBudget = kLcsTableCellBudget,
                                                   std::int64_t workBudget = kLcsWorkBudget);

}  // namespace modVantrel
